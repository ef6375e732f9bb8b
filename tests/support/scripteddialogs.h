#pragma once

#include "ui/dialogs/dialogs.h"

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
