#pragma once

#include "season/cellsfunction.h"
#include "season/season.h"

#include <QUndoCommand>

#include <functional>

namespace penarin {

// One accepted entry on a card, as the card pane reports it: the card's
// state before and after, and how the edit menu names it.
struct CardChange
{
    int team = 0;
    int opponent = 0;
    CardState before;
    CardState after;
    QString text; // "港町 - 北都 勝 3→4"
};

// Undoes and redoes one card entry. The entry is already in the season when
// the command is pushed, so its first redo does nothing; every later undo
// and redo writes the card's state on both sides and lets the window
// refresh. A simulated entry is undone in simulation mode, where it shows.
class CardEntryCommand : public QUndoCommand
{
public:
    CardEntryCommand(Season &season, CardChange change, std::function<void()> refresh);

    void undo() override;
    void redo() override;

private:
    Season &m_season;
    CardChange m_change;
    std::function<void()> m_refresh;
    bool m_done = true;
};

} // namespace penarin
