#include "standings/judgment.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace penarin;
using penarin::test::SeasonBuilder;

namespace {

constexpr JudgmentView LeagueView{ScopeOfficial, false};

StandingsRow tiedRow(int team, int wins = 5, int played = 10)
{
    StandingsRow r;
    r.TeamNo = team;
    r.Wins = wins;
    r.Losses = wins;
    r.Played = played;
    r.Pct = 0.5;
    r.UserRankA = r.UserRankB = r.UserRankC = team;
    return r;
}

JudgmentSet byPct(std::vector<std::int16_t> conditions)
{
    return JudgmentSet{0, std::move(conditions), 0};
}

Season twoTeams(int games)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.card(1, 2, games);
    return b.build();
}

} // namespace

TEST(Ahead, MeasuresCompareTheWorstOfAWithTheBestOfB)
{
    const Season season = twoTeams(10);
    StandingsRow a = tiedRow(1);
    StandingsRow b = tiedRow(2);
    a.MinPct = 0.6;
    b.MaxPct = 0.6;
    a.Wins = 8;
    b.MaxWins = 7;
    EXPECT_EQ(Ahead(season, LeagueView, 1, 2, AheadCriterion::Percentage, a, b), 2);
    EXPECT_EQ(Ahead(season, LeagueView, 1, 2, AheadCriterion::Wins, a, b), 1);
    b.MaxPct = 0.61;
    b.MaxWins = 9;
    EXPECT_EQ(Ahead(season, LeagueView, 1, 2, AheadCriterion::Percentage, a, b), 0);
    EXPECT_EQ(Ahead(season, LeagueView, 1, 2, AheadCriterion::Wins, a, b), 0);
}

TEST(Ahead, SeriesUsesTheDrawRuleOfTheView)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1, 1);
    b.addTeam(u"B", 1, 1);
    b.addTeam(u"C", 1, 1);
    b.card(1, 2, 10).result(1, 2, 5, 3, 2).card(1, 3, 10).result(1, 3, 6, 0);
    b.drawReplay(0, 1, 0);
    Season season = b.build();
    const StandingsRow none;
    auto series = [&](int a, int bTeam, JudgmentView view) {
        return Ahead(season, view, a, bTeam, AheadCriterion::Series, none, none);
    };
    // Replayed draws leave B five games: level at best. Unreplayed ones leave three.
    EXPECT_EQ(series(1, 2, LeagueView), 2);
    EXPECT_EQ(series(1, 2, JudgmentView{ScopeLeague, true}), 1);
    EXPECT_EQ(series(2, 1, JudgmentView{ScopeLeague, true}), 0);
    EXPECT_EQ(series(1, 3, LeagueView), 1);

    // Simulated wins count in simulation mode only.
    season.SimResults[2].Wins[1] = 3;
    season.SimResults[1].Losses[2] = 3;
    EXPECT_EQ(series(2, 1, LeagueView), 0);
    season.SimMode = 1;
    EXPECT_EQ(series(2, 1, LeagueView), 1); // 6 wins against at most 10 - 6 - 2 * 0
}

TEST(Ahead, SeriesWithoutACardCountsAsWonFromBothSides)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 2);
    const Season season = b.build();
    const StandingsRow none;
    EXPECT_EQ(Ahead(season, LeagueView, 1, 2, AheadCriterion::Series, none, none), 1);
    EXPECT_EQ(Ahead(season, LeagueView, 2, 1, AheadCriterion::Series, none, none), 1);
}

TEST(AheadTables, MeasureTablesOnlyInTheOfficialScope)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.addTeam(u"C", 1);
    b.addTeam(u"X", 2);
    b.roundRobin(2, 2);
    // Team 1 has won both its league cards and its interleague card.
    b.result(1, 2, 2, 0).result(1, 3, 2, 0).result(1, 4, 2, 0);
    const Season season = b.build();

    OneBased<StandingsRow> rows, league, inter;
    for (int team : {1, 2}) { // team 3 is not in the view
        rows.push_back(MakeStandingsRow(season, team, TeamTotals(season, team, ScopeOfficial)));
        league.push_back(MakeStandingsRow(season, team, TeamTotals(season, team, ScopeLeague)));
        inter.push_back(MakeStandingsRow(season, team, TeamTotals(season, team, ScopeInterleague)));
    }
    const AheadTables official = BuildAheadTables(season, LeagueView, rows, 2, league, inter);
    EXPECT_EQ(official.at(AheadTables::Series, 1, 2), 1);
    EXPECT_EQ(official.at(AheadTables::Series, 2, 1), 0);
    EXPECT_EQ(official.at(AheadTables::LeaguePct, 1, 2), 1);  // 1.000 against .500 at best
    EXPECT_EQ(official.at(AheadTables::LeagueWins, 1, 2), 1); // 4 against 2 at most
    // B has both interleague games still to play: it can draw level.
    EXPECT_EQ(official.at(AheadTables::InterleaguePct, 1, 2), 2);
    EXPECT_EQ(official.at(AheadTables::InterleagueWins, 1, 2), 2);
    EXPECT_EQ(official.at(AheadTables::InterleagueWins, 2, 1), 0);
    EXPECT_EQ(official.at(AheadTables::Series, 1, 3), 0);
    EXPECT_EQ(official.at(AheadTables::Series, 1, 1), 0);

    const AheadTables leagueOnly =
        BuildAheadTables(season, JudgmentView{ScopeLeague, false}, league, 2, league, inter);
    EXPECT_EQ(leagueOnly.at(AheadTables::Series, 1, 2), 1);
    EXPECT_EQ(leagueOnly.at(AheadTables::LeagueWins, 1, 2), 0);
}

TEST(AheadTables, OnlyTheTablesTheConditionsRead)
{
    const unsigned series = 1U << AheadTables::Series;
    const unsigned leaguePct = 1U << AheadTables::LeaguePct;
    const unsigned interWins = 1U << AheadTables::InterleagueWins;
    struct Case
    {
        std::vector<std::int16_t> conditions;
        int scope;
        unsigned tables;
    } const cases[] = {
        {{1, 2, 7, 0}, ScopeOfficial, series},  {{3, 6, 3}, ScopeOfficial, leaguePct | interWins},
        {{3, 6, 2}, ScopeLeague, series}, // league and interleague measures need official games
        {{1, 0, 2, 3}, ScopeOfficial, 0}, // nothing after the end is read
        {{7, 11, 2}, ScopeInterleague, series}, {{}, ScopeOfficial, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(AheadTables::TablesRead(c.conditions, c.scope), c.tables)
            << "first code " << (c.conditions.empty() ? -1 : c.conditions.front()) << " scope "
            << c.scope;
    }

    // A table left out reads 0 and takes no writes; the others are as a full build.
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.roundRobin(2);
    b.result(1, 2, 2, 0);
    const Season season = b.build();
    OneBased<StandingsRow> rows;
    for (int team : {1, 2}) {
        rows.push_back(MakeStandingsRow(season, team, TeamTotals(season, team, ScopeOfficial)));
    }
    AheadTables some;
    BuildAheadTables(some, leaguePct, season, LeagueView, rows, 2, rows, rows);
    some.set(AheadTables::Series, 1, 2, 1);
    EXPECT_EQ(some.at(AheadTables::Series, 1, 2), 0);
    EXPECT_EQ(
        some.at(AheadTables::LeaguePct, 1, 2),
        BuildAheadTables(season, LeagueView, rows, 2, rows, rows).at(AheadTables::LeaguePct, 1, 2));
    EXPECT_EQ(some.at(AheadTables::LeaguePct, 1, 2), 1);
}

// A series table filled on reading reads what a built one holds: every pair
// of the view, in simulation too, and 0 for a team outside the view.
TEST(AheadTables, SeriesFilledOnReadingMatchesTheBuiltTable)
{
    SeasonBuilder b;
    for (const char16_t *name : {u"A", u"B", u"C", u"D", u"E"}) {
        b.addTeam(name, 1);
    }
    b.roundRobin(6);
    b.result(1, 2, 4, 1).result(2, 3, 2, 3).result(3, 4, 3, 3).result(1, 5, 0, 5);
    Season season = b.build();
    season.SimMode = 1;
    season.SimResults[2].Wins[1] = 1;
    season.SimResults[2].Draws[1] = 1;
    OneBased<StandingsRow> rows;
    for (int team : {3, 1, 4, 2}) {
        rows.push_back(MakeStandingsRow(season, team, TeamTotals(season, team, ScopeOfficial)));
    }
    for (const JudgmentView view :
         {JudgmentView{ScopeLeague, false}, JudgmentView{ScopeOfficial, true}}) {
        const AheadTables built = BuildAheadTables(season, view, rows, 4);
        AheadTables onRead;
        BuildAheadTables(onRead, AheadTables::AllTables, season, view, rows, 4, rows, rows, true);
        for (int a = 0; a <= 6; ++a) {
            for (int c = 0; c <= 6; ++c) {
                // Twice: the second read comes from the filled entry.
                EXPECT_EQ(onRead.at(AheadTables::Series, a, c), built.at(AheadTables::Series, a, c))
                    << a << " " << c;
                EXPECT_EQ(onRead.at(AheadTables::Series, a, c),
                          built.at(AheadTables::Series, a, c));
            }
        }
    }
}

TEST(JudgmentOrder, EachConditionBreaksOrKeepsTheTie)
{
    AheadTables tables(4);
    const StandingsRow best = tiedRow(2);
    StandingsRow challenger = tiedRow(3);
    auto movesUp = [&](std::vector<std::int16_t> conditions, int scope = ScopeOfficial,
                       int rule = 0) {
        const JudgmentOrder order(byPct(std::move(conditions)), tables, scope);
        return order.challengerMovesUp(best, challenger, rule);
    };

    // Code 1, the other measure: more wins moves up, fewer ends the walk, equal goes on.
    challenger.Wins = 6;
    EXPECT_TRUE(movesUp({1, 0}));
    challenger.Wins = 4;
    challenger.TeamNo = 1;
    EXPECT_FALSE(movesUp({1, 7, 0}));
    challenger.Wins = 5;
    EXPECT_TRUE(movesUp({1, 7, 0}));
    EXPECT_FALSE(movesUp({0, 7}));
    challenger.TeamNo = 3;

    // Codes 2 to 6 read their table: 1 moves up, 2 goes on, 0 ends the walk.
    const AheadTables::Table tableOfCode[] = {AheadTables::Series, AheadTables::LeaguePct,
                                              AheadTables::LeagueWins, AheadTables::InterleaguePct,
                                              AheadTables::InterleagueWins};
    for (std::int16_t code = 2; code <= 6; ++code) {
        SCOPED_TRACE(code);
        const AheadTables::Table table = tableOfCode[code - 2];
        challenger.UserRankA = 1;
        tables.set(table, 3, 2, 1);
        EXPECT_TRUE(movesUp({code, 0}));
        tables.set(table, 3, 2, 2);
        EXPECT_TRUE(movesUp({code, 8, 0}));
        tables.set(table, 3, 2, 0);
        EXPECT_FALSE(movesUp({code, 8, 0}));
        // Outside the official scope only the series is read.
        EXPECT_EQ(movesUp({code, 8, 0}, ScopeLeague), code != 2);
        challenger.UserRankA = 3;
    }

    // Codes 7 to 10: a smaller value moves up, anything else ends the walk.
    challenger.UserRankA = 2;
    challenger.UserRankB = 1;
    EXPECT_FALSE(movesUp({8, 9, 0})); // equal UserRankA does not fall through
    EXPECT_TRUE(movesUp({9, 0}));
    challenger.UserRankC = 1;
    EXPECT_TRUE(movesUp({10, 0}));
    EXPECT_FALSE(movesUp({7, 10, 0}));
    EXPECT_TRUE(movesUp({11, -3, 10})); // unknown codes are passed over

    // The game count closes every walk, without team numbers.
    challenger.TeamNo = 1;
    challenger.Played = 9;
    EXPECT_FALSE(movesUp({0}));
    EXPECT_TRUE(movesUp({0}, ScopeOfficial, 1));
    EXPECT_TRUE(movesUp({8, 0}, ScopeOfficial, 1)); // even after a condition kept the best
    EXPECT_FALSE(movesUp({0}, ScopeOfficial, 2));
}

TEST(JudgmentOrder, PrimaryMeasureFollowsTheJudgment)
{
    const AheadTables tables(3);
    StandingsRow best = tiedRow(2);
    StandingsRow challenger = tiedRow(1, 6);
    challenger.Pct = 0.4;
    EXPECT_FALSE(JudgmentOrder(byPct({0}), tables, 0).challengerMovesUp(best, challenger, 0));
    EXPECT_TRUE(
        JudgmentOrder(JudgmentSet{1, {0}, 0}, tables, 0).challengerMovesUp(best, challenger, 0));
    // Equal wins under the wins judgment: code 1 compares pct, and the
    // lower pct ends the walk before the grid order is asked.
    best.Wins = 6;
    EXPECT_FALSE(
        JudgmentOrder(JudgmentSet{1, {1, 7}, 0}, tables, 0).challengerMovesUp(best, challenger, 0));
}

TEST(JudgmentOrder, OrdersAndRanksASeasonBySeriesThenGridOrder)
{
    SeasonBuilder b;
    for (const char16_t *name : {u"A", u"B", u"C", u"D"}) {
        b.addTeam(name, 1);
    }
    b.roundRobin(4);
    // All four stand at .500. Team 3 has won its series with team 2
    // outright; teams 1 and 4 can at best split theirs; teams 2 and 4 have
    // not met yet.
    b.result(3, 2, 3, 0).result(2, 1, 3, 0).result(1, 3, 3, 0).result(1, 4, 2, 2);
    Season season = b.build();
    for (TeamRecord &team : season.Teams) {
        team.LeagueJudgment = byPct({2, 7, 0});
    }

    OneBased<StandingsRow> rows;
    for (int team : {4, 2, 3, 1}) {
        rows.push_back(MakeStandingsRow(season, team, TeamTotals(season, team, ScopeOfficial)));
    }
    const JudgmentSet judgment = JudgmentInForce(season, rows[1].TeamNo, ScopeLeague, false);
    const AheadTables tables = BuildAheadTables(season, {ScopeLeague, false}, rows, 4);
    const JudgmentOrder order(judgment, tables, ScopeLeague);
    const OrderSettings settings{2, 0, 0};
    OrderRows(rows, 4, settings, &order);
    NumberRanks(rows, 4, settings, &order);

    std::vector<int> teams, ranks;
    for (const StandingsRow &r : rows) {
        teams.push_back(r.TeamNo);
        ranks.push_back(r.Rank);
    }
    EXPECT_EQ(teams, (std::vector<int>{1, 3, 2, 4}));
    EXPECT_EQ(ranks, (std::vector<int>{1, 2, 3, 3}));

    // Without conditions the tie stays and shares a rank; the order is the sort's.
    const JudgmentOrder none(byPct({0}), tables, ScopeLeague);
    NumberRanks(rows, 4, settings, &none);
    EXPECT_EQ(rows[4].Rank, 1);
}

TEST(JudgmentOrder, RankWalkTiesWhenTheUpperRowLosesACondition)
{
    AheadTables tables(3);
    const StandingsRow upper = tiedRow(1);
    const StandingsRow lower = tiedRow(2, 6);
    EXPECT_FALSE(JudgmentOrder(byPct({1, 7}), tables, 0).strictlyAhead(upper, lower));
    EXPECT_TRUE(JudgmentOrder(byPct({7}), tables, 0).strictlyAhead(upper, lower));
    tables.set(AheadTables::LeagueWins, 1, 2, 2);
    EXPECT_TRUE(JudgmentOrder(byPct({4, 7}), tables, 0).strictlyAhead(upper, lower));
    EXPECT_FALSE(JudgmentOrder(byPct({4, 0, 7}), tables, 0).strictlyAhead(upper, lower));
}

TEST(JudgmentInForce, InterleagueDivisionOrLeague)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1, 1);
    Season season = b.build();
    season.Teams[1].LeagueJudgment = JudgmentSet{0, {1, 0}, 0};
    season.Teams[1].DivisionJudgment = JudgmentSet{1, {2, 0}, 1};
    season.Teams[1].IntJudgment = JudgmentSet{1, {7, 0}, 2};
    EXPECT_EQ(JudgmentInForce(season, 1, ScopeOfficial, false), season.Teams[1].LeagueJudgment);
    EXPECT_EQ(JudgmentInForce(season, 1, ScopeLeague, true), season.Teams[1].DivisionJudgment);
    EXPECT_EQ(JudgmentInForce(season, 1, ScopeInterleague, false), season.Teams[1].IntJudgment);
}

TEST(JudgmentText, NamesTheChampionshipAndItsConditions)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    const Season counts = b.build();
    const Season apart = b.intCounts(0).build();
    const JudgmentSet winsFirst{1, {1, 2, 7, 0, 8}, 0};
    const JudgmentSet all{0, {3, 4, 11, 5, 6, 8, 9, 10}, 0};

    auto texts = JudgmentText(counts, 1, LeagueView, byPct({1, 2, 7, 0}));
    EXPECT_EQ(texts.Championship, "リーグ勝率");
    EXPECT_EQ(texts.Conditions, "勝数→対戦→対戦表");

    texts = JudgmentText(counts, 1, {ScopeLeague, true}, winsFirst);
    EXPECT_EQ(texts.Championship, "地区勝数");
    EXPECT_EQ(texts.Conditions, "勝率→対戦→対戦表");

    texts = JudgmentText(counts, 2, {ScopeInterleague, false}, byPct({0}));
    EXPECT_EQ(texts.Championship, "交流戦勝率");
    EXPECT_EQ(texts.Conditions, "");

    texts = JudgmentText(counts, 0, {ScopeInterleague, false}, winsFirst);
    EXPECT_EQ(texts.Championship, "交流戦勝数");

    texts = JudgmentText(apart, 0, LeagueView, winsFirst);
    EXPECT_EQ(texts.Championship, "不明");
    EXPECT_EQ(texts.Conditions, "");

    texts = JudgmentText(counts, 1, LeagueView, all);
    EXPECT_EQ(texts.Conditions,
              "リーグ内勝率→リーグ内勝数→→交流戦勝率→交流戦勝数→設定1→設定2→設定3");
    texts = JudgmentText(counts, 1, {ScopeLeague, false}, all);
    EXPECT_EQ(texts.Conditions, "→→→→→設定1→設定2→設定3");
}
