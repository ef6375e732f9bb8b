#include "ui/dialogs/qtdialogs.h"

#include "ui/charts/frmchart.h"
#include "ui/charts/frmcheck.h"
#include "ui/charts/frmdate.h"
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

NewSeasonOutcome QtDialogs::newSeason(Settings &settings, QWidget *parent)
{
    Season built;
    const NewSeasonResult result = RunNewSeasonWizard(built, settings, m_prompts, parent);
    if (result.cancelled) {
        return {};
    }
    return NewSeasonOutcome{std::move(built), result.setGamesCount};
}

std::optional<Season> QtDialogs::editRankSets(const Season &season, QWidget *parent)
{
    Season edited = season;
    if (!ShowConditionForm(edited, m_prompts, 0, frmWA::PreviousYearMode, {}, 0, frmWA::LeagueKind,
                           parent)
             .edited) {
        return std::nullopt;
    }
    return edited;
}

bool QtDialogs::showWinLine(const Season &season, const PublishedStandings &published,
                            Settings &settings, QWidget *parent)
{
    return frmRank::showWinLine(season, published, settings, m_prompts, parent);
}

std::optional<Season> QtDialogs::editGamesCount(const Season &season, Settings &settings,
                                                QWidget *parent)
{
    return frmRank::showGamesCount(season, settings, m_prompts, parent);
}

std::optional<Season> QtDialogs::showTeamData(const Season &season,
                                              const PublishedStandings &published,
                                              Settings &settings, int position, int rivalPosition,
                                              QWidget *parent)
{
    return ShowTeamForm(
        season, published, settings, m_prompts, position, rivalPosition,
        [&settings, this](Season &edited, int team, QWidget *over) {
            return frmRank::showTeamGamesCount(edited, settings, m_prompts, team, over);
        },
        parent);
}

std::optional<Season> QtDialogs::editChartData(const Season &season,
                                               const PublishedStandings &published,
                                               Settings &settings, QWidget *parent)
{
    Season edited = season;
    if (!ShowChartData(edited, &published, settings, m_prompts, parent).edited) {
        return std::nullopt;
    }
    return edited;
}

ChartOutcome QtDialogs::showProgressionChart(const Season &season,
                                             const PublishedStandings &published,
                                             Settings &settings, QWidget *parent)
{
    ProgressionChartOutcome outcome =
        ShowProgressionChart(season, published, settings, m_prompts, parent);
    return ChartOutcome{outcome.result, std::move(outcome.edited)};
}

void QtDialogs::showCompositionChart(const Season &season, const PublishedStandings &published,
                                     Settings &settings, int standingsRow, QWidget *parent)
{
    ShowCompositionChart(season, published, settings, m_prompts, standingsRow, parent);
}

std::optional<race::Certificate> QtDialogs::raceOutcome(const Season &season,
                                                        const PublishedStandings &published,
                                                        const Settings &settings, int league,
                                                        int division, QWidget *parent)
{
    return ShowRaceForm(season, published, settings, league, division, m_prompts, parent);
}

std::optional<ImportChoice> QtDialogs::previewImport(const Season &season, const GameList &list,
                                                     QWidget *parent)
{
    return ShowImportForm(season, list, parent);
}

} // namespace penarin
