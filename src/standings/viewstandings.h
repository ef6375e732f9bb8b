#pragma once

#include "season/season.h"
#include "standings/standings.h"

#include <vector>

namespace penarin {

// The first steps of every recalculation: which games count for the view,
// which teams it lists, and their totals.

// Showing every league (entry 0) counts interleague games when those count at
// all, otherwise official games; a view of one league falls back to official
// games when interleague results do not count.
void AdjustGameScope(Season &season, int leagueSelectorIndex);

// The teams of the view: the column list in the interleague scope (it holds
// the other leagues' teams too), else the row list.
[[nodiscard]] std::vector<int> ViewTeams(const Season &season);

struct ViewTotals
{
    OneBased<StandingsRow> Rows;       // in the view's scope
    OneBased<StandingsRow> LeagueRows; // league games only; filled in the official scope
    OneBased<StandingsRow> InterRows;  // interleague games only; filled in the official scope
    bool ResultsExceedSchedule = false;
};

// Totals every team of the list in the season's current GameScope.
[[nodiscard]] ViewTotals TotalViewTeams(const Season &season, const std::vector<int> &teams);

// Text of the status bar's scope panel (UTF-8).
[[nodiscard]] std::string ScopeText(const Season &season, int leagueSelectorIndex);

} // namespace penarin
