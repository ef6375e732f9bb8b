#include "ui/main/cardundo.h"

namespace penarin {

CardEntryCommand::CardEntryCommand(Season &season, CardChange change, std::function<void()> refresh)
    : QUndoCommand(change.text), m_season(season), m_change(std::move(change)),
      m_refresh(std::move(refresh))
{}

namespace {

bool simulatedChange(const CardState &a, const CardState &b)
{
    return a.simWins != b.simWins || a.simLosses != b.simLosses || a.simDraws != b.simDraws;
}

} // namespace

void CardEntryCommand::undo()
{
    if (simulatedChange(m_change.before, m_change.after)) {
        m_season.SimMode = 1;
    }
    WriteCardState(m_season, m_change.team, m_change.opponent, m_change.before);
    m_done = false;
    m_refresh();
}

void CardEntryCommand::redo()
{
    if (m_done) {
        return;
    }
    if (simulatedChange(m_change.before, m_change.after)) {
        m_season.SimMode = 1;
    }
    WriteCardState(m_season, m_change.team, m_change.opponent, m_change.after);
    m_done = true;
    m_refresh();
}

} // namespace penarin
