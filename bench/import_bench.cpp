// Importing a whole season's game list happens once, but on the user
// interface thread between choosing the file and seeing the preview, so a
// season of 858 games (twelve teams of 143) read, checked and applied with a
// snapshot after every day must stay well under a fifth of a second.

#include "benchseasons.h"
#include "import/gamelist.h"
#include "season/textcodec.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

using namespace penarin;

namespace {

// Two leagues of six: 25 games against a league rival, 3 across.
Season emptySeason()
{
    Season season = bench::buildSeason({12, 2});
    season.Interleague.IntCounts = 1;
    season.Header.UpdatedAt = toOleDate({2026, 3, 1});
    for (int a = 1; a <= season.TeamCount(); ++a) {
        TeamRecord &team = season.team(a);
        for (int b = 1; b <= season.TeamCount(); ++b) {
            team.CardWins[b] = team.CardLosses[b] = team.CardDraws[b] = 0;
            if (a != b) {
                team.CardGames[b] = team.League == season.team(b).League ? 25 : 3;
            }
        }
    }
    return season;
}

// Every scheduled game once, in a shuffled order, six a day from 28 March.
std::string seasonList(const Season &season)
{
    std::vector<std::pair<int, int>> games;
    for (int a = 1; a <= season.TeamCount(); ++a) {
        for (int b = a + 1; b <= season.TeamCount(); ++b) {
            for (int g = 0; g < season.team(a).CardGames[b]; ++g) {
                games.emplace_back(g % 2 == 0 ? a : b, g % 2 == 0 ? b : a);
            }
        }
    }
    std::mt19937 random(858u);
    std::shuffle(games.begin(), games.end(), random);
    std::u16string text = u"日付,ホーム,ビジター,ホーム得点,ビジター得点\n";
    const double opening = toOleDate({2026, 3, 28});
    for (std::size_t k = 0; k < games.size(); ++k) {
        const CivilDateTime day = fromOleDate(opening + static_cast<double>(k / 6));
        const auto score = [&] { return fromUtf8(std::to_string(random() % 8)); };
        text += fromUtf8(std::to_string(day.month) + "/" + std::to_string(day.day)) + u"," +
                season.team(games[k].first).TeamName + u"," +
                season.team(games[k].second).TeamName + u"," + score() + u"," + score() + u"\n";
    }
    return toCp932(text);
}

void BM_ImportSeasonWithSnapshots(benchmark::State &state)
{
    const Season season = emptySeason();
    const std::string bytes = seasonList(season);
    int applied = 0;
    int snapshots = 0;
    for (auto _ : state) {
        const GameList list = ReadGameList(season, DecodeListText(bytes));
        std::optional<ImportOutcome> outcome = ApplyGameList(season, list, {true, false});
        applied = outcome ? outcome->applied : -1;
        snapshots = outcome ? outcome->snapshots : -1;
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["games"] = applied;
    state.counters["snapshots"] = snapshots;
}
BENCHMARK(BM_ImportSeasonWithSnapshots)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
