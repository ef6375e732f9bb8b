#include "standings/standings.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace penarin;
using penarin::test::SeasonBuilder;

namespace {

// League 1 has two divisions (teams 1, 2 in the first, 3 in the second),
// league 2 has no divisions (team 4). Team 1 has a division card with 2
// draws, a league-other card with 1 draw and an interleague card with 1 draw.
SeasonBuilder divisionSeason(int leagueDraw, int divisionDraw, int interleagueDraw)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1, 1);
    b.addTeam(u"B", 1, 1);
    b.addTeam(u"C", 1, 2);
    b.addTeam(u"D", 2);
    b.card(1, 2, 10).card(1, 3, 8).card(1, 4, 4).card(2, 3, 8);
    b.result(1, 2, 3, 2, 2).result(1, 3, 2, 1, 1).result(1, 4, 1, 1, 1);
    b.drawReplay(leagueDraw, divisionDraw, interleagueDraw);
    return b;
}

StandingsRow row(int team, int wins, int losses, int draws = 0)
{
    StandingsRow r;
    r.TeamNo = team;
    r.Wins = wins;
    r.Losses = losses;
    r.Draws = draws;
    r.Played = wins + losses + draws;
    r.Surplus = wins - losses;
    r.Pct = wins + losses == 0 ? 0.0 : static_cast<double>(wins) / (wins + losses);
    return r;
}

std::vector<int> teamsInOrder(const OneBased<StandingsRow> &rows)
{
    std::vector<int> teams;
    for (const StandingsRow &r : rows) {
        teams.push_back(r.TeamNo);
    }
    return teams;
}

std::vector<int> ranks(const OneBased<StandingsRow> &rows)
{
    std::vector<int> out;
    for (const StandingsRow &r : rows) {
        out.push_back(r.Rank);
    }
    return out;
}

} // namespace

TEST(TeamTotals, CombinesCategoriesPerScopeWithTheirDrawRules)
{
    // League draws not replayed, division draws replayed, interleague not replayed.
    const Season season = divisionSeason(1, 0, 1).build();

    const TeamTotalsResult league = TeamTotals(season, 1, ScopeLeague);
    EXPECT_EQ(league.Wins, 5);
    EXPECT_EQ(league.Losses, 3);
    EXPECT_EQ(league.Draws, 3);
    EXPECT_EQ(league.Played, 11);
    EXPECT_EQ(league.Remaining, 18 - (8 + 1)); // only the league-other draw uses a game
    EXPECT_DOUBLE_EQ(league.Pct, 5.0 / 8);
    EXPECT_EQ(league.MaxWins, 14);
    EXPECT_EQ(league.MaxLosses, 12);
    EXPECT_DOUBLE_EQ(league.MaxPct, 14.0 / 17);
    EXPECT_DOUBLE_EQ(league.MinPct, 5.0 / 17);

    const TeamTotalsResult official = TeamTotals(season, 1, ScopeOfficial);
    EXPECT_EQ(official.Wins, 6);
    EXPECT_EQ(official.Draws, 4);
    EXPECT_EQ(official.Remaining, 22 - (10 + 1 + 1));

    const TeamTotalsResult inter = TeamTotals(season, 1, ScopeInterleague);
    EXPECT_EQ(inter.Wins, 1);
    EXPECT_EQ(inter.Losses, 1);
    EXPECT_EQ(inter.Draws, 1);
    EXPECT_EQ(inter.Remaining, 4 - 3);

    // The opposite rules: division draws use games, league and interleague ones do not.
    const Season swapped = divisionSeason(0, 1, 0).build();
    EXPECT_EQ(TeamTotals(swapped, 1, ScopeLeague).Remaining, 18 - (8 + 2));
    EXPECT_EQ(TeamTotals(swapped, 1, ScopeOfficial).Remaining, 22 - (10 + 2));
    EXPECT_EQ(TeamTotals(swapped, 1, ScopeInterleague).Remaining, 4 - 2);
}

TEST(TeamTotals, InterleagueVanishesWhenItDoesNotCount)
{
    const Season season = divisionSeason(1, 0, 1).intCounts(0).build();
    const TeamTotalsResult inter = TeamTotals(season, 1, ScopeInterleague);
    EXPECT_EQ(inter.Played, 0);
    EXPECT_EQ(inter.Remaining, 4);
    EXPECT_EQ(TeamTotals(season, 1, ScopeInterleague, 4).Played, 0);

    // The official scope is then the league schedule with league results.
    const TeamTotalsResult official = TeamTotals(season, 1, ScopeOfficial);
    EXPECT_EQ(official.Wins, 5);
    EXPECT_EQ(official.Remaining, 18 - 9);
}

TEST(TeamTotals, OneCard)
{
    Season season = divisionSeason(1, 0, 1).build();
    const TeamTotalsResult card = TeamTotals(season, 1, ScopeOfficial, 2);
    EXPECT_EQ(card.Wins, 3);
    EXPECT_EQ(card.Losses, 2);
    EXPECT_EQ(card.Draws, 2);
    EXPECT_EQ(card.Remaining, 10 - 5);
    EXPECT_DOUBLE_EQ(card.Pct, 0.6);

    // The team itself as opponent means the whole season.
    EXPECT_EQ(TeamTotals(season, 1, ScopeOfficial, 1).Wins, 6);

    // An opponent outside the scope counts nothing and leaves the whole card to play.
    const TeamTotalsResult outside = TeamTotals(season, 1, ScopeLeague, 4);
    EXPECT_EQ(outside.Played, 0);
    EXPECT_EQ(outside.Remaining, 4);
    EXPECT_EQ(TeamTotals(season, 1, ScopeInterleague, 2).Remaining, 10);

    // No card between teams 2 and 4.
    season.HasSeason = true;
    const TeamTotalsResult none = TeamTotals(season, 2, ScopeOfficial, 4);
    EXPECT_EQ(none.Remaining, 0);
    EXPECT_FALSE(none.ResultsExceedSchedule);
}

TEST(TeamTotals, SimulatedResultsCountOnlyInSimulationMode)
{
    Season season = divisionSeason(1, 0, 1).simResult(1, 2, 2, 0, 1).build();
    EXPECT_EQ(TeamTotals(season, 1, ScopeOfficial, 2).Wins, 3);
    season.SimMode = 1;
    const TeamTotalsResult card = TeamTotals(season, 1, ScopeOfficial, 2);
    EXPECT_EQ(card.Wins, 5);
    EXPECT_EQ(card.Draws, 3);
    EXPECT_EQ(TeamTotals(season, 2, ScopeOfficial, 1).Losses, 5);
}

TEST(TeamTotals, ResultsBeyondTheScheduleAreFlaggedOnceDisplayed)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.card(1, 2, 2).result(1, 2, 3, 0);
    Season season = b.build();

    TeamTotalsResult totals = TeamTotals(season, 1, ScopeOfficial);
    EXPECT_EQ(totals.Remaining, -1);
    EXPECT_FALSE(totals.ResultsExceedSchedule);

    season.HasSeason = true;
    totals = TeamTotals(season, 1, ScopeOfficial);
    EXPECT_TRUE(totals.ResultsExceedSchedule);
    EXPECT_EQ(totals.Wins, 3);
    EXPECT_EQ(totals.MaxWins, 2);
    EXPECT_TRUE(TeamTotals(season, 1, ScopeOfficial, 2).ResultsExceedSchedule);
}

TEST(TeamTotals, DivisionByZeroGivesZero)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.card(1, 2, 0);
    const Season season = b.build();
    const TeamTotalsResult totals = TeamTotals(season, 1, ScopeOfficial);
    EXPECT_EQ(totals.Pct, 0.0);
    EXPECT_EQ(totals.MaxPct, 0.0);
    EXPECT_EQ(totals.MinPct, 0.0);

    // 3-0 in a card of no games: MaxWins 0 and Wins + Losses + Remaining 0.
    const Season over = b.result(1, 2, 3, 0).build();
    const TeamTotalsResult beyond = TeamTotals(over, 1, ScopeOfficial);
    EXPECT_EQ(beyond.Pct, 1.0);
    EXPECT_EQ(beyond.MaxPct, 0.0);
    EXPECT_EQ(beyond.MinPct, 0.0);

    TeamTotalsResult untouched;
    untouched.Wins = 7;
    TeamTotals(season, 0, ScopeOfficial, 0, untouched);
    EXPECT_EQ(untouched.Wins, 7);
}

TEST(FormatPct, RoundsHalfUpAndDropsTheLeadingZero)
{
    EXPECT_EQ(FormatPct(0.5, 3), ".500");
    EXPECT_EQ(FormatPct(0.0, 3), ".000");
    EXPECT_EQ(FormatPct(1.0, 3), "1.000");
    EXPECT_EQ(FormatPct(7.0 / 12, 3), ".583");
    EXPECT_EQ(FormatPct(0.5825, 3), ".583");
    EXPECT_EQ(FormatPct(0.0625, 3), ".063"); // not banker's .062
    EXPECT_EQ(FormatPct(0.0005, 3), ".001");
    EXPECT_EQ(FormatPct(0.25, 1), ".3");
    EXPECT_EQ(FormatPct(0.95, 1), "1.0");
    EXPECT_EQ(FormatPct(2.0 / 3, 4), ".6667");
    EXPECT_EQ(FormatPct(-0.25, 3), "-.250");
}

TEST(FormatPct, FifteenDigitsShowNoBinaryNoise)
{
    EXPECT_EQ(FormatPct(0.1, 15), ".100000000000000");
    EXPECT_EQ(FormatPct(2.0 / 3, 15), ".666666666666667");
    EXPECT_EQ(FormatPct(1.0, 15), "1.000000000000000");
}

TEST(FormatPct, ZeroAndNegativeDigitsRoundToWholeNumbers)
{
    EXPECT_EQ(FormatPct(0.5, 0), "1");
    EXPECT_EQ(FormatPct(0.4, 0), "0");
    EXPECT_EQ(FormatPct(15.0, -1), "20");
    EXPECT_EQ(FormatPct(14.0, -1), "10");
    EXPECT_EQ(FormatPct(0.583, -2), "0");
}

TEST(OrderRows, SelectionSortExchangesWholeRows)
{
    // Teams 3 and 2 tie and the game count does not separate them: the
    // exchange that brings team 1 up sends team 3 to the bottom.
    OneBased<StandingsRow> rows{row(3, 5, 5), row(2, 5, 5), row(1, 6, 4)};
    OrderSettings settings;
    settings.GameCountRule = 1;
    OrderRows(rows, 3, settings);
    EXPECT_EQ(teamsInOrder(rows), (std::vector<int>{1, 2, 3}));
}

TEST(OrderRows, TiesByOtherMeasureGameCountAndTeamNumber)
{
    // Equal pct: 6-4 against 3-2 (fewer games, fewer wins), and two 3-2 teams.
    const OneBased<StandingsRow> input{row(4, 3, 2), row(3, 6, 4), row(2, 3, 2), row(1, 9, 1)};

    OrderSettings byOther{0, 1, 0};
    OneBased<StandingsRow> rows = input;
    OrderRows(rows, 4, byOther);
    NumberRanks(rows, 4, byOther);
    EXPECT_EQ(teamsInOrder(rows), (std::vector<int>{1, 3, 2, 4}));
    EXPECT_EQ(ranks(rows), (std::vector<int>{1, 2, 3, 4})); // equal pct and wins still split

    OrderSettings plain{0, 0, 0};
    rows = input;
    OrderRows(rows, 4, plain);
    NumberRanks(rows, 4, plain);
    EXPECT_EQ(teamsInOrder(rows), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(ranks(rows), (std::vector<int>{1, 2, 2, 2}));

    OrderSettings fewerGames{0, 0, 1};
    rows = input;
    OrderRows(rows, 4, fewerGames);
    EXPECT_EQ(teamsInOrder(rows), (std::vector<int>{1, 2, 4, 3}));

    OrderSettings moreGames{0, 0, 2};
    rows = input;
    OrderRows(rows, 4, moreGames);
    EXPECT_EQ(teamsInOrder(rows), (std::vector<int>{1, 3, 2, 4}));

    // By wins, equal wins decided by pct.
    OrderSettings byWins{1, 1, 0};
    rows = {row(1, 6, 4), row(2, 6, 1), row(3, 7, 9)};
    OrderRows(rows, 3, byWins);
    EXPECT_EQ(teamsInOrder(rows), (std::vector<int>{3, 2, 1}));
}

TEST(NumberRanks, SharedRanksAndGamesBehind)
{
    // Ordered by pct, the leader has a smaller surplus than the team below.
    OneBased<StandingsRow> rows{row(1, 1, 0), row(2, 10, 2), row(3, 5, 5), row(4, 5, 5),
                                row(5, 2, 5)};
    const OrderSettings settings;
    NumberRanks(rows, 5, settings);
    EXPECT_EQ(ranks(rows), (std::vector<int>{1, 2, 3, 3, 5}));
    EXPECT_EQ(rows[1].BehindLeader, "-");
    EXPECT_EQ(rows[1].BehindAbove, "-");
    EXPECT_EQ(rows[2].BehindLeader, "0.0");
    EXPECT_EQ(rows[2].BehindAbove, "0.0");
    EXPECT_EQ(rows[3].BehindLeader, "0.5");
    EXPECT_EQ(rows[3].BehindAbove, "4.0");
    EXPECT_EQ(rows[4].BehindAbove, "0.0");
    EXPECT_EQ(rows[5].BehindLeader, "2.0");
    EXPECT_EQ(rows[5].BehindAbove, "1.5");
}
