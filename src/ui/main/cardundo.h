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
// refresh.
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

// Undoes a change of the simulated results as a whole ("クリア", a loaded
// outcome of the remaining games): every card's simulated results come back.
class SimulationCommand : public QUndoCommand
{
public:
    SimulationCommand(Season &season, const QString &text, std::function<void(Season &)> change,
                      std::function<void()> refresh);

    void undo() override;
    void redo() override;

private:
    Season &m_season;
    OneBased<SimRecord> m_before;
    std::function<void(Season &)> m_change;
    std::function<void()> m_refresh;
};

// Undoes an import of game results as a whole: every card's real and
// simulated results and the chart snapshots come back as they were. The
// season's other data and its memory-only state (the view, the file) are
// left alone, so an undo does not jump to another view.
class ImportCommand : public QUndoCommand
{
public:
    ImportCommand(Season &season, const QString &text, const Season &after,
                  std::function<void()> refresh);

    void undo() override;
    void redo() override;

private:
    struct Results
    {
        OneBased<TeamRecord> teams;
        OneBased<std::int16_t> teamShown;
        OneBased<Snapshot> snapshots;
        OneBased<TeamSnapshot> teamSnapshots;
        OneBased<SimRecord> simResults;
    };
    static Results take(const Season &season);
    void put(const Results &results);

    Season &m_season;
    Results m_before;
    Results m_after;
    std::function<void()> m_refresh;
};

} // namespace penarin
