// The odds rank every simulated season with the standings' own ordering.
// The dialog waits for them, so on two cores 100,000 runs must take at most
// 0.5 s for the two-league shape (six teams a league, 25 games a pair, 3
// against each team of the other league) at 30% played and 2 s for a league
// of 15; exact mode at its limit of outcomes at most 1 s.

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
// `lastGames` set, every card is played out but the first `lastGames`
// cards, which keep one game each.
Season fifteen(int games, double share, int lastGames = 0)
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
    if (lastGames > 0) {
        for (std::size_t c = 0; c < cards.size(); ++c) {
            played[c] = c < static_cast<std::size_t>(lastGames) ? games - 1 : games;
        }
        share = 1.0;
    }
    playShare(builder, cards, played, share, random);
    return builder.build();
}

void run(benchmark::State &state, Season season, odds::Method method)
{
    season.HasSeason = true;
    for (TeamRecord &team : season.Teams) {
        team.LeagueJudgment = JudgmentSet{0, {1, 2, 7, 0}, 0};
    }
    const ViewRequest view{1, -1};
    static_cast<void>(RecalculateView(season, OrderSettings{}, view));
    odds::OddsRequest request =
        odds::OddsRequestForView(season, *season.Published, view, OrderSettings{}, 3);
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

// Eleven cards with one game each: 3^11 = 177,147 outcomes, just within
// the limit (a twelfth would triple it).
void BM_ExactFifteenAtLimit(benchmark::State &state)
{
    run(state, fifteen(10, 1.0, 11), odds::Method::Exact);
}

} // namespace

BENCHMARK(BM_SimulateTwoLeaguesAt30)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SimulateFifteenAt30)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExactFifteenAtLimit)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
