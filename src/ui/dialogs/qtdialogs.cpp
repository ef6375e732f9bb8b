#include "ui/dialogs/qtdialogs.h"

#include "charts/frmchart.h"
#include "charts/frmcheck.h"
#include "charts/frmdate.h"
#include "ui/dialogs/dlgset.h"
#include "ui/dialogs/frmimport.h"
#include "ui/dialogs/frmleague.h"
#include "ui/dialogs/frmpropaty.h"
#include "ui/dialogs/frmrace.h"
#include "ui/dialogs/frmrank.h"
#include "ui/dialogs/frmwa.h"

namespace penarin {

std::optional<SnapshotRequest> QtDialogs::askSnapshot(double today, QWidget *parent)
{
    frmDate prompt(m_prompts, today, parent);
    if (prompt.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return SnapshotRequest{prompt.snapshotDate(), prompt.snapshotMemo()};
}

void QtDialogs::editSettings(Settings &settings, const FontPreview &preview,
                             const std::function<void()> &applied, QWidget *parent)
{
    DlgSet dialog(settings, m_prompts, preview, parent);
    QObject::connect(&dialog, &DlgSet::settingsApplied, &dialog, [&applied] { applied(); });
    dialog.ShowSettings();
}

NewSeasonOutcome QtDialogs::newSeason(Season &season, Settings &settings, QWidget *parent)
{
    const NewSeasonResult result = RunNewSeasonWizard(season, settings, m_prompts, parent);
    return NewSeasonOutcome{result.cancelled, result.setGamesCount};
}

void QtDialogs::editRankSets(Season &season, QWidget *parent)
{
    (void)ShowConditionForm(season, m_prompts, 0, frmWA::PreviousYearMode, {}, 0, frmWA::LeagueKind,
                            parent);
}

bool QtDialogs::showWinLine(Season &season, Settings &settings, QWidget *parent)
{
    return frmRank::showWinLine(season, settings, m_prompts, parent);
}

void QtDialogs::editGamesCount(Season &season, Settings &settings, QWidget *parent)
{
    frmRank::showGamesCount(season, settings, m_prompts, parent);
}

void QtDialogs::showTeamData(Season &season, Settings &settings, int position, int rivalPosition,
                             QWidget *parent)
{
    (void)ShowTeamForm(
        season, settings, m_prompts, position, rivalPosition,
        [&season, &settings, this](int team, QWidget *over) {
            frmRank::showTeamGamesCount(season, settings, m_prompts, team, over);
        },
        parent);
}

bool QtDialogs::editChartData(Season &season, Settings &settings, QWidget *parent)
{
    return ShowChartData(season, settings, m_prompts, parent);
}

int QtDialogs::showProgressionChart(Season &season, Settings &settings, QWidget *parent)
{
    return ShowProgressionChart(season, settings, m_prompts, parent);
}

void QtDialogs::showCompositionChart(Season &season, Settings &settings, int standingsRow,
                                     QWidget *parent)
{
    ShowCompositionChart(season, settings, m_prompts, standingsRow, parent);
}

std::optional<race::Certificate> QtDialogs::raceOutcome(const Season &season,
                                                        const Settings &settings, int league,
                                                        int division, QWidget *parent)
{
    return ShowRaceForm(season, settings, league, division, m_prompts, parent);
}

std::optional<ImportChoice> QtDialogs::previewImport(const Season &season, const GameList &list,
                                                     QWidget *parent)
{
    return ShowImportForm(season, list, parent);
}

} // namespace penarin
