#include "standings/viewlists.h"
#include "standings/viewstandings.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

namespace penarin {
namespace {

std::vector<int> list(const OneBased<std::int16_t> &teams)
{
    return {teams.begin(), teams.end()};
}

// League 1: division 1 = teams 1, 2; division 2 = teams 3, 4. League 2: teams 5, 6.
Season twoLeagues(int intCounts)
{
    test::SeasonBuilder b;
    b.addTeam(u"A", 1, 1);
    b.addTeam(u"B", 1, 1);
    b.addTeam(u"C", 1, 2);
    b.addTeam(u"D", 1, 2);
    b.addTeam(u"E", 2);
    b.addTeam(u"F", 2);
    b.roundRobin(10, 2).intCounts(intCounts);
    return b.build();
}

TEST(ViewLists, AllTeamsListsEveryTeamOnceEvenWithInterleague)
{
    Season season = twoLeagues(1);
    BuildViewLists(season, 0, -1);
    EXPECT_EQ(list(season.ViewRows), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(list(season.ViewCols), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(season.Header.ViewLeague, 0);
}

TEST(ViewLists, DivisionColumnsAddOtherDivisionsThenOtherLeagues)
{
    Season season = twoLeagues(1);
    BuildViewLists(season, 1, 2);
    EXPECT_EQ(list(season.ViewRows), (std::vector<int>{3, 4}));
    EXPECT_EQ(list(season.ViewCols), (std::vector<int>{3, 4, 1, 2, 5, 6}));
    EXPECT_EQ(season.Header.ViewDivision, 2);

    Season noInterleague = twoLeagues(0);
    BuildViewLists(noInterleague, 1, 2);
    EXPECT_EQ(list(noInterleague.ViewCols), (std::vector<int>{3, 4, 1, 2}));
    BuildViewLists(noInterleague, 2, -1);
    EXPECT_EQ(list(noInterleague.ViewRows), (std::vector<int>{5, 6}));
    EXPECT_EQ(list(noInterleague.ViewCols), (std::vector<int>{5, 6}));
}

TEST(ViewLists, SelectorEntriesFollowRunsOfNames)
{
    const Season season = twoLeagues(1);
    EXPECT_EQ(LeagueSelectorEntries(season),
              (std::vector<Text>{u"すべて表示", u"リーグ1", u"リーグ2"}));
    EXPECT_EQ(DivisionSelectorEntries(season, 1),
              (std::vector<Text>{u"すべて表示", u"地区1", u"地区2"}));
    EXPECT_TRUE(DivisionSelectorEntries(season, 2).empty()) << "a league without division names";
    EXPECT_TRUE(DivisionSelectorEntries(season, 0).empty());

    // Stored selections the selectors cannot show fall back as choosing the league does.
    EXPECT_EQ(ChooseViewSelection(season, 1, 7).division, 0);
    EXPECT_EQ(ChooseViewSelection(season, 2, 1).division, -1);
    EXPECT_EQ(ChooseViewSelection(season, 9, 1).league, 0);
}

TEST(ViewStandings, ShowingAllLeaguesSwitchesTheScope)
{
    Season season = twoLeagues(1);
    season.GameScope = ScopeLeague;
    AdjustGameScope(season, 0);
    EXPECT_EQ(season.GameScope, ScopeInterleague);
    EXPECT_EQ(ScopeText(season, 0), "交流戦");

    Season noInterleague = twoLeagues(0);
    noInterleague.GameScope = ScopeInterleague;
    AdjustGameScope(noInterleague, 1);
    EXPECT_EQ(noInterleague.GameScope, ScopeOfficial);
    AdjustGameScope(noInterleague, 0);
    EXPECT_EQ(ScopeText(noInterleague, 0), "不明");

    Season league = twoLeagues(1);
    league.GameScope = ScopeLeague;
    AdjustGameScope(league, 1);
    EXPECT_EQ(league.GameScope, ScopeLeague) << "a league view keeps the chosen scope";
}

TEST(ViewStandings, InterleagueScopeListsTheColumnTeams)
{
    Season season = twoLeagues(1);
    BuildViewLists(season, 1, 1);
    season.GameScope = ScopeInterleague;
    EXPECT_EQ(ViewTeams(season), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    season.GameScope = ScopeOfficial;
    EXPECT_EQ(ViewTeams(season), (std::vector<int>{1, 2}));
    const ViewTotals totals = TotalViewTeams(season, ViewTeams(season));
    EXPECT_EQ(totals.Rows.size(), 2);
    EXPECT_EQ(totals.LeagueRows.size(), 2) << "official scope also totals league games";
    EXPECT_EQ(totals.InterRows.size(), 2);
}

} // namespace
} // namespace penarin
