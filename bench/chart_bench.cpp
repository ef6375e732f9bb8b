// Opening the progression chart of the largest season the program holds (88
// teams) with 600 shown snapshots: from the menu's click to the painted window,
// the surface and the legend included.

#include "benchseasons.h"
#include "magic/calcodule.h"
#include "platform/recordingprompts.h"
#include "season/settings.h"
#include "ui/charts/frmchart.h"

#include <QPixmap>

#include <benchmark/benchmark.h>

using namespace penarin;

namespace {

Season chartSeason(int teams, int snapshots)
{
    Season season = bench::buildSeason(bench::Shape{teams, 1});
    season.TeamShown.assign(teams, StoredTrue);
    season.TeamSnapshots.resize(teams);
    for (int k = 1; k <= snapshots; ++k) {
        season.Snapshots.push_back({45000.0 + k / 3.0, u"(メモ)", StoredTrue});
        for (int t = 1; t <= teams; ++t) {
            const int surplus = (t * 7 + k * 3) % 41 - 20;
            season.TeamSnapshots[t].Surpluses.push_back(static_cast<std::int16_t>(surplus));
            season.TeamSnapshots[t].Pcts.push_back(0.5F + static_cast<float>(surplus) / 100.0F);
        }
    }
    for (int t = 1; t <= teams; ++t) {
        season.team(t).LineStyle = static_cast<std::int16_t>(t % 5);
        season.team(t).LineWidth = static_cast<std::int16_t>(1 + t % 3);
    }
    return season;
}

void BM_OpenProgressionChart(benchmark::State &state)
{
    Season season = chartSeason(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const RecalculateResult pass = RecalculateView(season, {}, ViewRequest{1, -1});
    Settings settings;
    RecordingPrompts prompts;
    for (auto _ : state) {
        FrmChart chart(season, *pass.Published, settings, prompts, FrmChart::Layout::Progression);
        benchmark::DoNotOptimize(chart.drawChart(ChartKindSurplus, true));
        chart.show();
        if (!chart.progression()) {
            state.SkipWithError("the chart was not laid out");
            break;
        }
        // Renders every visible child the way the screen gets it.
        benchmark::DoNotOptimize(chart.grab());
    }
}

} // namespace

BENCHMARK(BM_OpenProgressionChart)->Args({12, 30})->Args({88, 600})->Unit(benchmark::kMillisecond);
