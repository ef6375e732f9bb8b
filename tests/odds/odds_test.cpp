#include "cli/report.h"
#include "magic/calcodule.h"
#include "odds/odds.h"
#include "race/race.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <tuple>

namespace penarin {
namespace {

const ViewRequest LeagueOne{1, -1};
const OrderSettings ByJudgment{2, 0, 0};

struct Open
{
    int a, b, games;
    bool draws;
};

struct Small
{
    Season season;
    std::vector<Open> open;
};

// A league of three or four teams with a handful of games left, records
// drawn close together so that level finishes are common; sometimes a team
// of another league whose interleague games count. Every team reads the
// given judgment.
Small makeSeason(std::mt19937 &random, int judgment, int drawsUseGames,
                 const std::vector<std::int16_t> &conditions, int maxRemaining)
{
    auto roll = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    Small s;
    test::SeasonBuilder builder;
    const int teams = roll(3, 4);
    for (int t = 1; t <= teams; ++t) {
        builder.addTeam(u"T" + std::u16string(1, char16_t(u'0' + t)), 1);
    }
    const int other = roll(0, 2) == 0 ? builder.addTeam(u"X", 2) : 0;
    builder.intCounts(1).drawReplay(drawsUseGames, drawsUseGames, drawsUseGames);
    int budget = maxRemaining;
    auto schedule = [&](int a, int b) {
        const int played = roll(0, 3);
        const int open = std::min(budget, roll(0, 2));
        budget -= open;
        const int wins = roll(0, played);
        const int drawn = drawsUseGames == 1 ? roll(0, played - wins) : 0;
        builder.card(a, b, played + open);
        builder.result(a, b, wins, played - wins - drawn, drawn);
        if (open > 0) {
            s.open.push_back({a, b, open, drawsUseGames == 1});
        }
    };
    for (int a = 1; a <= teams; ++a) {
        for (int b = a + 1; b <= teams; ++b) {
            schedule(a, b);
        }
        if (other != 0 && roll(0, 1) == 1) {
            schedule(a, other);
        }
    }
    s.season = builder.build();
    s.season.HasSeason = true;
    s.season.ViewRows.resize(teams);
    s.season.ViewCols.resize(teams);
    for (TeamRecord &team : s.season.Teams) {
        team.LeagueJudgment = JudgmentSet{static_cast<std::int16_t>(judgment), conditions, 0};
    }
    return s;
}

odds::OddsRequest requestFor(Season &season, int topK, odds::Model model, double drawRate,
                             odds::Method method)
{
    const RecalculateResult pass = RecalculateView(season, ByJudgment, LeagueOne);
    odds::OddsRequest request =
        odds::OddsRequestForView(season, *pass.Published, LeagueOne, ByJudgment, topK);
    request.GameModel = model;
    request.DrawRate = drawRate;
    request.Mode = method;
    return request;
}

struct Plain
{
    std::vector<double> title, topK, wins;
    std::vector<std::vector<double>> ranks;
    // Given who wins the first open card's next game.
    std::vector<double> titleIfA, titleIfB;
};

// Every game of every open card played one at a time, each outcome entered
// as simulated results and ranked by the recalculation pass itself.
Plain enumerate(const Small &small, const odds::OddsRequest &request, double drawRate)
{
    const std::size_t n = request.Teams.size();
    const int k = request.TopK;
    Plain out{std::vector<double>(n), std::vector<double>(n),
              std::vector<double>(n), std::vector<std::vector<double>>(n, std::vector<double>(n)),
              std::vector<double>(n), std::vector<double>(n)};
    std::vector<double> chanceA;
    for (const Open &card : small.open) {
        double share = 0.5;
        if (request.GameModel == odds::Model::Strength) {
            auto strength = [&](int team) {
                const TeamTotalsResult t = TeamTotals(small.season, team, ScopeOfficial);
                return (t.Wins + 5.0) / (t.Wins + t.Losses + 10.0);
            };
            const double a = strength(card.a);
            const double b = strength(card.b);
            share = a * (1 - b) / (a * (1 - b) + b * (1 - a));
        }
        chanceA.push_back(share);
    }
    Season work = small.season;
    work.resetSimResults();
    work.SimMode = 1;
    std::vector<std::pair<std::size_t, int>> games; // card, game number within it
    for (std::size_t c = 0; c < small.open.size(); ++c) {
        for (int g = 0; g < small.open[c].games; ++g) {
            games.push_back({c, g});
        }
    }
    int firstResult = 0; // of the first open card's first game: 1 A won, 2 B won
    std::function<void(std::size_t, double)> walk = [&](std::size_t g, double p) {
        if (p == 0.0) {
            return;
        }
        if (g == games.size()) {
            Season ranked = work;
            const RecalculateResult pass = RecalculateView(ranked, ByJudgment, LeagueOne);
            const auto &rows = pass.Published->Rows;
            for (int r = 1; r <= rows.size(); ++r) {
                int first = r;
                while (first > 1 && rows[first - 1].Rank == rows[r].Rank) {
                    --first;
                }
                int last = r;
                while (last < rows.size() && rows[last + 1].Rank == rows[r].Rank) {
                    ++last;
                }
                const std::size_t i = static_cast<std::size_t>(
                    std::find(request.Teams.begin(), request.Teams.end(), rows[r].TeamNo) -
                    request.Teams.begin());
                const double size = last - first + 1;
                for (int place = first; place <= last; ++place) {
                    out.ranks[i][static_cast<std::size_t>(place - 1)] += p / size;
                }
                const double title = first == 1 ? p / size : 0.0;
                out.title[i] += title;
                out.topK[i] += p * std::clamp(k - first + 1, 0, last - first + 1) / size;
                out.wins[i] += p * rows[r].Wins;
                (firstResult == 1 ? out.titleIfA : out.titleIfB)[i] +=
                    firstResult == 0 ? 0.0 : title;
            }
            return;
        }
        const auto [c, number] = games[g];
        const Open &card = small.open[c];
        const double draw = card.draws ? drawRate : 0.0;
        auto play = [&](int wins, int losses, int draws, double chance) {
            auto add = [&](int delta) {
                work.SimResults[card.a].Wins[card.b] += static_cast<std::int16_t>(wins * delta);
                work.SimResults[card.a].Losses[card.b] += static_cast<std::int16_t>(losses * delta);
                work.SimResults[card.a].Draws[card.b] += static_cast<std::int16_t>(draws * delta);
                work.SimResults[card.b].Wins[card.a] += static_cast<std::int16_t>(losses * delta);
                work.SimResults[card.b].Losses[card.a] += static_cast<std::int16_t>(wins * delta);
                work.SimResults[card.b].Draws[card.a] += static_cast<std::int16_t>(draws * delta);
            };
            if (c == 0 && number == 0) {
                firstResult = wins == 1 ? 1 : (losses == 1 ? 2 : 0);
            }
            add(1);
            walk(g + 1, p * chance);
            add(-1);
        };
        play(1, 0, 0, (1 - draw) * chanceA[c]);
        play(0, 1, 0, (1 - draw) * (1 - chanceA[c]));
        if (card.draws) {
            play(0, 0, 1, draw);
        }
    };
    walk(0, 1.0);
    if (!small.open.empty()) {
        const double decided = 1 - (small.open[0].draws ? drawRate : 0.0);
        const double firstA = decided * chanceA[0];
        const double firstB = decided * (1 - chanceA[0]);
        for (std::size_t i = 0; i < n; ++i) {
            out.titleIfA[i] /= firstA;
            out.titleIfB[i] /= firstB;
        }
    }
    return out;
}

struct Judged
{
    int judgment;
    int drawsUseGames;
    std::vector<std::int16_t> conditions;
};

// Both judgments, both draw rules, and tie-break lists from none at all
// (level teams share their places) to the series, the league records and
// the grid order.
const std::vector<Judged> Judgments{
    {0, 0, {0}},       {0, 1, {0}},          {1, 0, {0}},       {1, 1, {0}},
    {0, 1, {1, 2, 7}}, {1, 0, {1, 2, 7, 0}}, {0, 0, {2, 0}},    {1, 1, {2, 0}},
    {0, 1, {3, 4, 0}}, {1, 0, {5, 6, 2, 0}}, {0, 0, {1, 0, 7}}, {1, 1, {8, 0}},
};

TEST(OddsTest, ExactModeAgreesWithEveryGamePlayedOutThroughTheStandings)
{
    std::mt19937 random(11);
    for (const Judged &j : Judgments) {
        for (int round = 0; round < 3; ++round) {
            Small small = makeSeason(random, j.judgment, j.drawsUseGames, j.conditions, 6);
            for (const odds::Model model : {odds::Model::Coin, odds::Model::Strength}) {
                const int topK = round % 2 == 0 ? 2 : 3;
                const double drawRate = 0.2;
                const odds::OddsRequest request =
                    requestFor(small.season, topK, model, drawRate, odds::Method::Exact);
                const odds::OddsResult got = odds::ComputeOdds(small.season, request);
                ASSERT_EQ(got.Status, odds::OddsStatus::Computed);
                ASSERT_TRUE(got.Exact);
                const Plain want = enumerate(small, request, drawRate);
                SCOPED_TRACE(::testing::Message()
                             << "judgment " << j.judgment << ", draws " << j.drawsUseGames
                             << ", conditions " << j.conditions.size() << ", round " << round
                             << ", model " << static_cast<int>(model));
                for (std::size_t i = 0; i < request.Teams.size(); ++i) {
                    const odds::TeamOdds &t = got.Teams[i];
                    EXPECT_EQ(t.TeamNo, request.Teams[i]);
                    EXPECT_NEAR(t.Title, want.title[i], 1e-9);
                    EXPECT_NEAR(t.TopK, want.topK[i], 1e-9);
                    EXPECT_NEAR(t.ExpectedWins, want.wins[i], 1e-9);
                    for (std::size_t p = 0; p < want.ranks[i].size(); ++p) {
                        EXPECT_NEAR(t.Ranks[p], want.ranks[i][p], 1e-9);
                    }
                    if (!small.open.empty()) {
                        const auto first = std::find_if(
                            got.Cards.begin(), got.Cards.end(), [&](const odds::CardSwing &c) {
                                return c.TeamA == small.open.front().a &&
                                       c.TeamB == small.open.front().b;
                            });
                        ASSERT_NE(first, got.Cards.end());
                        EXPECT_NEAR(first->TitleIfA[i], want.titleIfA[i], 1e-9);
                        EXPECT_NEAR(first->TitleIfB[i], want.titleIfB[i], 1e-9);
                    }
                }
            }
        }
    }
}

TEST(OddsTest, SimulationFallsWithinItsIntervalsOfTheExactAnswer)
{
    std::mt19937 random(23);
    int checked = 0;
    int inside = 0;
    for (const Judged &j : Judgments) {
        Small small = makeSeason(random, j.judgment, j.drawsUseGames, j.conditions, 10);
        odds::OddsRequest request =
            requestFor(small.season, 2, odds::Model::Strength, 0.1, odds::Method::Exact);
        const odds::OddsResult exact = odds::ComputeOdds(small.season, request);
        request.Mode = odds::Method::Simulate;
        request.Runs = 5000;
        const odds::OddsResult simulated = odds::ComputeOdds(small.season, request);
        ASSERT_FALSE(simulated.Exact);
        for (std::size_t i = 0; i < exact.Teams.size(); ++i) {
            const odds::TeamOdds &s = simulated.Teams[i];
            for (const auto &[p, interval] : {std::pair(exact.Teams[i].Title, *s.TitleInterval),
                                              std::pair(exact.Teams[i].TopK, *s.TopKInterval)}) {
                ++checked;
                inside += p >= interval.Low && p <= interval.High ? 1 : 0;
                // Far outside would be a fault, not chance.
                EXPECT_GT(p, interval.Low - (interval.High - interval.Low));
                EXPECT_LT(p, interval.High + (interval.High - interval.Low));
            }
        }
    }
    EXPECT_GE(inside, checked * 9 / 10) << inside << " of " << checked;
}

// Small seasons generated at random: whatever the race analysis proves,
// the odds agree with, in either mode and either model.
TEST(OddsTest, NeverContradictTheRaceAnalysis)
{
    std::mt19937 random(5);
    int proofs = 0;
    for (int round = 0; round < 40; ++round) {
        const Judged &j = Judgments[static_cast<std::size_t>(round) % Judgments.size()];
        Small small = makeSeason(random, j.judgment, j.drawsUseGames, j.conditions, 9);
        const int topK = 2;
        odds::OddsRequest request =
            requestFor(small.season, topK, odds::Model::Coin, 0.1, odds::Method::Exact);
        const RecalculateResult pass = RecalculateView(small.season, ByJudgment, LeagueOne);
        const race::RaceAnalysis race = race::AnalyzeRace(
            small.season, race::RaceRequestForView(small.season, *pass.Published, LeagueOne, topK));
        ASSERT_EQ(race.Status, race::RaceStatus::Analysed);
        for (const odds::Method method : {odds::Method::Exact, odds::Method::Simulate}) {
            for (const odds::Model model : {odds::Model::Coin, odds::Model::Strength}) {
                request.Mode = method;
                request.GameModel = model;
                request.Runs = 500;
                const odds::OddsResult result = odds::ComputeOdds(small.season, request);
                ASSERT_EQ(result.Teams.size(), race.Teams.size());
                for (std::size_t i = 0; i < race.Teams.size(); ++i) {
                    const race::TeamRace &proof = race.Teams[i];
                    const odds::TeamOdds &t = result.Teams[i];
                    ASSERT_EQ(t.TeamNo, proof.TeamNo);
                    for (const auto &[state, p, proven] :
                         {std::tuple(proof.Title, t.Title, t.TitleProven),
                          std::tuple(proof.Top, t.TopK, t.TopKProven)}) {
                        // A nought shown as certain must be one.
                        if (proven && p == 0.0) {
                            EXPECT_EQ(state.PossibleWithTie, race::Answer::No)
                                << "round " << round << " team " << t.TeamNo;
                        }
                        if (state.Sure == race::Answer::Yes) {
                            ++proofs;
                            EXPECT_EQ(p, 1.0) << "round " << round << " team " << t.TeamNo;
                        }
                        if (state.PossibleWithTie == race::Answer::No) {
                            ++proofs;
                            EXPECT_EQ(p, 0.0) << "round " << round << " team " << t.TeamNo;
                        }
                        if (state.Possible == race::Answer::Yes && method == odds::Method::Exact) {
                            EXPECT_GT(p, 0.0) << "round " << round << " team " << t.TeamNo;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(proofs, 40); // the seasons do reach settled states
}

TEST(OddsTest, NumbersDependOnTheSeedButNotOnTheThreads)
{
    // Four games left on each of six cards: 5^6 outcomes, four blocks.
    test::SeasonBuilder builder = test::SeasonBuilder::oneLeague({u"A", u"B", u"C", u"D"}, 6);
    builder.result(1, 2, 2, 0).result(1, 3, 1, 1).result(1, 4, 0, 2);
    builder.result(2, 3, 1, 1).result(2, 4, 2, 0).result(3, 4, 1, 1);
    Season season = builder.build();
    season.HasSeason = true;
    for (const odds::Method method : {odds::Method::Simulate, odds::Method::Exact}) {
        odds::OddsRequest request = requestFor(season, 2, odds::Model::Strength, 0.1, method);
        request.Runs = 20000;
        request.Threads = 1;
        const odds::OddsResult one = odds::ComputeOdds(season, request);
        request.Threads = 2;
        const odds::OddsResult two = odds::ComputeOdds(season, request);
        request.Seed += 1;
        const odds::OddsResult reseeded = odds::ComputeOdds(season, request);
        ASSERT_GT(one.Outcomes, 4096); // more than one block, so both threads work
        bool seedMatters = false;
        for (std::size_t i = 0; i < one.Teams.size(); ++i) {
            EXPECT_EQ(one.Teams[i].Ranks, two.Teams[i].Ranks);
            EXPECT_EQ(one.Teams[i].Title, two.Teams[i].Title);
            EXPECT_EQ(one.Teams[i].ExpectedWins, two.Teams[i].ExpectedWins);
            seedMatters |= one.Teams[i].Ranks != reseeded.Teams[i].Ranks;
        }
        for (std::size_t c = 0; c < one.Cards.size(); ++c) {
            EXPECT_EQ(one.Cards[c].TopKIfA, two.Cards[c].TopKIfA);
        }
        EXPECT_EQ(seedMatters, method == odds::Method::Simulate);
    }
}

TEST(OddsTest, ExactModeStopsAtItsLimitAndAutoSimulatesBeyond)
{
    std::mt19937 random(3);
    Small small = makeSeason(random, 1, 1, {0}, 12);
    odds::OddsRequest request =
        requestFor(small.season, 2, odds::Model::Coin, 0.1, odds::Method::Exact);
    const std::int64_t outcomes = *odds::CountOutcomes(small.season, request, 1'000'000);
    std::int64_t product = 1;
    for (const Open &card : small.open) {
        product *= (card.games + 1) * (card.games + 2) / 2; // wins, losses, draws
    }
    EXPECT_EQ(outcomes, product);
    request.ExactLimit = outcomes - 1;
    EXPECT_EQ(odds::ComputeOdds(small.season, request).Status, odds::OddsStatus::TooManyOutcomes);
    request.Mode = odds::Method::Auto;
    request.Runs = 1000;
    const odds::OddsResult automatic = odds::ComputeOdds(small.season, request);
    EXPECT_FALSE(automatic.Exact);
    EXPECT_EQ(automatic.Runs, 1000);
    request.ExactLimit = outcomes;
    EXPECT_TRUE(odds::ComputeOdds(small.season, request).Exact);
}

TEST(OddsTest, ScheduleThatCannotBePlayedOutIsRefused)
{
    Season season = test::SeasonBuilder::oneLeague({u"A", u"B", u"C"}, 2).build();
    season.HasSeason = true;
    season.team(1).CardWins[2] = 3; // three results of a two-game card
    season.team(2).CardLosses[1] = 3;
    odds::OddsRequest request = requestFor(season, 1, odds::Model::Coin, 0.0, odds::Method::Auto);
    EXPECT_EQ(odds::ComputeOdds(season, request).Status, odds::OddsStatus::ScheduleInconsistent);
}

TEST(OddsTest, ProbabilitiesNeverRoundToCertainty)
{
    const std::vector<std::tuple<double, bool, const char *>> cases{
        {1.0, true, "100%"},     {0.0, true, "0%"},        {1.0, false, ">99.9%"},
        {0.0, false, "<0.1%"},   {0.9996, true, ">99.9%"}, {0.999, true, "99.9%"},
        {0.0004, true, "<0.1%"}, {0.001, false, "0.1%"},   {0.4234, true, "42.3%"},
    };
    for (const auto &[p, proven, text] : cases) {
        EXPECT_EQ(odds::FormatProbability(p, proven), text) << p;
    }
}

// The report command end to end on the bundled sample.
TEST(OddsTest, ReportCommand)
{
    auto run = [](std::vector<std::string> args, std::string &out) {
        std::ostringstream o;
        std::ostringstream e;
        const int status = cli::runReport(args, o, e);
        out = o.str() + e.str();
        return status;
    };
    const std::string sample = PENARIN_SAMPLES_DIR "/sample-a.ptr";
    std::string out;
    EXPECT_EQ(run({"odds", sample, "--league", "1", "--method", "exact"}, out), 8) << out;
    ASSERT_EQ(run({"odds", sample, "--league", "1", "--runs", "2000", "--model", "strength",
                   "--format", "json"},
                  out),
              0)
        << out;
    for (const char *key :
         {"\"top\": 3", "\"model\": \"strength\"", "\"exact\": false", "\"runs\": 2000",
          "\"seed\": 20090401", "\"titleInterval\": [", "\"ranks\": [", "\"expectedDraws\": "}) {
        EXPECT_NE(out.find(key), std::string::npos) << key;
    }
    ASSERT_EQ(
        run({"odds", sample, "--league", "1", "--runs", "2000", "--team", "1", "--big-games"}, out),
        0)
        << out;
    EXPECT_NE(out.find("大一番"), std::string::npos);
    EXPECT_EQ(run({"odds", sample, "--model", "dice"}, out), 2);
    EXPECT_EQ(run({"odds", sample, "--team", "99", "--big-games"}, out), 2);
}

} // namespace
} // namespace penarin
