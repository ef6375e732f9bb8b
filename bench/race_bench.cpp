// The race analysis answers, for every team of a view, the title and top-k
// questions exactly, through an integer-programming solver. The dialog runs
// it on demand, so a league in September (about 50 games left per team) must
// be answered while the user waits: 6 teams within 100 ms, 15 within 2 s.
//
// The seasons come from benchseasons.h: two thirds of every card played,
// draws not replayed, so every remaining game can end three ways.

#include "benchseasons.h"
#include "magic/calcodule.h"
#include "race/race.h"

#include <benchmark/benchmark.h>

using namespace penarin;
using penarin::bench::buildSeason;
using penarin::bench::Shape;

namespace {

void runAnalysis(benchmark::State &state, int judgment)
{
    Season season = buildSeason(Shape{static_cast<int>(state.range(0)), 1});
    const ViewRequest view{1, -1};
    const RecalculateResult pass = RecalculateView(season, OrderSettings{}, view);
    race::RaceRequest request = race::RaceRequestForView(season, *pass.Published, view, 3);
    request.Judgment = judgment;
    int remaining = 0;
    for (const StandingsRow &row : pass.Published->Rows) {
        remaining = std::max(remaining, row.Remaining);
    }
    race::RaceAnalysis analysis;
    for (auto _ : state) {
        analysis = race::AnalyzeRace(season, request);
        benchmark::DoNotOptimize(analysis);
    }
    state.counters["solverCalls"] = analysis.SolverCalls;
    state.counters["mostRemaining"] = remaining;
}

void BM_RaceByPercentage(benchmark::State &state)
{
    runAnalysis(state, 0);
}

void BM_RaceByWins(benchmark::State &state)
{
    runAnalysis(state, 1);
}

} // namespace

BENCHMARK(BM_RaceByPercentage)->Arg(6)->Arg(15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RaceByWins)->Arg(6)->Arg(15)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
