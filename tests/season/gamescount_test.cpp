#include "season/gamescount.h"

#include "magic/calcodule.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <string>

using namespace penarin;
using penarin::test::SeasonBuilder;

namespace {

// League 1: Ants and Bees in division 1, Cats in division 2; league 2: Dogs
// and Eels without divisions. 10 games within a league, 3 across.
Season twoLeagues(int intCounts = 1)
{
    SeasonBuilder builder;
    builder.addTeam(u"Ants", 1, 1);
    builder.addTeam(u"Bees", 1, 1);
    builder.addTeam(u"Cats", 1, 2);
    builder.addTeam(u"Dogs", 2);
    builder.addTeam(u"Eels", 2);
    return builder.roundRobin(10, 3).intCounts(intCounts).build();
}

TEST(GamesTable, NamesCardsAndEmptyCells)
{
    Season season = twoLeagues();
    season.team(1).CardGames[2] = 0; // a card of no games still shows
    season.team(1).CardGames[4] = -1;
    const TextTable table = BuildGamesTable(season);
    ASSERT_EQ(table.lineCount(), 6);
    ASSERT_EQ(table.cellCount(), 6);
    EXPECT_EQ(table.at(0, 0), u"");
    EXPECT_EQ(table.at(0, 5), u"Eels");
    EXPECT_EQ(table.at(3, 0), u"Cats");
    EXPECT_EQ(table.at(1, 1), u"");
    EXPECT_EQ(table.at(1, 2), u"0");
    EXPECT_EQ(table.at(1, 3), u"10");
    EXPECT_EQ(table.at(1, 4), u"");
    EXPECT_EQ(table.at(4, 1), u"3");
}

TEST(GamesFilter, LeagueAndDivisionEntries)
{
    Season season = twoLeagues();
    season.team(2).DivisionName = u""; // an unnamed division is not offered
    using Entries = std::vector<Text>;
    EXPECT_EQ(GamesDivisionEntries(season, 0), Entries{});
    EXPECT_EQ(GamesDivisionEntries(season, 1), (Entries{u"すべて表示", u"地区1", u"地区2"}));
    EXPECT_EQ(GamesDivisionEntries(season, 2), Entries{u"すべて表示"});

    const struct
    {
        int league, division;
        Text name;
        std::u16string shown; // one mark per team: x shown, . hidden
    } cases[] = {
        {0, -1, u"", u"xxxxx"},     {1, 0, u"すべて表示", u"xxx.."},
        {1, 2, u"地区2", u"..x.."}, {2, 0, u"すべて表示", u"...xx"},
        {2, -1, u"", u"...xx"},
    };
    for (const auto &c : cases) {
        std::u16string shown;
        for (int team = 1; team <= season.TeamCount(); ++team) {
            shown += GamesFilterShows(season, team, c.league, c.division, c.name) ? u'x' : u'.';
        }
        EXPECT_EQ(shown, c.shown) << c.league << "/" << c.division;
    }
}

TEST(GamesEntry, WhatTypedDigitsBecome)
{
    const Season counting = twoLeagues(1);
    const Season notCounting = twoLeagues(0);
    TextTable heavy = BuildGamesTable(counting);
    heavy.set(1, 2, u"32000"); // Ants already near the 16-bit total
    heavy.set(2, 1, u"32000");

    using R = GamesEntryResult;
    const struct
    {
        const Season *season;
        int row, col;
        Text typed;
        R result;
        Text value;
    } cases[] = {
        {&counting, 1, 2, u"12", R::Accepted, u"12"},
        {&counting, 1, 2, u"012", R::Accepted, u"12"},
        {&counting, 1, 2, u"", R::Accepted, u""},
        {&counting, 1, 2, u"000", R::Accepted, u"0"},
        {&counting, 2, 2, u"5", R::Accepted, u""}, // the diagonal is never a card
        {&counting, 1, 4, u"3", R::Accepted, u"3"},
        {&notCounting, 1, 4, u"3", R::NotInterleague, u""},
        {&notCounting, 4, 1, u"3", R::NotInterleague, u""},
        {&notCounting, 1, 4, u"0", R::Accepted, u"0"}, // clearing needs no warning
        {&notCounting, 4, 5, u"3", R::Accepted, u"3"},
        {&counting, 1, 2, u"32767", R::TooLarge, u""}, // with the other cards, too many
        {&counting, 1, 2, u"32768", R::TooLarge, u""},
        {&counting, 1, 2, u"99999999999", R::TooLarge, u""},
    };
    const TextTable plain = BuildGamesTable(counting);
    for (const auto &c : cases) {
        const GamesEntry entry = CheckGamesEntry(*c.season, plain, c.row, c.col, c.typed);
        EXPECT_EQ(entry.Result, c.result) << std::string(c.typed.begin(), c.typed.end());
        EXPECT_EQ(entry.Value, c.value) << std::string(c.typed.begin(), c.typed.end());
    }
    // A team's total must fit as well: Ants' other cards hold 32000 + 3 + 3.
    EXPECT_EQ(CheckGamesEntry(counting, heavy, 1, 3, u"761").Result, R::Accepted);
    EXPECT_EQ(CheckGamesEntry(counting, heavy, 1, 3, u"762").Result, R::TooLarge);
    // ... and the opponent's, whichever side the entry is made from.
    EXPECT_EQ(CheckGamesEntry(counting, heavy, 3, 1, u"762").Result, R::TooLarge);
}

TEST(GamesWriteBack, CardsAndTotalsFollowTheMatrix)
{
    Season season = twoLeagues(1);
    TextTable matrix = BuildGamesTable(season);
    EXPECT_FALSE(WriteGamesBack(season, matrix)) << "an unchanged matrix changes nothing";
    season.team(4).PlaysInterleague = StoredFalse; // set again by interleague games
    season.team(5).PlaysInterleague = StoredTrue;  // never cleared here

    for (const auto &[r, c, text] : {std::tuple{1, 2, u"12"},
                                     {2, 1, u"12"},
                                     {1, 3, u""},
                                     {3, 1, u""},
                                     {5, 1, u"0"},
                                     {5, 2, u"0"},
                                     {5, 3, u"0"},
                                     {1, 5, u"0"},
                                     {2, 5, u"0"},
                                     {3, 5, u"0"}}) {
        matrix.set(r, c, text);
    }
    EXPECT_TRUE(WriteGamesBack(season, matrix));

    const TeamRecord &ants = season.team(1);
    EXPECT_EQ(ants.CardGames[1], -1);
    EXPECT_EQ(ants.CardGames[2], 12);
    EXPECT_EQ(ants.CardGames[3], -1);
    EXPECT_EQ(ants.CardGames[5], -1);
    EXPECT_EQ(ants.LeagueGames, 12);
    EXPECT_EQ(ants.InterleagueGames, 3);
    EXPECT_EQ(ants.OfficialGames, 15);
    EXPECT_EQ(season.team(4).PlaysInterleague, StoredTrue);
    EXPECT_EQ(season.team(5).InterleagueGames, 0);
    EXPECT_EQ(season.team(5).PlaysInterleague, StoredTrue);
    EXPECT_EQ(season.team(5).OfficialGames, 10);
}

// A season converted from the previous layout has no league and interleague
// totals, so every played game exceeds its schedule until the games counts
// are set again through the matrix.
TEST(GamesWriteBack, SettingTheGamesOfAConvertedSeasonEndsTheScheduleMessage)
{
    Season season = SeasonBuilder::oneLeague({u"Ants", u"Bees", u"Cats"}, 6)
                        .result(1, 2, 2, 1)
                        .result(2, 3, 1, 1)
                        .build();
    season.HasSeason = true;
    for (TeamRecord &team : season.Teams) {
        team.LeagueGames = team.InterleagueGames = 0;
    }
    EXPECT_TRUE(RecalculateView(season, {}, ViewRequest{1, -1}).ShowScheduleMessage);

    EXPECT_TRUE(WriteGamesBack(season, BuildGamesTable(season)));
    EXPECT_FALSE(RecalculateView(season, {}, ViewRequest{1, -1}).ShowScheduleMessage);
    EXPECT_EQ(season.team(2).LeagueGames, 12);
}

} // namespace
