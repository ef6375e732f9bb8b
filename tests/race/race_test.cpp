#include "magic/calcodule.h"
#include "race/integerprogram.h"
#include "race/race.h"
#include "race/racemodel.h"
#include "standings/judgment.h"
#include "standings/standings.h"
#include "standings/viewlists.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <thread>

namespace penarin {
namespace {

using race::Answer;
using race::Certificate;
using race::RaceState;

// A remaining card as the generated season schedules it.
struct OpenCard
{
    int a, b, games;
    bool draws;
};

struct Generated
{
    Season season;
    std::vector<int> view; // league 1
    std::vector<OpenCard> open;
    int judgment = 0;
    int scope = ScopeOfficial;
};

// Small seasons with at most 12 remaining games: league 1 is the view,
// sometimes with a team of league 2 whose interleague games count for the
// view's teams. Results are drawn close together so that level finishes
// are common, and sometimes a team has no decided game at all.
Generated generate(std::mt19937 &random)
{
    auto roll = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    Generated g;
    test::SeasonBuilder builder;
    const int teams = roll(3, 5);
    for (int t = 1; t <= teams; ++t) {
        g.view.push_back(builder.addTeam(u"T" + std::u16string(1, char16_t(u'0' + t)), 1));
    }
    const bool outsider = roll(0, 2) == 0;
    const int other = outsider ? builder.addTeam(u"X", 2) : 0;
    const int leagueDraws = roll(0, 1);
    const int interDraws = roll(0, 1);
    builder.intCounts(1).drawReplay(leagueDraws, leagueDraws, interDraws);
    const bool idleTeam = roll(0, 3) == 0; // team 1 without a decided game
    int budget = 12;
    auto schedule = [&](int a, int b, bool draws) {
        const int played = idleTeam && (a == 1 || b == 1) ? 0 : roll(0, 3);
        const int open = std::min(budget, roll(0, 3));
        budget -= open;
        const int wins = roll(0, played);
        const int drawn = draws ? roll(0, played - wins) : 0;
        // A replayed draw leaves its game scheduled.
        const int replayed = draws ? 0 : roll(0, 1);
        builder.card(a, b, played + open);
        builder.result(a, b, wins, played - wins - drawn, draws ? drawn : replayed);
        if (open > 0) {
            g.open.push_back({a, b, open, draws});
        }
    };
    for (int a = 1; a <= teams; ++a) {
        for (int b = a + 1; b <= teams; ++b) {
            schedule(a, b, leagueDraws == 1);
        }
        if (outsider && roll(0, 1) == 1) {
            schedule(a, other, interDraws == 1);
        }
    }
    g.season = builder.build();
    g.season.HasSeason = true;
    g.judgment = roll(0, 1);
    // In the league scope the interleague games are not part of the race;
    // in the interleague scope they are all of it, and every team is a rival.
    const int scope = outsider ? roll(0, 3) : 0;
    if (scope == 1) {
        g.scope = ScopeLeague;
        std::erase_if(g.open, [other](const OpenCard &card) { return card.b == other; });
    } else if (scope == 2) {
        g.scope = ScopeInterleague;
        g.view.push_back(other);
        std::erase_if(g.open, [other](const OpenCard &card) { return card.b != other; });
    }
    // Sometimes simulated results already stand: the analysis and the
    // replay must both count them.
    if (roll(0, 2) == 0 && !g.open.empty()) {
        OpenCard &card = g.open.front();
        g.season.SimMode = 1;
        g.season.SimResults[card.a].Wins[card.b] = 1;
        g.season.SimResults[card.b].Losses[card.a] = 1;
        if (--card.games == 0) {
            g.open.erase(g.open.begin());
        }
    }
    return g;
}

// The view the race is asked about, as the main window would show it.
const ViewRequest LeagueOne{1, 0};

// The tie-break rules a generated season is given: none, the usual chains,
// a series first, the measures of one part of the season (official games
// only), previous-year ranks that may be equal.
const std::vector<std::vector<std::int16_t>> ConditionLists{
    {0}, {1, 2, 7, 0}, {2, 1, 0}, {1, 0}, {2, 0}, {8, 0}, {4, 2, 0}, {3, 1, 7, 0}, {6, 5, 0},
};

// Gives every team the judgment and ordering the standings then apply.
OrderSettings judge(Generated &g, std::mt19937 &random)
{
    auto roll = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const auto &conditions = ConditionLists[static_cast<std::size_t>(
        roll(0, static_cast<int>(ConditionLists.size()) - 1))];
    for (int t = 1; t <= g.season.TeamCount(); ++t) {
        TeamRecord &team = g.season.team(t);
        team.LeagueJudgment = JudgmentSet{static_cast<std::int16_t>(g.judgment), conditions, 0};
        team.IntJudgment = team.LeagueJudgment;
        team.UserRankA = static_cast<std::int16_t>(roll(1, 3));
    }
    g.season.GameScope = g.scope;
    BuildViewLists(g.season, 1, 0);
    // The games-played rule reorders rows the conditions leave level.
    return OrderSettings{2, 0, roll(0, 3) == 0 ? roll(1, 2) : 0};
}

// Rank and the number of teams sharing it, per view team, as the
// standings' own pass ranks `season`.
std::vector<race::Placing> standingsOf(const Generated &g, Season &season,
                                       const OrderSettings &order)
{
    const RecalculateResult pass = RecalculateView(season, order, LeagueOne);
    const PublishedStandings &rows = *pass.Published;
    std::vector<race::Placing> out;
    for (int team : g.view) {
        race::Placing p{0, 0};
        for (int r = 1; r <= rows.Rows.size(); ++r) {
            if (rows.Rows[r].TeamNo == team) {
                p.Rank = rows.Rows[r].Rank;
            }
        }
        for (int r = 1; r <= rows.Rows.size(); ++r) {
            p.Shared += rows.Rows[r].Rank == p.Rank ? 1 : 0;
        }
        out.push_back(p);
    }
    return out;
}

int openWinsOf(int team, const Certificate &outcome)
{
    int wins = 0;
    for (const race::CardOutcome &o : outcome) {
        wins += o.Team == team ? o.Wins : (o.Opponent == team ? o.Losses : 0);
    }
    return wins;
}

// The standings once the outcome is loaded as the window loads it.
std::vector<race::Placing> replay(const Generated &g, const OrderSettings &order,
                                  const Certificate &outcome)
{
    Season season = g.season;
    race::ApplyCertificate(season, outcome);
    return standingsOf(g, season, order);
}

// Every card of the outcome used up, no more: what a replay must show.
bool complete(const Generated &g, const Certificate &outcome)
{
    Season season = g.season;
    race::ApplyCertificate(season, outcome);
    for (const OpenCard &card : g.open) {
        if (TeamTotals(season, card.a, g.scope, card.b).Remaining != 0) {
            return false;
        }
    }
    return std::all_of(g.view.begin(), g.view.end(),
                       [&](int team) { return TeamTotals(season, team, g.scope).Remaining == 0; });
}

int lastPlace(const race::Placing &p)
{
    return p.Rank + p.Shared - 1;
}

// Every outcome of the open cards, entered card by card as simulated
// results of `work` (which must be in simulation mode) and taken back.
void forEachOutcome(const std::vector<OpenCard> &open, Season &work,
                    const std::function<void(const Certificate &)> &visit)
{
    Certificate outcome(open.size());
    auto enter = [&work](const race::CardOutcome &o, int sign) {
        auto add = [sign](std::int16_t &cell, int value) {
            cell = static_cast<std::int16_t>(cell + sign * value);
        };
        add(work.SimResults[o.Team].Wins[o.Opponent], o.Wins);
        add(work.SimResults[o.Team].Losses[o.Opponent], o.Losses);
        add(work.SimResults[o.Team].Draws[o.Opponent], o.Draws);
        add(work.SimResults[o.Opponent].Wins[o.Team], o.Losses);
        add(work.SimResults[o.Opponent].Losses[o.Team], o.Wins);
        add(work.SimResults[o.Opponent].Draws[o.Team], o.Draws);
    };
    std::function<void(std::size_t)> walk = [&](std::size_t c) {
        if (c == open.size()) {
            visit(outcome);
            return;
        }
        const OpenCard &card = open[c];
        for (int w = 0; w <= card.games; ++w) {
            for (int d = 0; d <= (card.draws ? card.games - w : 0); ++d) {
                outcome[c] = {card.a, card.b, w, card.games - w - d, d};
                enter(outcome[c], 1);
                walk(c + 1);
                enter(outcome[c], -1);
            }
        }
    };
    walk(0);
}

race::RaceRequest requestFor(std::vector<int> teams, int scope, int judgment, int topK)
{
    race::RaceRequest request;
    request.Teams = std::move(teams);
    request.GameScope = scope;
    request.Judgment = judgment;
    request.TopK = topK;
    request.TimeLimit = std::chrono::seconds(10);
    return request;
}

// The race request of a generated season's view, as the window makes it.
race::RaceRequest viewRequest(const Generated &g, const OrderSettings &order, int topK)
{
    Season asked = g.season;
    const RecalculateResult pass = RecalculateView(asked, order, LeagueOne);
    race::RaceRequest request =
        race::RaceRequestForView(asked, *pass.Published, LeagueOne, topK, order.GameCountRule);
    request.Teams = g.view;
    return request;
}

// Every outcome of a generated season's open cards, with where the
// standings then place each team of the view.
void forEachPlacing(
    const Generated &g, const OrderSettings &order,
    const std::function<void(const Certificate &, const std::vector<race::Placing> &)> &visit)
{
    Season work = g.season;
    if (work.SimMode == 0) {
        work.resetSimResults();
        work.SimMode = 1;
    }
    forEachOutcome(g.open, work, [&](const Certificate &outcome) {
        visit(outcome, standingsOf(g, work, order));
    });
}

Answer answer(bool value)
{
    return value ? Answer::Yes : Answer::No;
}

struct Expected
{
    bool fails = false, beaten = false, reaches = false, reachesWithTie = false;
    bool failsWinningOut = false;
    int mostFailingWins = -1;
};

TEST(RaceTest, AgreesWithEveryOutcomeOfSmallSeasons)
{
    std::mt19937 random(17);
    int tieBreaks = 0;
    int open = 0;
    for (int round = 0; round < 120; ++round) {
        Generated g = generate(random);
        const OrderSettings order = judge(g, random);
        const int topK = std::uniform_int_distribution<int>(2, 3)(random);
        race::RaceRequest request = viewRequest(g, order, topK);
        // The answers must not depend on time: a sanitizer build is slow.
        request.TimeLimit = std::chrono::minutes(2);
        request.TotalTimeLimit = std::chrono::minutes(20);
        const race::RaceAnalysis analysis = race::AnalyzeRace(g.season, request);
        ASSERT_EQ(analysis.Status, race::RaceStatus::Analysed);
        ASSERT_FALSE(analysis.ScheduleMismatch);
        const bool partPercentage =
            g.scope == ScopeOfficial &&
            std::any_of(request.Conditions.begin(), request.Conditions.end(),
                        [](int code) { return code == 3 || code == 5; });
        ASSERT_EQ(analysis.Teams.size(), g.view.size());

        const std::size_t n = g.view.size();
        std::vector<int> remaining(n, 0);
        for (const OpenCard &card : g.open) {
            for (std::size_t x = 0; x < n; ++x) {
                remaining[x] += g.view[x] == card.a || g.view[x] == card.b ? card.games : 0;
            }
        }
        std::vector<std::array<Expected, 2>> expected(n);
        forEachPlacing(g, order,
                       [&](const Certificate &outcome, const std::vector<race::Placing> &placings) {
                           for (std::size_t x = 0; x < n; ++x) {
                               const int openWins = openWinsOf(g.view[x], outcome);
                               for (int which = 0; which < 2; ++which) {
                                   const int k = which == 0 ? 1 : topK;
                                   Expected &e = expected[x][which];
                                   const bool fails = lastPlace(placings[x]) > k;
                                   e.fails |= fails;
                                   e.beaten |= placings[x].Rank > k;
                                   e.reaches |= !fails;
                                   e.reachesWithTie |= placings[x].Rank <= k;
                                   if (fails) {
                                       e.failsWinningOut |= openWins == remaining[x];
                                       e.mostFailingWins = std::max(e.mostFailingWins, openWins);
                                   }
                               }
                           }
                       });

        for (std::size_t x = 0; x < n; ++x) {
            for (int which = 0; which < 2; ++which) {
                const int k = which == 0 ? 1 : topK;
                const Expected &e = expected[x][which];
                const RaceState &got = which == 0 ? analysis.Teams[x].Title : analysis.Teams[x].Top;
                tieBreaks += got.TieBreakApplied ? 1 : 0;
                // A percentage in one part of the season, where remaining
                // games may end drawn, is not linear, and the games-played
                // rule reorders level rows by the list: there the analysis
                // may leave an answer open after a bounded search, never
                // guess it.
                if ((partPercentage || order.GameCountRule != 0) &&
                    (got.Sure == Answer::Unknown || got.Possible == Answer::Unknown ||
                     got.PossibleWithTie == Answer::Unknown || got.OwnPower == Answer::Unknown ||
                     !got.MagicDecided)) {
                    ++open;
                    continue;
                }
                SCOPED_TRACE(::testing::Message()
                             << "round " << round << ", team " << g.view[x] << ", k " << k
                             << ", judgment " << g.judgment << ", conditions "
                             << request.Conditions.front() << ", rule " << order.GameCountRule);
                EXPECT_EQ(got.Sure, answer(!e.fails));
                EXPECT_EQ(got.SureUnlessTied, answer(!e.beaten));
                EXPECT_EQ(got.Possible, answer(e.reaches));
                EXPECT_EQ(got.PossibleWithTie, answer(e.reachesWithTie));
                EXPECT_EQ(got.OwnPower, answer(!e.failsWinningOut));
                EXPECT_TRUE(got.MagicDecided);
                std::optional<int> magic;
                if (!e.fails) {
                    magic = 0;
                } else if (!e.failsWinningOut) {
                    magic = e.mostFailingWins + 1;
                }
                EXPECT_EQ(got.Magic, magic);

                // Every certificate loaded as the window loads it ranks the
                // team as claimed.
                EXPECT_EQ(got.Reach.has_value(), e.reachesWithTie);
                if (got.Reach) {
                    ASSERT_TRUE(complete(g, *got.Reach));
                    const race::Placing p = replay(g, order, *got.Reach)[x];
                    EXPECT_EQ(got.ReachNeedsTie, !e.reaches);
                    EXPECT_LE(got.ReachNeedsTie ? p.Rank : lastPlace(p), k);
                }
                EXPECT_EQ(got.WinOutFailure.has_value(), e.failsWinningOut);
                if (got.WinOutFailure) {
                    ASSERT_TRUE(complete(g, *got.WinOutFailure));
                    EXPECT_EQ(openWinsOf(g.view[x], *got.WinOutFailure), remaining[x]);
                    EXPECT_GT(lastPlace(replay(g, order, *got.WinOutFailure)[x]), k);
                }
            }
        }
    }
    // The conditions decided some of these answers, not the measure alone.
    EXPECT_GT(tieBreaks, 20);
    EXPECT_LE(open, 12);
}

// Published wins-only elimination instances: wins, losses, and the games
// left against each team of the division; whatever else a team has left is
// played against teams outside it (here a team of another league).
struct ClassicTeam
{
    const char16_t *name;
    int wins, losses, left;
    std::vector<int> against;
};

struct ClassicCase
{
    const char *name;
    std::vector<ClassicTeam> teams;
    std::vector<Text> eliminated;
};

// What the analysis relies on when it gives up every outcome with the same
// records at the top at once: once the records of a team and of every
// team level with it or better are fixed, and every other team is behind
// it, the standings place the team by the series between teams the
// conditions leave level up to the series (each side's reading) alone.
// Four teams level so far, two games left in every pair: the same records
// come with many ways the series go, cycles among them. With `leaders`, two
// teams listed after them that beat them all and still meet twice: the
// sort picks those two first, in the order their own meetings decide, and
// that order moves the four about in the list.
Generated levelFour(int judgment, bool draws, bool leaders = false)
{
    Generated g;
    test::SeasonBuilder builder;
    const int teams = leaders ? 6 : 4;
    for (int t = 1; t <= teams; ++t) {
        g.view.push_back(builder.addTeam(u"L" + std::u16string(1, char16_t(u'0' + t)), 1));
    }
    builder.intCounts(1).drawReplay(draws ? 1 : 0, draws ? 1 : 0, 1);
    for (int a = 1; a <= 4; ++a) {
        for (int b = a + 1; b <= 4; ++b) {
            builder.card(a, b, 4);
            builder.result(a, b, 1, 1);
            g.open.push_back({a, b, 2, draws});
        }
        for (int b = 5; b <= teams; ++b) {
            builder.card(a, b, 4);
            builder.result(a, b, 0, 4);
        }
    }
    if (leaders) {
        builder.card(5, 6, 2);
        g.open.push_back({5, 6, 2, false});
    }
    g.season = builder.build();
    g.season.HasSeason = true;
    g.judgment = judgment;
    return g;
}

// Also the replay of the sort that the splits of the top follow: given
// every series and the order the rows ahead were picked in, it must tell
// for each k whether the team misses or is passed, as the standings do.
TEST(RaceTest, RecordsAtTheTopAndTheSeriesLeftToTheSortDecideThePlace)
{
    int groupsWithSeries = 0;
    int replays = 0;
    auto check = [&](Generated &g, const OrderSettings &order) {
        const std::vector<std::int16_t> &conditions =
            g.season.team(g.view.front()).LeagueJudgment.Conditions;
        if (std::any_of(conditions.begin(), conditions.end(),
                        [](int code) { return code >= 3 && code <= 6; })) {
            return; // records of one part of the season are not fixed by the totals
        }
        const bool byWins = g.judgment == 1;
        Season work = g.season;
        if (work.SimMode == 0) {
            work.resetSimResults();
            work.SimMode = 1;
        }
        const JudgmentView view{g.scope, false};
        const race::RaceRequest request = viewRequest(g, order, 1);
        bool mismatch = false;
        std::optional<race::RaceModel> model = race::BuildRaceModel(g.season, request, mismatch);
        if (order.GameCountRule != 0 || (model && model->listOrder.empty())) {
            model.reset(); // the replay is not used there
        }
        const std::size_t n = g.view.size();
        // Per team, the records at the top and the series left to the sort:
        // the place they gave.
        std::map<std::vector<int>, std::pair<int, int>> placed;
        forEachOutcome(g.open, work, [&](const Certificate &) {
            const RecalculateResult pass = RecalculateView(work, order, LeagueOne);
            const PublishedStandings &rows = *pass.Published;
            std::map<int, const StandingsRow *> row;
            for (int r = 1; r <= rows.Rows.size(); ++r) {
                row[rows.Rows[r].TeamNo] = &rows.Rows[r];
            }
            auto primary = [&](int t) {
                return byWins ? static_cast<double>(row[t]->Wins) : row[t]->Pct;
            };
            auto levelUpToSeries = [&](int a, int b) {
                if (primary(a) != primary(b)) {
                    return false;
                }
                for (const int code : conditions) {
                    if (code == 2) {
                        return true;
                    }
                    const bool other = code == 1 && (byWins ? row[a]->Pct != row[b]->Pct
                                                            : row[a]->Wins != row[b]->Wins);
                    if (code == 0 || code >= 7 || other) {
                        return false;
                    }
                }
                return false;
            };
            for (const int team : g.view) {
                std::vector<int> key{team};
                std::vector<int> top;
                for (const int t : g.view) {
                    const bool atTop = primary(t) >= primary(team);
                    key.push_back(atTop ? row[t]->Wins : -1);
                    key.push_back(atTop ? row[t]->Losses : -1);
                    if (atTop) {
                        top.push_back(t);
                    }
                }
                for (const int a : top) {
                    for (const int b : top) {
                        if (a != b && levelUpToSeries(a, b)) {
                            key.push_back(
                                Ahead(work, view, a, b, AheadCriterion::Series, *row[a], *row[b]));
                            groupsWithSeries += a == team ? 1 : 0;
                        }
                    }
                }
                int shared = 0;
                for (int r = 1; r <= rows.Rows.size(); ++r) {
                    shared += rows.Rows[r].Rank == row[team]->Rank ? 1 : 0;
                }
                const auto [at, fresh] = placed.try_emplace(key, row[team]->Rank, shared);
                EXPECT_TRUE(fresh || at->second == std::pair(row[team]->Rank, shared))
                    << "team " << team;
            }
            if (!model) {
                return;
            }
            std::vector<std::int64_t> wins;
            std::vector<std::int64_t> losses;
            std::vector<std::vector<int>> ways(n, std::vector<int>(n, -1));
            const std::vector<std::vector<char>> mirrored(n, std::vector<char>(n, 0));
            for (std::size_t a = 0; a < n; ++a) {
                const StandingsRow &ra = *row[g.view[a]];
                wins.push_back(ra.Wins);
                losses.push_back(ra.Losses);
                for (std::size_t b = 0; b < n; ++b) {
                    if (a != b) {
                        const int lead = Ahead(work, view, g.view[a], g.view[b],
                                               AheadCriterion::Series, ra, *row[g.view[b]]);
                        ways[a][b] = lead == 1 ? 0 : (lead == 2 ? 1 : 2);
                    }
                }
            }
            for (std::size_t x = 0; x < n; ++x) {
                std::vector<int> top;
                for (std::size_t t = 0; t < n; ++t) {
                    if (primary(g.view[t]) >= primary(g.view[x])) {
                        top.push_back(static_cast<int>(t));
                    }
                }
                const int rank = row[g.view[x]]->Rank;
                int last = rank - 1;
                for (int r = 1; r <= rows.Rows.size(); ++r) {
                    last += rows.Rows[r].Rank == rank ? 1 : 0;
                }
                // The rows strictly ahead on the measure, in the order the
                // sort picked them: given that order, the replay must not
                // need their records.
                std::vector<int> above;
                for (int r = 1; r <= rows.Rows.size(); ++r) {
                    const int t = rows.Rows[r].TeamNo;
                    if (primary(t) > primary(g.view[x])) {
                        above.push_back(static_cast<int>(
                            std::find(g.view.begin(), g.view.end(), t) - g.view.begin()));
                    }
                }
                std::vector<std::int64_t> blurred = wins;
                for (const int v : above) {
                    blurred[static_cast<std::size_t>(v)] += 1000; // still ahead, nothing else
                }
                // The questions the analysis replays the sort for.
                const race::SortRecords ordered{blurred, losses, top, mirrored, above};
                for (int k = 1; k <= static_cast<int>(n); ++k) {
                    for (const auto &[goal, holds] :
                         {std::pair{race::Goal::Miss, last > k}, {race::Goal::Passed, rank > k}}) {
                        const race::SortReplay replay =
                            race::ReplaySort(*model, static_cast<int>(x), goal, k, ordered, ways);
                        EXPECT_EQ(replay.verdict, holds ? race::SortReplay::Verdict::Holds
                                                        : race::SortReplay::Verdict::Fails)
                            << "team " << g.view[x] << " k " << k << " goal "
                            << static_cast<int>(goal);
                        ++replays;
                    }
                }
            }
        });
    };
    std::mt19937 random(24);
    for (int round = 0; round < 80; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        Generated g = generate(random);
        const OrderSettings order = judge(g, random);
        check(g, order);
    }
    for (const auto &[judgment, draws] : {std::pair{0, false}, {1, true}, {0, true}}) {
        for (const std::vector<std::int16_t> &conditions :
             {std::vector<std::int16_t>{2, 1, 0}, {1, 2, 7, 0}, {2, 0}}) {
            SCOPED_TRACE(::testing::Message() << "level four, conditions " << conditions.front());
            Generated g = levelFour(judgment, draws);
            for (int t = 1; t <= 4; ++t) {
                g.season.team(t).LeagueJudgment =
                    JudgmentSet{static_cast<std::int16_t>(judgment), conditions, 0};
            }
            g.season.GameScope = g.scope;
            BuildViewLists(g.season, 1, 0);
            check(g, OrderSettings{2, 0, 0});
        }
    }
    EXPECT_GT(groupsWithSeries, 0);
    EXPECT_GT(replays, 0);
}

// Where the one pair-by-pair problem of a set runs out of work, the set is
// asked again split by which members end level: the splits together must
// answer as the one problem does.
TEST(RaceTest, SetSplitByLevelMembersAnswersAsTheOneProblem)
{
    std::mt19937 random(31);
    int decided = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        Generated g = generate(random);
        const OrderSettings order = judge(g, random);
        const race::RaceRequest request = viewRequest(g, order, 2);
        const int n = static_cast<int>(g.view.size());
        for (int team = 0; team < n; ++team) {
            int remaining = 0;
            for (const OpenCard &card : g.open) {
                remaining += g.view[team] == card.a || g.view[team] == card.b ? card.games : 0;
            }
            for (int a = 0; a < n; ++a) {
                for (int b = a + 1; b < n; ++b) {
                    if (a == team || b == team) {
                        continue;
                    }
                    const int wins = std::uniform_int_distribution<int>(0, remaining)(random);
                    const auto [one, split] =
                        race::PairwiseSetBothWays(g.season, request, team, wins, {a, b});
                    if (one != Answer::Unknown && split != Answer::Unknown) {
                        EXPECT_EQ(one, split) << "team " << team << " wins " << wins;
                        ++decided;
                    }
                }
            }
        }
    }
    EXPECT_GT(decided, 100);
}

// Where the series can cycle, the rivals level or better are split into
// those ahead and those level and the sort is replayed: wherever that
// answers, it must answer as every outcome does.
TEST(RaceTest, SplitsOfTheTopAnswerAsEveryOutcome)
{
    int decided = 0;
    int noOutcome = 0;
    auto check = [&](Generated &g, const std::vector<std::int16_t> &conditions) {
        for (int t = 1; t <= g.season.TeamCount(); ++t) {
            g.season.team(t).LeagueJudgment = JudgmentSet{0, conditions, 0};
            g.season.team(t).IntJudgment = g.season.team(t).LeagueJudgment;
        }
        g.judgment = 0;
        g.season.GameScope = g.scope;
        BuildViewLists(g.season, 1, 0);
        const OrderSettings order{2, 0, 0};
        const int n = static_cast<int>(g.view.size());
        // Per team, its wins and k: whether it missed, whether it was passed.
        std::map<std::array<int, 3>, std::pair<bool, bool>> seen;
        forEachPlacing(
            g, order, [&](const Certificate &outcome, const std::vector<race::Placing> &placings) {
                for (int x = 0; x < n; ++x) {
                    bool drew = false;
                    for (const race::CardOutcome &o : outcome) {
                        drew |= (o.Team == g.view[x] || o.Opponent == g.view[x]) && o.Draws > 0;
                    }
                    for (int k = 1; k < n && !drew; ++k) {
                        auto &[missed, passed] = seen[{x, openWinsOf(g.view[x], outcome), k}];
                        missed |= lastPlace(placings[x]) > k;
                        passed |= placings[x].Rank > k;
                    }
                }
            });
        const race::RaceRequest request = viewRequest(g, order, 1);
        for (const auto &[key, truth] : seen) {
            const auto [x, wins, k] = key;
            for (const auto &[goal, holds] :
                 {std::pair{race::Goal::Miss, truth.first}, {race::Goal::Passed, truth.second}}) {
                const Answer got = race::TopSplitsAnswer(g.season, request, x, goal, k, wins);
                if (got != Answer::Unknown) {
                    EXPECT_EQ(got, answer(holds))
                        << "team " << g.view[x] << " wins " << wins << " k " << k << " goal "
                        << static_cast<int>(goal);
                    ++decided;
                    noOutcome += got == Answer::No ? 1 : 0;
                }
            }
        }
    };
    std::mt19937 random(41);
    const std::vector<std::vector<std::int16_t>> seriesLists{{2, 1, 0}, {1, 2, 7, 0}, {2, 0}};
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        Generated g = generate(random);
        check(g, seriesLists[static_cast<std::size_t>(round) % seriesLists.size()]);
    }
    for (const auto &[draws, leaders] : {std::pair{false, false}, {true, false}, {false, true}}) {
        for (const std::vector<std::int16_t> &conditions : seriesLists) {
            SCOPED_TRACE(::testing::Message() << "level four, conditions " << conditions.front()
                                              << (leaders ? ", two leaders" : ""));
            Generated g = levelFour(0, draws, leaders);
            check(g, conditions);
        }
    }
    EXPECT_GT(decided, 2000);
    EXPECT_GT(noOutcome, 500);
}

TEST(RaceTest, ClassicEliminationInstances)
{
    const std::vector<ClassicCase> cases{
        // The second team can still reach the leader's 83 wins, and the
        // fourth can pass the third, yet both are out.
        {"four teams",
         {{u"A", 83, 71, 8, {0, 1, 6, 1}},
          {u"B", 80, 79, 3, {1, 0, 0, 2}},
          {u"C", 78, 78, 6, {6, 0, 0, 0}},
          {u"D", 77, 82, 3, {1, 2, 0, 0}}},
         {u"B", u"D"}},
        // The last team can reach 76 wins, more than anyone has now, but the
        // other four must share 27 games among themselves.
        {"five teams with games outside the division",
         {{u"A", 75, 59, 28, {0, 3, 8, 7, 3}},
          {u"B", 71, 63, 28, {3, 0, 2, 7, 7}},
          {u"C", 69, 66, 27, {8, 2, 0, 0, 3}},
          {u"D", 63, 72, 27, {7, 7, 0, 0, 3}},
          {u"E", 49, 86, 27, {3, 7, 3, 3, 0}}},
         {u"E"}},
    };
    for (const ClassicCase &c : cases) {
        SCOPED_TRACE(c.name);
        test::SeasonBuilder builder;
        std::vector<int> view;
        for (const ClassicTeam &t : c.teams) {
            view.push_back(builder.addTeam(t.name, 1));
        }
        const int outside = builder.addTeam(u"O", 2);
        builder.intCounts(1).drawReplay(0, 0, 0);
        for (std::size_t i = 0; i < c.teams.size(); ++i) {
            const ClassicTeam &t = c.teams[i];
            int inDivision = 0;
            for (std::size_t j = i + 1; j < c.teams.size(); ++j) {
                builder.card(view[i], view[j], t.against[j]);
            }
            for (int games : t.against) {
                inDivision += games;
            }
            builder.card(view[i], outside, t.wins + t.losses + t.left - inDivision);
            builder.result(view[i], outside, t.wins, t.losses);
        }
        Season season = builder.build();
        season.HasSeason = true;
        const race::RaceAnalysis analysis =
            race::AnalyzeRace(season, requestFor(view, ScopeOfficial, 1, 1));
        ASSERT_EQ(analysis.Status, race::RaceStatus::Analysed);
        std::vector<Text> eliminated;
        for (const race::TeamRace &t : analysis.Teams) {
            // Eliminated: no outcome leaves the team with at least as many
            // wins as everyone else.
            if (t.Title.PossibleWithTie == Answer::No) {
                eliminated.push_back(season.team(t.TeamNo).TeamName);
            }
        }
        EXPECT_EQ(eliminated, c.eliminated);
    }
}

TEST(RaceTest, OutOfTimeAnswersUnknownNeverWrong)
{
    std::mt19937 random(3);
    Generated g = generate(random);
    while (g.open.size() < 4) {
        g = generate(random);
    }
    race::RaceRequest request = requestFor(g.view, g.scope, g.judgment, 2);
    const race::RaceAnalysis full = race::AnalyzeRace(g.season, request);
    request.TotalTimeLimit = std::chrono::milliseconds(0);
    const race::RaceAnalysis none = race::AnalyzeRace(g.season, request);
    EXPECT_EQ(none.SolverCalls, 0);
    int unknown = 0;
    for (std::size_t t = 0; t < g.view.size(); ++t) {
        for (auto state : {&race::TeamRace::Title, &race::TeamRace::Top}) {
            const RaceState &a = full.Teams[t].*state;
            const RaceState &b = none.Teams[t].*state;
            for (auto field : {&RaceState::Sure, &RaceState::SureUnlessTied, &RaceState::Possible,
                               &RaceState::PossibleWithTie, &RaceState::OwnPower}) {
                unknown += b.*field == Answer::Unknown ? 1 : 0;
                EXPECT_TRUE(b.*field == Answer::Unknown || b.*field == a.*field);
            }
            EXPECT_TRUE(!b.MagicDecided || b.Magic == a.Magic);
            EXPECT_EQ(b.Reach.has_value(), b.PossibleWithTie == Answer::Yes);
        }
    }
    EXPECT_GT(unknown, 0);
}

// A search that runs out of its work ends as out of time, never as an
// answer (nor as stopped from outside). Even numbers cannot add up
// to an odd one, which the relaxation cannot see, so the search branches.
TEST(RaceTest, WorkLimitEndsTheSearchWithoutAnAnswer)
{
    auto parity = [] {
        race::IntegerProgram ip;
        std::vector<race::IntegerProgram::Term> terms;
        for (int i = 0; i < 9; ++i) {
            terms.push_back({ip.addVariable(0, 1), 2});
        }
        ip.addRow(terms, 9, 9);
        return ip;
    };
    race::IntegerProgram unlimited = parity();
    EXPECT_EQ(unlimited.solve(std::chrono::seconds(30)), race::IntegerProgram::Outcome::Infeasible);
    race::IntegerProgram limited = parity();
    limited.setWorkLimit(1);
    EXPECT_EQ(limited.solve(std::chrono::seconds(30)), race::IntegerProgram::Outcome::TimedOut);
}

// The window analyses on a worker thread of a pool. The solver keeps memory
// for each thread that used it; an analysis gives it back before returning,
// or every such thread would leave it behind (the sanitizer run's leak check
// sees that) -- and the next analysis on the same thread must still work.
TEST(RaceTest, AnalysisOnAWorkerThreadLeavesNothingBehind)
{
    std::mt19937 random(5);
    Generated g = generate(random);
    while (g.open.size() < 4) {
        g = generate(random);
    }
    const race::RaceRequest request = requestFor(g.view, g.scope, g.judgment, 2);
    const race::RaceAnalysis expected = race::AnalyzeRace(g.season, request);
    ASSERT_GT(expected.SolverCalls, 0);
    std::vector<race::RaceAnalysis> onWorker;
    std::thread worker([&] {
        onWorker.push_back(race::AnalyzeRace(g.season, request));
        onWorker.push_back(race::AnalyzeRace(g.season, request));
    });
    worker.join();
    for (const race::RaceAnalysis &analysis : onWorker) {
        ASSERT_EQ(analysis.Teams.size(), expected.Teams.size());
        for (std::size_t t = 0; t < expected.Teams.size(); ++t) {
            EXPECT_EQ(analysis.Teams[t].Title.Possible, expected.Teams[t].Title.Possible);
            EXPECT_EQ(analysis.Teams[t].Top.Sure, expected.Teams[t].Top.Sure);
            EXPECT_EQ(analysis.Teams[t].Title.Magic, expected.Teams[t].Title.Magic);
        }
    }
}

TEST(RaceTest, MarksReadTheStrongestStateThatHolds)
{
    const Answer Y = Answer::Yes, N = Answer::No, U = Answer::Unknown;
    struct Case
    {
        Answer sure, possible, possibleWithTie, ownPower;
        const char16_t *mark;
    };
    for (const Case &c : std::vector<Case>{{Y, Y, Y, Y, u"確定"},
                                           {N, Y, Y, Y, u"自力"},
                                           {N, Y, Y, N, u"他力"},
                                           {N, N, Y, N, u"同率次第"},
                                           {N, N, N, N, u"消滅"},
                                           {N, Y, Y, U, u"不明"},
                                           {U, U, U, U, u"不明"}}) {
        RaceState state;
        state.Sure = c.sure;
        state.Possible = c.possible;
        state.PossibleWithTie = c.possibleWithTie;
        state.OwnPower = c.ownPower;
        EXPECT_EQ(race::RaceMark(state), Text(c.mark));
    }
}

TEST(RaceTest, ScheduleThatCannotBePlayedOutIsRefused)
{
    Season season =
        test::SeasonBuilder::oneLeague({u"A", u"B", u"C"}, 2).result(1, 2, 3, 0).build();
    season.HasSeason = true;
    const race::RaceAnalysis analysis =
        race::AnalyzeRace(season, requestFor({1, 2, 3}, ScopeOfficial, 0, 2));
    EXPECT_EQ(analysis.Status, race::RaceStatus::ScheduleInconsistent);
    EXPECT_TRUE(analysis.Teams.empty());
}

} // namespace
} // namespace penarin
