#pragma once

#include "ui/dialogs/dialogs.h"

#include "season/settings.h"

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace penarin::test {

// Answers the window's dialogs from a script, so a window test never waits
// on a modal dialog; an unscripted question gets the answer of a user who
// declines.
class ScriptedDialogs : public Dialogs
{
public:
    std::deque<std::optional<SnapshotRequest>> snapshots;
    int snapshotQuestions = 0;

    // What the user changes in the settings dialog, applied with its OK.
    std::function<void(Settings &)> settingsEdit;
    int settingsShown = 0;

    void editSettings(Settings &settings, const FontPreview &, const std::function<void()> &applied,
                      QWidget *) override
    {
        ++settingsShown;
        if (settingsEdit) {
            settingsEdit(settings);
            applied();
        }
    }

    // What the user builds in the new season wizard; unset: cancelled.
    std::function<NewSeasonOutcome(Settings &)> wizard;
    // What the user does in the previous-year rank dialog, to its copy of
    // the season; false: closed without storing a set.
    std::function<bool(Season &)> rankSets;

    NewSeasonOutcome newSeason(Settings &settings, QWidget *) override
    {
        return wizard ? wizard(settings) : NewSeasonOutcome{};
    }

    std::optional<Season> editRankSets(const Season &season, QWidget *) override
    {
        return edit(season, rankSets);
    }

    // The games counts the user sets in the matrix; the win line's answer.
    std::function<bool(Season &)> gamesCount;
    int gamesCountShown = 0;
    bool winLineFails = false;
    int winLineShown = 0;

    bool showWinLine(const Season &, const PublishedStandings &, Settings &, QWidget *) override
    {
        ++winLineShown;
        return winLineFails;
    }

    std::optional<Season> editGamesCount(const Season &season, Settings &, QWidget *) override
    {
        ++gamesCountShown;
        return edit(season, gamesCount);
    }

    // The team data asked for, as (position, rival position), and what the
    // user applies there.
    std::vector<std::pair<int, int>> teamData;
    std::function<bool(Season &)> teamDataEdit;

    std::optional<Season> showTeamData(const Season &season, const PublishedStandings &, Settings &,
                                       int position, int rivalPosition, QWidget *) override
    {
        teamData.emplace_back(position, rivalPosition);
        return edit(season, teamDataEdit);
    }

    // What the user does in the chart data dialog; unset: cancelled.
    std::function<bool(Season &, Settings &)> chartData;
    // The charts asked for: the progression's draw result is what the real
    // window would report for the season; the composition records its row.
    std::function<int(const Season &)> progressionChart;
    std::vector<int> compositionRows;

    std::optional<Season> editChartData(const Season &season, const PublishedStandings &,
                                        Settings &settings, QWidget *) override
    {
        if (!chartData) {
            return std::nullopt;
        }
        Season edited = season;
        if (!chartData(edited, settings)) {
            return std::nullopt;
        }
        return edited;
    }

    ChartOutcome showProgressionChart(const Season &season, const PublishedStandings &, Settings &,
                                      QWidget *) override
    {
        return ChartOutcome{progressionChart ? progressionChart(season) : 0, std::nullopt};
    }

    void showCompositionChart(const Season &, const PublishedStandings &, Settings &,
                              int standingsRow, QWidget *) override
    {
        compositionRows.push_back(standingsRow);
    }

    // The outcome the user loads from "優勝・CS争い"; unset: closed.
    std::function<std::optional<race::Certificate>(const Season &)> race;

    std::optional<race::Certificate> raceOutcome(const Season &season, const PublishedStandings &,
                                                 const Settings &, int, int, QWidget *) override
    {
        return race ? race(season) : std::nullopt;
    }

    // What the user does in the import preview, given the list it shows;
    // unset: cancelled.
    std::function<std::optional<ImportChoice>(const Season &, const GameList &)> importPreview;
    int importPreviews = 0;

    std::optional<ImportChoice> previewImport(const Season &season, const GameList &list,
                                              QWidget *) override
    {
        ++importPreviews;
        return importPreview ? importPreview(season, list) : std::nullopt;
    }

    std::optional<SnapshotRequest> askSnapshot(double, QWidget *) override
    {
        ++snapshotQuestions;
        if (snapshots.empty()) {
            return std::nullopt;
        }
        std::optional<SnapshotRequest> answer = snapshots.front();
        snapshots.pop_front();
        return answer;
    }

private:
    // A dialog that edits a copy of the season and hands it back when the
    // script says it changed something.
    static std::optional<Season> edit(const Season &season,
                                      const std::function<bool(Season &)> &script)
    {
        if (!script) {
            return std::nullopt;
        }
        Season edited = season;
        if (!script(edited)) {
            return std::nullopt;
        }
        return edited;
    }
};

} // namespace penarin::test
