// A season that loads must survive everything the window does with it: every
// view of every league and division in every game scope, every ordering, and
// results entered in any cell in both modes. The bytes are the season file;
// the ordering options and the cells come from the file's last bytes.
#include "fuzzclock.h"
#include "magic/calcodule.h"
#include "season/cellsfunction.h"
#include "season/filemodule.h"
#include "standings/viewlists.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace penarin;
    static const Clock clock = fuzz::fixedNow;

    Season season;
    if (LoadSeasonFromBytes(season, {data, size}, clock) == LoadStatus::Failed) {
        return 0;
    }
    season.HasSeason = true;
    auto tail = [data, size](std::size_t back) -> int {
        return back < size ? data[size - 1 - back] : 0;
    };
    const OrderSettings order{tail(0) % 3, tail(1) % 2, tail(2) % 3};

    const int leagues = static_cast<int>(LeagueSelectorEntries(season).size());
    for (int league = 0; league < leagues; ++league) {
        const int divisions = static_cast<int>(DivisionSelectorEntries(season, league).size());
        for (int division = divisions > 0 ? 0 : -1; division < divisions; ++division) {
            BuildViewLists(season, league, division);
            for (const int scope : {ScopeOfficial, ScopeLeague, ScopeInterleague}) {
                season.GameScope = scope;
                (void)RecalculateView(season, order, ViewRequest{league, division});
            }
        }
    }

    // A few clicks anywhere on the head-to-head grid, and one beyond it.
    for (int mode = 0; mode <= 1; ++mode) {
        season.SimMode = mode;
        for (std::size_t k = 3; k < 12; k += 3) {
            const int row = 2 + tail(k) % (season.RowTeamCount() + 1);
            const int col = tail(k + 1) % (3 * season.ColTeamCount() + 2);
            (void)EnterCardValue(season, row, col, tail(k + 2) % 40);
            (void)EnterCardValue(season, row, col, QueryCard);
            (void)RecalculateView(season, order, ViewRequest{1, 0});
        }
    }
    ClearSimulation(season);
    return 0;
}
