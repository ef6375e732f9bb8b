// The recalculation pass runs after every entered result, on the user
// interface thread, so its cost for the largest season the file allows (88
// teams) decides whether clicking through a simulation feels immediate.
//
// The seasons come from benchseasons.h.

#include "benchseasons.h"
#include "magic/calcodule.h"

#include <benchmark/benchmark.h>

using namespace penarin;
using penarin::bench::buildSeason;
using penarin::bench::Shape;

namespace {

void runPasses(benchmark::State &state, const Shape &shape, const ViewRequest &view)
{
    Season season = buildSeason(shape);
    const OrderSettings order{2, 0, 0}; // ordered by the championship judgment
    std::shared_ptr<const PublishedStandings> published;
    for (auto _ : state) {
        // The window hands the previous result back, as here.
        RecalculateResult result = RecalculateView(season, order, view, std::move(published));
        published = std::move(result.Published);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(published);
    }
    state.counters["rows"] = static_cast<double>(published->Rows.size());
}

// One league holding every team, shown as that league: official games.
void BM_RecalculateOneLeague(benchmark::State &state)
{
    runPasses(state, Shape{static_cast<int>(state.range(0)), 1}, ViewRequest{1, -1});
}

// Two leagues, every team shown (league entry 0) with interleague results
// not counting: official games, and the league-only and interleague-only
// tables are built as well.
void BM_RecalculateTwoLeaguesAllShown(benchmark::State &state)
{
    runPasses(state, Shape{static_cast<int>(state.range(0)), 2}, ViewRequest{0, -1});
}

// Eight leagues of eleven, every team shown together: the largest season the
// file allows, split the way the league and interleague tables cost most.
void BM_RecalculateEightLeaguesAllShown(benchmark::State &state)
{
    runPasses(state, Shape{static_cast<int>(state.range(0)), 8}, ViewRequest{0, -1});
}

} // namespace

BENCHMARK(BM_RecalculateOneLeague)->Arg(12)->Arg(30)->Arg(88)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecalculateTwoLeaguesAllShown)
    ->Arg(12)
    ->Arg(30)
    ->Arg(88)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_RecalculateEightLeaguesAllShown)->Arg(88)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
