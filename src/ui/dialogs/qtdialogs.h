#pragma once

#include "ui/dialogs/dialogs.h"

namespace penarin {

class Prompts;

// The program's real dialogs, shown modally over the given parent.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(Prompts &prompts) : m_prompts(prompts) {}

    std::optional<SnapshotRequest> askSnapshot(double today, QWidget *parent) override;
    void editSettings(Settings &settings, const FontPreview &preview,
                      const std::function<void()> &applied, QWidget *parent) override;
    NewSeasonOutcome newSeason(Settings &settings, QWidget *parent) override;
    std::optional<Season> editRankSets(const Season &season, QWidget *parent) override;
    bool showWinLine(const Season &season, const PublishedStandings &published, Settings &settings,
                     QWidget *parent) override;
    std::optional<Season> editGamesCount(const Season &season, Settings &settings,
                                         QWidget *parent) override;
    std::optional<Season> showTeamData(const Season &season, const PublishedStandings &published,
                                       Settings &settings, int position, int rivalPosition,
                                       QWidget *parent) override;
    std::optional<Season> editChartData(const Season &season, const PublishedStandings &published,
                                        Settings &settings, QWidget *parent) override;
    ChartOutcome showProgressionChart(const Season &season, const PublishedStandings &published,
                                      Settings &settings, QWidget *parent) override;
    void showCompositionChart(const Season &season, const PublishedStandings &published,
                              Settings &settings, int standingsRow, QWidget *parent) override;
    std::optional<race::Certificate> raceOutcome(const Season &season,
                                                 const PublishedStandings &published,
                                                 const Settings &settings, int league, int division,
                                                 QWidget *parent) override;
    std::optional<ImportChoice> previewImport(const Season &season, const GameList &list,
                                              QWidget *parent) override;

private:
    Prompts &m_prompts;
};

} // namespace penarin
