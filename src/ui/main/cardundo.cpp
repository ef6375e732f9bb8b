#include "ui/main/cardundo.h"

namespace penarin {

CardEntryCommand::CardEntryCommand(Season &season, CardChange change, std::function<void()> refresh)
    : QUndoCommand(change.text), m_season(season), m_change(std::move(change)),
      m_refresh(std::move(refresh))
{}

void CardEntryCommand::undo()
{
    WriteCardState(m_season, m_change.team, m_change.opponent, m_change.before);
    m_done = false;
    m_refresh();
}

void CardEntryCommand::redo()
{
    if (m_done) {
        return;
    }
    WriteCardState(m_season, m_change.team, m_change.opponent, m_change.after);
    m_done = true;
    m_refresh();
}

SimulationCommand::SimulationCommand(Season &season, const QString &text,
                                     std::function<void(Season &)> change,
                                     std::function<void()> refresh)
    : QUndoCommand(text), m_season(season), m_before(season.SimResults),
      m_change(std::move(change)), m_refresh(std::move(refresh))
{}

void SimulationCommand::undo()
{
    m_season.SimResults = m_before;
    m_refresh();
}

void SimulationCommand::redo()
{
    m_change(m_season);
    m_refresh();
}

ImportCommand::ImportCommand(Season &season, const QString &text, const Season &after,
                             std::function<void()> refresh)
    : QUndoCommand(text), m_season(season), m_before(take(season)), m_after(take(after)),
      m_refresh(std::move(refresh))
{}

ImportCommand::Results ImportCommand::take(const Season &season)
{
    return {season.Teams, season.TeamShown, season.Snapshots, season.TeamSnapshots,
            season.SimResults};
}

void ImportCommand::put(const Results &results)
{
    m_season.Teams = results.teams;
    m_season.TeamShown = results.teamShown;
    m_season.Snapshots = results.snapshots;
    m_season.TeamSnapshots = results.teamSnapshots;
    m_season.SimResults = results.simResults;
    m_refresh();
}

void ImportCommand::undo()
{
    put(m_before);
}

void ImportCommand::redo()
{
    put(m_after);
}

} // namespace penarin
