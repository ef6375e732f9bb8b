#include "season/cellsfunction.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <utility>

using namespace penarin;
using penarin::test::SeasonBuilder;

namespace {

// Grid positions of the head-to-head grid: row of view row r, and the first
// column (wins) of view column j; +1 losses, +2 draws.
int rowOf(int r)
{
    return r + 1;
}
int winsCol(int j)
{
    return 3 * j - 2;
}

struct Entry
{
    CardEntryResult result;
    int row, col, team, opponent, count;
};

Entry enter(Season &season, int row, int col, int value)
{
    Entry e{};
    e.row = row;
    e.col = col;
    const CardEntry answer = EnterCardValue(season, row, col, value);
    e.result = answer.code;
    e.team = answer.team;
    e.opponent = answer.opponent;
    e.count = answer.count;
    if (answer.accepted() && value != QueryCard) {
        e.row = answer.mirrorRow;
        e.col = answer.mirrorCol;
    }
    return e;
}

// Four teams in one league without divisions, 10 games a card.
Season fourTeams(int drawFactor = 0)
{
    SeasonBuilder b;
    for (const char16_t *name : {u"A", u"B", u"C", u"D"}) {
        b.addTeam(name, 1);
    }
    b.roundRobin(10).drawReplay(drawFactor, drawFactor, 1);
    return b.build();
}

bool sameSim(const Season &x, const Season &y)
{
    for (int t = 1; t <= x.TeamCount(); ++t) {
        const SimRecord &a = x.SimResults[t];
        const SimRecord &b = y.SimResults[t];
        if (a.Wins != b.Wins || a.Losses != b.Losses || a.Draws != b.Draws) {
            return false;
        }
    }
    return true;
}

void expectUnchanged(const Season &before, const Season &after)
{
    EXPECT_EQ(before.Teams, after.Teams);
    EXPECT_TRUE(sameSim(before, after));
}

} // namespace

TEST(EnterCardValue, StoresEveryColumnOnBothSidesAndAnswersTheMirrorCell)
{
    for (const int mode : {0, 1}) {
        Season s = fourTeams();
        s.SimMode = mode;
        // A (row 1) against C (column 3): wins, losses, draws.
        Entry w = enter(s, rowOf(1), winsCol(3), 3);
        Entry l = enter(s, rowOf(1), winsCol(3) + 1, 2);
        Entry d = enter(s, rowOf(1), winsCol(3) + 2, 1);
        for (const Entry &e : {w, l, d}) {
            EXPECT_EQ(e.result, CardEntryResult::Accepted);
            EXPECT_EQ(e.team, 1);
            EXPECT_EQ(e.opponent, 3);
            EXPECT_EQ(e.row, rowOf(3));
        }
        // C's losses, wins and draws cells in A's column group.
        EXPECT_EQ(w.col, 2);
        EXPECT_EQ(l.col, 1);
        EXPECT_EQ(d.col, 3);

        const TeamRecord &a = s.team(1);
        const TeamRecord &c = s.team(3);
        if (mode == 0) {
            EXPECT_EQ((std::array{a.CardWins[3], a.CardLosses[3], a.CardDraws[3]}),
                      (std::array<std::int16_t, 3>{3, 2, 1}));
            EXPECT_EQ((std::array{c.CardWins[1], c.CardLosses[1], c.CardDraws[1]}),
                      (std::array<std::int16_t, 3>{2, 3, 1}));
            EXPECT_EQ(s.SimResults[1].Wins[3], 0);
        } else {
            const SimRecord &sa = s.SimResults[1];
            const SimRecord &sc = s.SimResults[3];
            EXPECT_EQ((std::array{sa.Wins[3], sa.Losses[3], sa.Draws[3]}),
                      (std::array<std::int16_t, 3>{3, 2, 1}));
            EXPECT_EQ((std::array{sc.Wins[1], sc.Losses[1], sc.Draws[1]}),
                      (std::array<std::int16_t, 3>{2, 3, 1}));
            EXPECT_EQ(a.CardWins[3], 0);
        }
    }
}

TEST(EnterCardValue, LocateFindsTheMirrorWithoutCheckingOrStoring)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.addTeam(u"C", 1);
    Season s = b.build(); // no cards at all: locating still answers
    const Season before = s;
    const Entry e = enter(s, rowOf(3), winsCol(2) + 1, LocateCell);
    EXPECT_EQ(e.result, CardEntryResult::Accepted);
    EXPECT_EQ(e.row, rowOf(2));
    EXPECT_EQ(e.col, winsCol(3));
    expectUnchanged(before, s);
}

TEST(EnterCardValue, DiagonalIsTheOwnCardForStoreLocateAndQuery)
{
    Season s = fourTeams();
    const Season before = s;
    for (const int value : {4, LocateCell, QueryCard}) {
        for (int c = winsCol(2); c <= winsCol(2) + 2; ++c) {
            const Entry e = enter(s, rowOf(2), c, value);
            EXPECT_EQ(e.result, CardEntryResult::OwnCard);
            EXPECT_EQ(e.row, rowOf(2));
            EXPECT_EQ(e.col, c);
        }
    }
    expectUnchanged(before, s);
}

TEST(EnterCardValue, FinishedCardRefusesWinsAndDrawsOnlyWhereDrawsUseUpGames)
{
    for (const int factor : {0, 1}) {
        Season s = fourTeams(factor);
        ASSERT_EQ(enter(s, rowOf(1), winsCol(2), 6).result, CardEntryResult::Accepted);
        ASSERT_EQ(enter(s, rowOf(1), winsCol(2) + 1, 4).result, CardEntryResult::Accepted);
        const Season full = s;

        const Entry win = enter(s, rowOf(1), winsCol(2), 7);
        EXPECT_EQ(win.result, CardEntryResult::Finished);
        EXPECT_EQ(win.row, rowOf(1));
        EXPECT_EQ(win.col, winsCol(2));
        // From the other side, too.
        EXPECT_EQ(enter(s, rowOf(2), winsCol(1), 5).result, CardEntryResult::Finished);
        expectUnchanged(full, s);

        const Entry draw = enter(s, rowOf(1), winsCol(2) + 2, 1);
        EXPECT_EQ(draw.result, factor == 0 ? CardEntryResult::Accepted : CardEntryResult::Finished);
        EXPECT_EQ(s.team(2).CardDraws[1], factor == 0 ? 1 : 0);
        // A correction downwards always fits.
        EXPECT_EQ(enter(s, rowOf(1), winsCol(2), 5).result, CardEntryResult::Accepted);
    }
}

// A value the card has no room for is answered with the card's games and
// the most the cell takes, in either mode and for draws by their factor.
TEST(EnterCardValue, RefusalNamesTheMostTheCellTakes)
{
    const struct
    {
        int factor;
        bool simulation;
        int column; // 0 wins, 1 losses, 2 draws
        int value;
        int most;
    } cases[] = {
        {1, false, 0, 30, 7}, // 3 losses entered: 7 wins fit
        {1, false, 2, 30, 7}, // draws use up games one each
        {1, true, 0, 9, 4},   // 3 real wins and 3 losses: 4 simulated wins in all
        {1, true, 1, 9, 3},   // ... but 3 losses beside the simulated win
    };
    for (const auto &c : cases) {
        Season s = fourTeams(c.factor);
        ASSERT_EQ(enter(s, rowOf(1), winsCol(2) + 1, 3).result, CardEntryResult::Accepted);
        if (c.simulation) {
            ASSERT_EQ(enter(s, rowOf(1), winsCol(2), 3).result, CardEntryResult::Accepted);
            s.SimMode = 1;
            ASSERT_EQ(enter(s, rowOf(1), winsCol(2), 1).result, CardEntryResult::Accepted);
        }
        const CardEntry refused = EnterCardValue(s, rowOf(1), winsCol(2) + c.column, c.value);
        EXPECT_EQ(refused.code, CardEntryResult::Finished) << c.column;
        EXPECT_EQ(refused.games, 10);
        EXPECT_EQ(refused.most, c.most) << c.column;
        EXPECT_EQ(EnterCardValue(s, rowOf(1), winsCol(2) + c.column, refused.most).code,
                  CardEntryResult::Accepted);
    }
}

TEST(EnterCardValue, SimulationCountsTheRealResultsOfTheCard)
{
    for (const int factor : {0, 1}) {
        Season s = fourTeams(factor);
        ASSERT_EQ(enter(s, rowOf(1), winsCol(2), 7).result, CardEntryResult::Accepted);
        ASSERT_EQ(enter(s, rowOf(1), winsCol(2) + 1, 3).result, CardEntryResult::Accepted);
        s.SimMode = 1;
        const Season before = s;
        EXPECT_EQ(enter(s, rowOf(1), winsCol(2), 1).result, CardEntryResult::Finished);
        EXPECT_EQ(enter(s, rowOf(2), winsCol(1), 1).result, CardEntryResult::Finished);
        EXPECT_EQ(enter(s, rowOf(1), winsCol(2) + 2, 1).result,
                  factor == 0 ? CardEntryResult::Accepted : CardEntryResult::Finished);
        if (factor == 1) {
            expectUnchanged(before, s);
        }
    }

    // Room left by the real results is shared by simulated wins and losses.
    Season s = fourTeams(1);
    ASSERT_EQ(enter(s, rowOf(3), winsCol(4), 4).result, CardEntryResult::Accepted);
    ASSERT_EQ(enter(s, rowOf(3), winsCol(4) + 2, 2).result, CardEntryResult::Accepted);
    s.SimMode = 1;
    EXPECT_EQ(enter(s, rowOf(3), winsCol(4), 2).result, CardEntryResult::Accepted);
    EXPECT_EQ(enter(s, rowOf(3), winsCol(4) + 1, 3).result, CardEntryResult::Finished);
    EXPECT_EQ(enter(s, rowOf(3), winsCol(4) + 1, 2).result, CardEntryResult::Accepted);
}

TEST(EnterCardValue, CompletingACardWithRealResultsErasesItsSimulation)
{
    SeasonBuilder b;
    for (const char16_t *name : {u"A", u"B", u"C"}) {
        b.addTeam(name, 1);
    }
    Season s = b.roundRobin(10).simResult(1, 2, 2, 1, 1).simResult(1, 3, 1, 1).build();

    ASSERT_EQ(enter(s, rowOf(1), winsCol(2), 5).result, CardEntryResult::Accepted);
    ASSERT_EQ(enter(s, rowOf(2), winsCol(1), 4).result, CardEntryResult::Accepted);
    EXPECT_EQ(s.SimResults[1].Wins[2], 2) << "a card one game short keeps its simulation";
    // Completed from B's side: B's 5 wins make A 5-5.
    ASSERT_EQ(enter(s, rowOf(2), winsCol(1), 5).result, CardEntryResult::Accepted);
    for (const auto &[t, o] : {std::pair{1, 2}, std::pair{2, 1}}) {
        EXPECT_EQ(s.SimResults[t].Wins[o], 0);
        EXPECT_EQ(s.SimResults[t].Losses[o], 0);
        EXPECT_EQ(s.SimResults[t].Draws[o], 0);
    }
    EXPECT_EQ(s.SimResults[1].Wins[3], 1) << "other cards keep theirs";
    EXPECT_EQ(s.SimResults[3].Losses[1], 1);
}

TEST(EnterCardValue, OpponentOnlyAColumnStillGetsTheMirroredRecord)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1, 1);
    b.addTeam(u"B", 1, 1);
    b.addTeam(u"C", 1, 2);
    Season s = b.roundRobin(10).build();
    // Division 1 shown: C is only a column.
    s.ViewRows = {1, 2};
    s.ViewCols = {1, 2, 3};
    const Entry e = enter(s, rowOf(1), winsCol(3), 3);
    EXPECT_EQ(e.result, CardEntryResult::Accepted);
    EXPECT_GT(e.row, rowOf(s.RowTeamCount()));
    EXPECT_EQ(s.team(3).CardLosses[1], 3);
}

TEST(EnterCardValue, CardsThatCannotBeEnteredAreNotSet)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.addTeam(u"X", 2);
    Season s = b.card(1, 3, 4).intCounts(0).build(); // A-B without a card
    const Season before = s;
    for (const int value : {1, QueryCard}) {
        const Entry none = enter(s, rowOf(1), winsCol(2), value);
        EXPECT_EQ(none.result, CardEntryResult::NotSet);
        EXPECT_EQ(none.team, 1) << "the status bar still names the card";
        EXPECT_EQ(none.opponent, 2);
        EXPECT_EQ(none.count, 0);
        EXPECT_EQ(enter(s, rowOf(1), winsCol(3), value).result, CardEntryResult::NotSet);
    }
    expectUnchanged(before, s);

    s.Interleague.IntCounts = 1;
    EXPECT_EQ(enter(s, rowOf(1), winsCol(3), 1).result, CardEntryResult::Accepted);
    EXPECT_EQ(s.team(3).CardLosses[1], 1);
}

TEST(EnterCardValue, QueryCountsGamesLeftInEitherMode)
{
    for (const int factor : {0, 1}) {
        Season s = fourTeams(factor);
        s.team(1).CardWins[2] = 3;
        s.team(1).CardDraws[2] = 2;
        s.SimResults[1].Losses[2] = 1;
        s.SimResults[1].Draws[2] = 1;
        const Season before = s;
        const Entry real = enter(s, rowOf(1), winsCol(2) + 1, QueryCard);
        EXPECT_EQ(real.result, CardEntryResult::Accepted);
        EXPECT_EQ(real.team, 1);
        EXPECT_EQ(real.opponent, 2);
        EXPECT_EQ(real.count, 10 - 3 - 2 * factor);
        EXPECT_EQ(real.row, rowOf(1)) << "a query does not move to the mirror";
        s.SimMode = 1;
        EXPECT_EQ(enter(s, rowOf(1), winsCol(2), QueryCard).count,
                  10 - 3 - 2 * factor - 1 - factor);
        expectUnchanged(before, s);
    }
}

TEST(EnterCardValue, DrawFactorFollowsTheKindOfCard)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1, 1);
    b.addTeam(u"B", 1, 2);
    b.addTeam(u"X", 2);
    b.addTeam(u"Y", 2);
    // League draws replayed, division draws not, interleague draws replayed.
    Season s = b.roundRobin(10, 4)
                   .drawReplay(0, 1, 0)
                   .result(1, 2, 0, 0, 2)
                   .result(3, 4, 0, 0, 2)
                   .result(1, 3, 0, 0, 2)
                   .build();
    EXPECT_EQ(enter(s, rowOf(1), winsCol(2), QueryCard).count, 8) << "league with divisions";
    EXPECT_EQ(enter(s, rowOf(3), winsCol(4), QueryCard).count, 10) << "league without divisions";
    EXPECT_EQ(enter(s, rowOf(1), winsCol(3), QueryCard).count, 4) << "interleague";
}

TEST(EnterCardValue, NeverReadsOutsideTheViewOrTheSeason)
{
    Season s = fourTeams();
    s.ViewCols = {1, 2, 3, 4, 9}; // an entry naming no team
    const Season before = s;
    const std::pair<int, int> cells[] = {{0, 1},
                                         {1, 1},
                                         {rowOf(1), 0},
                                         {rowOf(1), -3},
                                         {rowOf(5), 4},
                                         {rowOf(1), winsCol(6)},
                                         {INT_MIN, 1},
                                         {rowOf(1), INT_MAX},
                                         {INT_MAX, INT_MIN},
                                         {rowOf(1), winsCol(5)}};
    for (const auto &[r, c] : cells) {
        for (const int value : {1, LocateCell, QueryCard}) {
            if (value == LocateCell && c == winsCol(5)) {
                continue; // locating is arithmetic only and needs no team
            }
            const Entry e = enter(s, r, c, value);
            EXPECT_EQ(e.result, CardEntryResult::NotSet) << r << "," << c << " value " << value;
            EXPECT_EQ(e.row, r);
            EXPECT_EQ(e.col, c);
            EXPECT_EQ(e.count, 0);
        }
    }
    expectUnchanged(before, s);

    // Simulation arrays a damaged season never sized.
    s.SimMode = 1;
    s.SimResults.clear();
    EXPECT_EQ(enter(s, rowOf(1), winsCol(2), 1).result, CardEntryResult::NotSet);
    s.SimMode = 0;
    EXPECT_EQ(enter(s, rowOf(1), winsCol(2), 10).result, CardEntryResult::Accepted);
}

TEST(EnterCardValue, ValuesOutsideTheSixteenBitCountsAreRefused)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    Season s = b.card(1, 2, MaxCardValue).build();
    const Season before = s;
    for (const int value : {-3, INT_MIN, MaxCardValue + 1, INT_MAX}) {
        EXPECT_EQ(enter(s, rowOf(1), winsCol(2), value).result, CardEntryResult::Finished) << value;
    }
    expectUnchanged(before, s);
    EXPECT_EQ(enter(s, rowOf(1), winsCol(2), MaxCardValue).result, CardEntryResult::Accepted);
    EXPECT_EQ(s.team(2).CardLosses[1], MaxCardValue);
}

TEST(ClearSimulation, ZeroesEveryPair)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.addTeam(u"X", 2);
    Season s = b.roundRobin(10, 4).simResult(1, 2, 3, 1, 1).simResult(2, 3, 0, 2, 1).build();
    ClearSimulation(s);
    for (int t = 1; t <= 3; ++t) {
        for (int o = 1; o <= 3; ++o) {
            EXPECT_EQ(
                s.SimResults[t].Wins[o] + s.SimResults[t].Losses[o] + s.SimResults[t].Draws[o], 0);
        }
    }
}

TEST(CardCellText, ZeroAndBelowFollowTheZeroSetting)
{
    EXPECT_EQ(CardCellText(0, false), u"");
    EXPECT_EQ(CardCellText(0, true), u"0");
    EXPECT_EQ(CardCellText(-1, true), u"0");
    EXPECT_EQ(CardCellText(-1, false), u"");
    EXPECT_EQ(CardCellText(7, false), u"7");
    EXPECT_EQ(CardCellText(32767, true), u"32767");
}

TEST(NextClickValue, LeftAddsOtherButtonsTakeAwayDownToZero)
{
    EXPECT_EQ(nextClickValue(0, true), 1);
    EXPECT_EQ(nextClickValue(4, false), 3);
    EXPECT_EQ(nextClickValue(1, false), 0);
    EXPECT_EQ(nextClickValue(INT_MAX, true), MaxCardValue + 1);
    EXPECT_EQ(nextClickValue(INT_MIN, false), 0);

    // A right click on an empty cell stores 0, never a negative count.
    Season s = fourTeams();
    const Entry e = enter(s, rowOf(1), winsCol(2), nextClickValue(0, false));
    EXPECT_EQ(e.result, CardEntryResult::Accepted);
    EXPECT_EQ(s.team(1).CardWins[2], 0);
    EXPECT_EQ(s.team(2).CardLosses[1], 0);
}

TEST(ReadCardText, DigitsOrZero)
{
    const struct
    {
        std::u16string text;
        int value;
    } cases[] = {
        {u"", 0},
        {u"7", 7},
        {u"  12 ", 12},
        {u"１２", 12},
        {u"abc", 0},
        {u"3x", 0},
        {u"-3", 0},
        {u"32767", 32767},
        {u"32768", 32768},
        {u"99999999999", MaxCardValue + 1},
        {u"\u30003\u3000", 3},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ReadCardText(c.text), c.value) << std::string(c.text.begin(), c.text.end());
    }
}
