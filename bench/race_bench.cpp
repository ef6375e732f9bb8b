// The race analysis answers, for every team of a view, the title and top-k
// questions exactly, through an integer-programming solver. The dialog runs
// it on demand, so it must be decided while the user waits at any point of
// the season: a 15-team league within 2 s of CPU, the 6-team shape of the
// professional leagues within 50 ms.
//
// Arguments: teams, games per pair, percent of each card played, k, and
// whether the proofs are made ordinary afterwards. The
// counter "undecided" must stay 0: an answer left open means the time
// limit, not the analysis, decided.

#include "benchseasons.h"
#include "magic/calcodule.h"
#include "race/race.h"
#include "season/filemodule.h"
#include "season/settings.h"
#include "standings/viewlists.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace penarin;

namespace {

// One league, every pair meeting `games` times, `percent` of each card
// played with a few draws (not replayed), ties broken by wins, the series
// and the grid order.
Season leagueSeason(int teams, int games, int percent)
{
    Season season;
    season.Header.LeagueCount = 1;
    season.Interleague.IntCounts = 1;
    season.Interleague.IntDrawReplay = 1;
    season.Teams.resize(teams);
    for (int i = 1; i <= teams; ++i) {
        TeamRecord &team = season.Teams[i];
        team.League = 1;
        team.TeamName = {u'T', static_cast<char16_t>(u'A' + (i - 1) % 26)};
        team.GridRank = static_cast<std::int16_t>(i);
        team.LeagueDrawReplay = 1;
        team.DivisionDrawReplay = 1;
        team.LeagueJudgment = JudgmentSet{0, {1, 2, 7, 0}, 0};
        team.DivisionJudgment = team.LeagueJudgment;
        team.IntJudgment = team.LeagueJudgment;
        team.UserRankA = team.UserRankB = team.UserRankC = static_cast<std::int16_t>(i);
        team.CardGames.assign(teams, -1);
        team.CardWins.assign(teams, 0);
        team.CardLosses.assign(teams, 0);
        team.CardDraws.assign(teams, 0);
    }
    std::mt19937 random(20261208u + static_cast<unsigned>(teams * 1000 + games * 10 + percent));
    for (int a = 1; a <= teams; ++a) {
        for (int b = a + 1; b <= teams; ++b) {
            TeamRecord &first = season.Teams[a];
            TeamRecord &second = season.Teams[b];
            first.CardGames[b] = second.CardGames[a] = static_cast<std::int16_t>(games);
            const int played = (games * percent + 50) / 100;
            // Stronger teams win a little more often, as in a real table.
            const int edge = (b - a) * 20 / teams;
            for (int g = 0; g < played; ++g) {
                bench::playGame(season, a, b, static_cast<int>(random() % 100), 47 + edge, 97);
            }
        }
    }
    for (int i = 1; i <= teams; ++i) {
        TeamRecord &team = season.Teams[i];
        team.LeagueGames = static_cast<std::int16_t>(games * (teams - 1));
        team.InterleagueGames = 0;
        team.OfficialGames = team.LeagueGames;
        season.ViewRows.push_back(static_cast<std::int16_t>(i));
        season.ViewCols.push_back(static_cast<std::int16_t>(i));
    }
    season.TeamShown.assign(teams, StoredTrue);
    season.resetSimResults();
    season.GameScope = ScopeOfficial;
    season.HasSeason = true;
    return season;
}

int undecided(const race::RaceAnalysis &analysis)
{
    int open = 0;
    for (const race::TeamRace &team : analysis.Teams) {
        for (const race::RaceState *state : {&team.Title, &team.Top}) {
            for (race::Answer a : {state->Sure, state->SureUnlessTied, state->Possible,
                                   state->PossibleWithTie, state->OwnPower}) {
                open += a == race::Answer::Unknown ? 1 : 0;
            }
            open += state->MagicDecided ? 0 : 1;
        }
    }
    return open;
}

// The analysis timed, with its solver calls and the answers it left open.
void analyse(benchmark::State &state, const Season &season, const race::RaceRequest &request)
{
    race::RaceAnalysis analysis;
    for (auto _ : state) {
        analysis = race::AnalyzeRace(season, request);
        benchmark::DoNotOptimize(analysis);
    }
    state.counters["solverCalls"] = analysis.SolverCalls;
    state.counters["undecided"] = undecided(analysis);
}

void BM_Race(benchmark::State &state)
{
    const auto teams = static_cast<int>(state.range(0));
    const auto games = static_cast<int>(state.range(1));
    const auto percent = static_cast<int>(state.range(2));
    const auto k = static_cast<int>(state.range(3));
    const bool ordinary = state.range(4) != 0;
    Season season = leagueSeason(teams, games, percent);
    const ViewRequest view{1, -1};
    const RecalculateResult pass = RecalculateView(season, OrderSettings{2, 0, 0}, view);
    race::RaceRequest request = race::RaceRequestForView(season, *pass.Published, view, k);
    request.OrdinaryCertificates = ordinary;
    analyse(state, season, request);
}

// The last argument: 0 for the answers alone (what the targets are about),
// 1 with the pass that makes the proofs ordinary afterwards.
void leagues(benchmark::internal::Benchmark *b)
{
    for (int games : {12, 20}) {
        for (int percent : {3, 30, 60, 85, 95}) {
            for (int k : {3, 6}) {
                b->Args({15, games, percent, k, 0});
            }
        }
    }
    // The professional leagues' shape: six teams, 25 games a pair.
    for (int percent : {3, 30, 60, 85, 95}) {
        b->Args({6, 25, percent, 3, 0});
    }
    for (int percent : {30, 85}) {
        b->Args({15, 12, percent, 3, 1});
        b->Args({6, 25, percent, 3, 1});
    }
}

// A league of the bundled sample (b), 15 teams late in a season whose
// ties go to the series first: what the dialog meets on a real file.
// Arguments: the league entry and k.
void BM_RaceSample(benchmark::State &state)
{
    Season season;
    if (LoadSeason(season, PENARIN_SAMPLES_DIR "/sample-b.ptr") == LoadStatus::Failed) {
        state.SkipWithError("sample-b.ptr cannot be read");
        return;
    }
    season.HasSeason = true;
    const OrderSettings order = OrderSettingsFrom(Settings{});
    // The stored view's pass settles the scope, as on opening the file.
    const ViewSelection stored = StoredViewSelection(season);
    (void)RecalculateView(season, order, ViewRequest{stored.league, stored.division});
    const auto league = static_cast<int>(state.range(0));
    const ViewRequest view{league, DivisionSelectorEntries(season, league).empty() ? -1 : 0};
    BuildViewLists(season, view.LeagueSelectorIndex, view.DivisionSelectorIndex);
    const RecalculateResult pass = RecalculateView(season, order, view);
    race::RaceRequest request = race::RaceRequestForView(
        season, *pass.Published, view, static_cast<int>(state.range(1)), order.GameCountRule);
    request.OrdinaryCertificates = false;
    analyse(state, season, request);
}

} // namespace

BENCHMARK(BM_Race)->Apply(leagues)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RaceSample)
    ->ArgsProduct({{1, 2}, {3, 6}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
