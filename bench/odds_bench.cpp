// The odds rank every simulated season with the standings' own ordering.
// The dialog waits for them, so on two cores 100,000 runs must take at most
// 0.5 s for the two-league shape (six teams a league, 25 games a pair, 3
// against each team of the other league) at 30% played and 2 s for a league
// of 15; exact mode at its limit of outcomes at most 1 s. With a loaded
// machine read the CPU column of the one-thread runs: it is the whole work.

#include "magic/calcodule.h"
#include "odds/odds.h"
#include "support/seasonbuilder.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace penarin;

namespace {

// Plays `share` of every card with 48% wins, 48% losses and 4% draws each
// side; draws use up a game, so every remaining game can end three ways.
void playShare(test::SeasonBuilder &builder, const std::vector<std::pair<int, int>> &cards,
               const std::vector<int> &games, double share, std::mt19937 &random)
{
    for (std::size_t c = 0; c < cards.size(); ++c) {
        const int played = static_cast<int>(games[c] * share + 0.5);
        int wins = 0;
        int losses = 0;
        int draws = 0;
        for (int g = 0; g < played; ++g) {
            const auto roll = random() % 100;
            (roll < 48 ? wins : (roll < 96 ? losses : draws)) += 1;
        }
        builder.result(cards[c].first, cards[c].second, wins, losses, draws);
    }
}

Season twoLeagues(double share)
{
    test::SeasonBuilder builder;
    for (int t = 0; t < 12; ++t) {
        builder.addTeam(u"T" + std::u16string(1, char16_t(u'A' + t)), t < 6 ? 1 : 2);
    }
    builder.roundRobin(25, 3).intCounts(1).drawReplay(1, 1, 1);
    std::vector<std::pair<int, int>> cards;
    std::vector<int> games;
    for (int a = 1; a <= 12; ++a) {
        for (int b = a + 1; b <= 12; ++b) {
            cards.push_back({a, b});
            games.push_back((a <= 6) == (b <= 6) ? 25 : 3);
        }
    }
    std::mt19937 random(20260815u);
    playShare(builder, cards, games, share, random);
    Season season = builder.build();
    // The first league is the view, as the window shows it.
    season.ViewRows.resize(6);
    season.ViewCols.resize(6);
    return season;
}

// A league of 15 with `games` a pair and `share` of them played; with
// `left` given, every card is played out but the first ones, which keep
// that many games each.
Season fifteen(int games, double share, const std::vector<int> &left = {})
{
    test::SeasonBuilder builder;
    for (int t = 0; t < 15; ++t) {
        builder.addTeam(u"T" + std::u16string(1, char16_t(u'A' + t)), 1);
    }
    builder.roundRobin(games).drawReplay(1, 1, 1);
    std::vector<std::pair<int, int>> cards;
    std::vector<int> played;
    for (int a = 1; a <= 15; ++a) {
        for (int b = a + 1; b <= 15; ++b) {
            cards.push_back({a, b});
            played.push_back(games);
        }
    }
    std::mt19937 random(20260815u);
    if (!left.empty()) {
        for (std::size_t c = 0; c < left.size(); ++c) {
            played[c] = games - left[c];
        }
        share = 1.0;
    }
    playShare(builder, cards, played, share, random);
    return builder.build();
}

void run(benchmark::State &state, Season season, odds::Method method,
         std::vector<std::int16_t> conditions = {1, 2, 7, 0})
{
    season.HasSeason = true;
    for (TeamRecord &team : season.Teams) {
        team.LeagueJudgment = JudgmentSet{0, conditions, 0};
    }
    const ViewRequest view{1, -1};
    const RecalculateResult pass = RecalculateView(season, OrderSettings{}, view);
    odds::OddsRequest request =
        odds::OddsRequestForView(season, *pass.Published, view, OrderSettings{}, 3);
    request.Mode = method;
    request.Threads = static_cast<int>(state.range(0));
    odds::OddsResult result;
    for (auto _ : state) {
        result = odds::ComputeOdds(season, request);
        benchmark::DoNotOptimize(result);
    }
    state.counters["outcomes"] = static_cast<double>(result.Outcomes);
    state.counters["cards"] = static_cast<double>(result.Cards.size());
    if (result.Status != odds::OddsStatus::Computed) {
        state.SkipWithError("not computed");
    }
}

void BM_SimulateTwoLeaguesAt30(benchmark::State &state)
{
    run(state, twoLeagues(0.3), odds::Method::Simulate);
}

void BM_SimulateFifteenAt30(benchmark::State &state)
{
    run(state, fifteen(10, 0.3), odds::Method::Simulate);
}

// Five games left on one card (21 endings) and one on eight more (3 each):
// 21 * 3^8 = 137,781 outcomes, 92% of the limit.
const std::vector<int> NearlyOver{5, 1, 1, 1, 1, 1, 1, 1, 1};

void BM_ExactFifteenAtLimit(benchmark::State &state)
{
    run(state, fifteen(10, 1.0, NearlyOver), odds::Method::Exact);
}

// The costliest tie-breaks: league and interleague records, compared for
// every pair of every outcome.
void BM_ExactFifteenAtLimitRecordTieBreaks(benchmark::State &state)
{
    run(state, fifteen(10, 1.0, NearlyOver), odds::Method::Exact, {3, 4, 5, 6, 2, 7, 0});
}

} // namespace

BENCHMARK(BM_SimulateTwoLeaguesAt30)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SimulateFifteenAt30)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExactFifteenAtLimit)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExactFifteenAtLimitRecordTieBreaks)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
