#include "magic/winline.h"

#include "magic/calcodule.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <string>

using namespace penarin;
using penarin::test::SeasonBuilder;

namespace {

struct CellCase
{
    int wins, losses, remaining, target, digits;
    bool finalOnly;
    std::u16string expected;
};

TEST(WinLineCell, RecordOverTheRemainingGamesAndPercentages)
{
    const CellCase cases[] = {
        {70, 60, 10, 75, 3, false, u"5 - 5( .500 / .536 )"},
        {70, 60, 10, 75, 3, true, u"5 - 5( .536 )"},
        // The remaining-games percentage keeps 3 digits whatever the setting.
        {70, 60, 10, 75, 1, false, u"5 - 5( .500 / .5 )"},
        {70, 60, 10, 75, 6, true, u"5 - 5( .535714 )"},
        // The current wins and the most wins reachable bound the rows.
        {70, 60, 10, 70, 3, false, u"0 - 10( .000 / .500 )"},
        {70, 60, 10, 80, 3, false, u"10 - 0( 1.000 / .571 )"},
        {70, 60, 10, 69, 3, false, u"-"},
        {70, 60, 10, 81, 3, false, u"-"},
        // Nothing left to play, or more played than scheduled.
        {70, 60, 0, 70, 3, false, u"-"},
        {70, 60, -2, 68, 3, false, u"-"},
    };
    for (const CellCase &c : cases) {
        EXPECT_EQ(WinLineCell(c.wins, c.losses, c.remaining, c.target, c.digits, c.finalOnly),
                  c.expected)
            << c.wins << "-" << c.losses << " R" << c.remaining << " T" << c.target;
    }
}

// Three teams, 10 games against each other (20 each): A beat B 4-2 with one
// draw, A and C split 3-3, B beat C 6-0.
//   A: 7-5-1, B: 8-4-1, C: 3-9. With draws replayed all have 8 left; with
//   draws using up a game A and B have 7 left.
Season smallSeason(bool drawsReplayed)
{
    SeasonBuilder builder = SeasonBuilder::oneLeague({u"Ants", u"Bees", u"Cats"}, 10);
    builder.result(1, 2, 4, 2, 1).result(1, 3, 3, 3).result(2, 3, 6, 0);
    const int replay = drawsReplayed ? 0 : 1;
    builder.drawReplay(replay, replay, replay);
    Season season = builder.build();
    season.HasSeason = true;
    return season;
}

int columnOf(const TextTable &cells, const std::u16string &name)
{
    for (int c = 1; c < cells.cellCount(); ++c) {
        if (cells.at(0, c) == name) {
            return c;
        }
    }
    ADD_FAILURE() << "no column";
    return 0;
}

TEST(WinLineTable, SmallSeasonCheckedByHand)
{
    struct Case
    {
        bool replayed;
        int maxWins, minWins;
        std::u16string antsAtTen, beesAtMax, antsRemaining, beesRemaining;
    };
    const Case cases[] = {
        // A needs 3 of its 8 for 10 wins: 3 - 5, 3/8 and 10/20.
        {true, 16, 3, u"3 - 5( .375 / .500 )", u"8 - 0( 1.000 / .800 )", u"Be4 Ca4 ", u"An4 Ca4 "},
        // The draw uses up one of the A-B games: 3 of 7 for 10 wins, 10/19.
        {false, 15, 3, u"3 - 4( .429 / .526 )", u"7 - 0( 1.000 / .789 )", u"Be3 Ca4 ", u"An3 Ca4 "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.replayed ? "draws replayed" : "draws use up a game");
        Season season = smallSeason(c.replayed);
        const RecalculateResult pass = RecalculateView(season, {}, ViewRequest{1, -1});
        const WinLineTable table = BuildWinLineTable(season, *pass.Published, 3, false, 2);
        const TextTable &cells = table.Cells;
        EXPECT_FALSE(table.CalculationFailed);
        EXPECT_EQ(table.MaxWins, c.maxWins);
        EXPECT_EQ(table.MinWins, c.minWins);
        const int span = c.maxWins - c.minWins + 1;
        ASSERT_EQ(cells.lineCount(), span + 2);
        ASSERT_EQ(cells.cellCount(), 4);
        EXPECT_EQ(cells.at(0, 0), u"勝");
        EXPECT_EQ(cells.at(1, 0), std::u16string(c.maxWins > 15 ? u"16" : u"15"));
        EXPECT_EQ(cells.at(span, 0), u"3");
        EXPECT_EQ(cells.at(span + 1, 0), u"残");
        // Standings order: Bees, Ants, Cats.
        EXPECT_EQ(cells.at(0, 1), u"Bees");
        const int ants = columnOf(cells, u"Ants");
        const int bees = columnOf(cells, u"Bees");
        EXPECT_EQ(cells.at(c.maxWins - 10 + 1, ants), c.antsAtTen);
        EXPECT_EQ(cells.at(1, bees), c.beesAtMax);
        EXPECT_EQ(cells.at(1, ants), u"-");
        EXPECT_EQ(cells.at(span + 1, ants), c.antsRemaining);
        EXPECT_EQ(cells.at(span + 1, bees), c.beesRemaining);
        // The row of the current wins starts at 0 - R.
        EXPECT_EQ(cells.at(c.maxWins - 7 + 1, ants).substr(0, 4), u"0 - ");
    }
}

TEST(WinLineTable, EveryTeamLevelAndDoneGivesOneDataRow)
{
    Season season = SeasonBuilder::oneLeague({u"Ants", u"Bees"}, 2).result(1, 2, 1, 1).build();
    season.HasSeason = true;
    const RecalculateResult pass = RecalculateView(season, {}, ViewRequest{1, -1});
    const WinLineTable table = BuildWinLineTable(season, *pass.Published, 3, false, 1);
    ASSERT_EQ(table.Cells.lineCount(), 3);
    EXPECT_EQ(table.Cells.at(1, 0), u"1");
    EXPECT_EQ(table.Cells.at(1, 1), u"-");
    EXPECT_EQ(table.Cells.at(1, 2), u"-");
    EXPECT_EQ(table.Cells.at(2, 1), u"残0");
}

// Ants and Bees in league 1 have finished their own card; both still play
// Cats of league 2.
TEST(WinLineTable, RemainingCardsFollowTheGameScope)
{
    SeasonBuilder builder;
    builder.addTeam(u"Ants", 1);
    builder.addTeam(u"Bees", 1);
    builder.addTeam(u"Cats", 2);
    Season season = builder.roundRobin(2, 3).result(1, 2, 1, 1).result(1, 3, 1, 0).build();
    season.HasSeason = true;
    const struct
    {
        int scope;
        std::u16string ants;
    } cases[] = {
        {ScopeOfficial, u"C2 "},
        {ScopeInterleague, u"C2 "},
        {ScopeLeague, u"残0"},
    };
    for (const auto &c : cases) {
        season.GameScope = c.scope;
        EXPECT_EQ(RemainingCardsText(season, 1, 1).Text, c.ants) << c.scope;
    }
    // A name shorter than the cut is taken whole; no cut leaves the counts.
    season.GameScope = ScopeOfficial;
    EXPECT_EQ(RemainingCardsText(season, 1, 9).Text, u"Cats2 ");
    EXPECT_EQ(RemainingCardsText(season, 2, 0).Text, u"3 ");
}

TEST(WinLineTable, ResultsBeyondTheScheduleFailOnlyForADisplayedSeason)
{
    // Three games played on a card of two.
    Season season = SeasonBuilder::oneLeague({u"Ants", u"Bees"}, 2).result(1, 2, 2, 1).build();
    for (const bool hasSeason : {false, true}) {
        season.HasSeason = hasSeason;
        const RecalculateResult pass = RecalculateView(season, {}, ViewRequest{1, -1});
        const WinLineTable table = BuildWinLineTable(season, *pass.Published, 3, false, 1);
        EXPECT_EQ(table.CalculationFailed, hasSeason);
        // The table is still built.
        EXPECT_EQ(table.Cells.at(0, 1), u"Ants");
        EXPECT_EQ(table.Cells.at(table.Cells.lineCount() - 1, 1), u"残0");
    }
}

TEST(WinLineTable, NoStandingsGiveTheBareFrame)
{
    const Season season;
    const WinLineTable table = BuildWinLineTable(season, PublishedStandings{}, 3, false, 1);
    ASSERT_EQ(table.Cells.lineCount(), 3);
    ASSERT_EQ(table.Cells.cellCount(), 1);
    EXPECT_EQ(table.Cells.at(1, 0), u"0");
    EXPECT_FALSE(table.CalculationFailed);
}

} // namespace
