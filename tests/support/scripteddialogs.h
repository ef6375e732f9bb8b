#pragma once

#include "ui/dialogs/dialogs.h"

#include "season/settings.h"

#include <deque>

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

    // The outcome the user loads from "優勝・CS争い"; unset: closed.
    std::function<std::optional<race::Certificate>(const Season &)> race;

    std::optional<race::Certificate> raceOutcome(const Season &season, const Settings &, int, int,
                                                 QWidget *) override
    {
        return race ? race(season) : std::nullopt;
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
