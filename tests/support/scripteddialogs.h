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
    std::function<NewSeasonOutcome(Season &, Settings &)> wizard;
    // What the user does in the previous-year rank dialog.
    std::function<void(Season &)> rankSets;

    NewSeasonOutcome newSeason(Season &season, Settings &settings, QWidget *) override
    {
        ClearSeason(season);
        return wizard ? wizard(season, settings) : NewSeasonOutcome{};
    }

    void editRankSets(Season &season, QWidget *) override
    {
        if (rankSets) {
            rankSets(season);
        }
    }

    // The games counts the user sets in the matrix; the win line's answer.
    std::function<void(Season &)> gamesCount;
    int gamesCountShown = 0;
    bool winLineFails = false;
    int winLineShown = 0;

    bool showWinLine(Season &, Settings &, QWidget *) override
    {
        ++winLineShown;
        return winLineFails;
    }

    void editGamesCount(Season &season, Settings &, QWidget *) override
    {
        ++gamesCountShown;
        if (gamesCount) {
            gamesCount(season);
        }
    }

    // The team data asked for, as (position, rival position).
    std::vector<std::pair<int, int>> teamData;

    void showTeamData(Season &, Settings &, int position, int rivalPosition, QWidget *) override
    {
        teamData.emplace_back(position, rivalPosition);
    }

    // What the user does in the chart data dialog; unset: cancelled.
    std::function<bool(Season &, Settings &)> chartData;
    // The charts asked for: the progression's draw result is what the real
    // window would report for the season; the composition records its row.
    std::function<int(Season &)> progressionChart;
    std::vector<int> compositionRows;

    bool editChartData(Season &season, Settings &settings, QWidget *) override
    {
        return chartData ? chartData(season, settings) : false;
    }

    int showProgressionChart(Season &season, Settings &, QWidget *) override
    {
        return progressionChart ? progressionChart(season) : 0;
    }

    void showCompositionChart(Season &, Settings &, int standingsRow, QWidget *) override
    {
        compositionRows.push_back(standingsRow);
    }

    // The outcome the user loads from "優勝・CS争い"; unset: closed.
    std::function<std::optional<race::Certificate>(const Season &)> race;

    std::optional<race::Certificate> raceOutcome(const Season &season, const Settings &, int, int,
                                                 QWidget *) override
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
};

} // namespace penarin::test
