#pragma once

#include "season/season.h"

#include <vector>

namespace penarin {

// Which league and division the main window shows, as positions in its two
// selectors: league entry 0 is "すべて表示" (every team), division entry 0 is
// "すべて表示" (the whole league), and -1 means the division selector is empty
// (all leagues shown, or a league without division names).
struct ViewSelection
{
    int league = 0;
    int division = -1;
};

// "すべて表示" followed by each league name, once per run of equal names in
// record order.
[[nodiscard]] std::vector<Text> LeagueSelectorEntries(const Season &season);

// The division selector's entries for a league entry: empty for entry 0 or a
// league whose teams carry no division name, else "すべて表示" followed by the
// division names of the league's teams, once per run of equal names.
[[nodiscard]] std::vector<Text> DivisionSelectorEntries(const Season &season, int leagueEntry);

// The selectors as they stand after a season is opened: the stored
// ViewLeague/ViewDivision, where the selectors have such entries.
[[nodiscard]] ViewSelection StoredViewSelection(const Season &season);

// The selection the show button ("表示(&V)") uses for a league entry and a
// requested division entry: a division entry the league does not offer
// falls back to what choosing the league entry selects.
[[nodiscard]] ViewSelection ChooseViewSelection(const Season &season, int leagueEntry,
                                                int divisionEntry);

// Rebuilds ViewRows and ViewCols for a league (0 = every team) and a division
// (0 or negative = the whole league) and stores the selection in
// ViewLeague/ViewDivision. The rows are the teams of the selection; the
// columns add the league's other divisions and, when interleague results
// count, the other leagues' teams.
void BuildViewLists(Season &season, int league, int division);

} // namespace penarin
