#pragma once

#include "season/season.h"
#include "season/texttable.h"
#include "tables/standingstable.h"

namespace penarin {

// The results export ("成績"): the standings grid as shown, with per-card
// magic marked by its kind, an empty line, then the real head-to-head
// records of the teams in standings order. 2n + 3 lines for n standings
// rows, max(n + 10, m) + 1 cells for m teams in the view's row list.
[[nodiscard]] TextTable BuildResultsTable(const Season &season, const StandingsTable &grid);

} // namespace penarin
