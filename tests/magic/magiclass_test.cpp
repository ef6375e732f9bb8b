#include "magic/magiclass.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

using namespace penarin;

namespace {

// One team of the view as the recalculation pass hands it over; the flags
// and the meetings left are seen from my team.
struct Team
{
    int wins = 0;
    int losses = 0;
    int remaining = 0;
    int vsRemaining = 0;
    int league = 1;
    std::uint8_t overWin = 0, penAvg = 0, penWin = 0, intAvg = 0, intWin = 0;
    std::uint8_t berRnk = 0, rnkA = 0, rnkB = 0, rnkC = 0;
};

struct Rules
{
    int judgment = 0;
    std::vector<std::int16_t> conditions{0};
    int reversal = 0;
    int scope = 0;
    int myLeague = 1;
};

double ratio(int num, int den)
{
    return den == 0 ? 0.0 : static_cast<double>(num) / den;
}

// Feeds the calculator in the order the recalculation pass uses and runs it.
void run(Magiclass &m, const std::vector<Team> &teams, int mySlot, const Rules &rules = {})
{
    m.Initialize();
    m.SetMyLeagueIndex(rules.myLeague);
    m.SetMyTeamIndex(mySlot);
    m.TeamCount(static_cast<int>(teams.size()));
    m.AryIndex(mySlot);
    m.SetIntMode(rules.scope);
    m.SetJudgment(rules.judgment);
    m.SetJudgmentA(rules.conditions);
    m.SetJudgmentB(rules.reversal);
    for (const Team &t : teams) {
        m.SetOverWin(t.overWin);
        if (rules.scope == 0) {
            m.SetPenAvg(t.penAvg);
            m.SetPenWin(t.penWin);
            m.SetIntAvg(t.intAvg);
            m.SetIntWin(t.intWin);
        }
        m.SetBerRnk(t.berRnk);
        m.SetUserRnkA(t.rnkA);
        m.SetUserRnkB(t.rnkB);
        m.SetUserRnkC(t.rnkC);
        m.SetVsZanGame(t.vsRemaining);
        m.SetTgWin(t.wins);
        m.SetTgLoss(t.losses);
        m.SetTgZanGame(t.remaining);
        m.SetTgAllWin(t.wins + t.remaining);
        const int games = t.wins + t.losses + t.remaining;
        m.SetTgAllWinAvg(ratio(t.wins + t.remaining, games));
        m.SetTgAllLossAvg(ratio(t.wins, games));
        m.SetTgLeagueIndex(t.league);
    }
    m.GetMagicNumber();
}

std::u16string text(const Magiclass &m, int slot)
{
    return m.PutMagicNumber(slot);
}

const Team Me{80, 50, 13};
const Team Rival{70, 60, 13}; // best case 83-60: 83/143

} // namespace

TEST(Magiclass, PercentageExampleHiddenUntilTheMeetingsAllowIt)
{
    Magiclass m;
    const Rules rules{0, {1}, 0};
    Team rival = Rival;
    rival.vsRemaining = 10; // R - 10 = 3 < 4: the fourth win must come against this rival
    run(m, {Me, rival}, 1, rules);
    EXPECT_EQ(text(m, 2), u"4");
    EXPECT_EQ(m.PutMagicType(2), MagicKind::Hidden);
    EXPECT_EQ(m.PutCellColor(2), Magiclass::ButtonFaceColor);
    EXPECT_EQ(m.PutCountDownNo(), -1);

    rival.vsRemaining = 9;
    run(m, {Me, rival}, 1, rules);
    EXPECT_EQ(text(m, 2), u"4");
    EXPECT_EQ(m.PutMagicType(2), MagicKind::Deciding); // the only rival sets the countdown
    EXPECT_EQ(m.PutCellColor(2), Magiclass::DecidingColor);
    EXPECT_EQ(m.PutCountDownNo(), 4);
    // My own slot stays blank.
    EXPECT_EQ(text(m, 1), u"");
    EXPECT_EQ(m.PutMagicType(1), MagicKind::Undecided);
    EXPECT_EQ(m.PutCellColor(1), 0);
}

TEST(Magiclass, LevelBestCasesGoToTheConditionsThenToTheNextWin)
{
    Magiclass m;
    run(m, {Me, Rival}, 1, {0, {0}, 0}); // no conditions: level at k = 3 decides nothing
    EXPECT_EQ(text(m, 2), u"4");
    Team rival = Rival;
    rival.overWin = 1; // my team has won the series: the level finish at k = 3 is enough
    run(m, {Me, rival}, 1, {0, {2}, 0});
    EXPECT_EQ(text(m, 2), u"3");
    EXPECT_EQ(m.PutCountDownNo(), 3);
}

TEST(Magiclass, ClinchedAboveAndBelowWithTheReversalRules)
{
    Magiclass m;
    run(m, {Me, {40, 90, 13}}, 1); // its best 53/143 is below my worst 80/143
    EXPECT_EQ(text(m, 2), Magiclass::ClinchedAboveText);
    EXPECT_EQ(m.PutMagicType(2), MagicKind::ClinchedAbove);
    EXPECT_EQ(m.PutCellColor(2), Magiclass::WindowColor);
    EXPECT_EQ(m.PutCountDownNo(), 0);

    // My best 73/143 with 73 wins against a rival already at 60-20 (.750)
    // and one at 73-20 (.785): below both on percentage.
    const Team me{70, 70, 3};
    const std::vector<Team> view{me, {60, 20, 0}, {73, 20, 0}};
    const std::u16string below(Magiclass::ClinchedBelowText);
    const struct
    {
        int reversal;
        std::u16string fewerWins, sameWins;
    } cases[] = {
        {0, below, below},
        {1, u"", below}, // rule 1 spares only more wins than the rival's worst
        {2, u"", u""},   // rule 2 spares equal wins too
    };
    for (const auto &c : cases) {
        run(m, view, 1, {0, {0}, c.reversal});
        EXPECT_EQ(text(m, 2), c.fewerWins) << "rule " << c.reversal;
        EXPECT_EQ(text(m, 3), c.sameWins) << "rule " << c.reversal;
        EXPECT_EQ(m.PutCountDownNo(), -1);
    }
    run(m, view, 1);
    EXPECT_EQ(m.PutMagicType(2), MagicKind::ClinchedBelow);
    EXPECT_EQ(m.PutCellColor(2), Magiclass::ButtonFaceColor);
}

TEST(Magiclass, ReversalRulesAskTheSecondaryMeasureToAgree)
{
    Magiclass m;
    // Rival's best .700 with 70 wins. My percentage passes it at k = 13,
    // my wins reach 70 only at k = 30, my last game.
    const std::vector<Team> view{{40, 5, 30}, {60, 30, 10}};
    run(m, view, 1, {0, {0}, 0});
    EXPECT_EQ(text(m, 2), u"13");
    run(m, view, 1, {0, {0}, 1});
    EXPECT_EQ(text(m, 2), u"30");
    run(m, view, 1, {0, {0}, 2}); // 71 wins would be needed: undecided
    EXPECT_EQ(text(m, 2), u"");
    EXPECT_EQ(m.PutMagicType(2), MagicKind::Undecided);
}

TEST(Magiclass, NoRemainingGamesEvaluatesOnlyTheCurrentRecord)
{
    Magiclass m;
    const Team me{70, 73, 0};
    Team level{60, 73, 10}; // best case 70-73, exactly my record
    run(m, {me, level}, 1, {0, {7}, 0});
    EXPECT_EQ(text(m, 2), u""); // grid order does not favour me, and no k = 1 is tried
    level.berRnk = 1;
    run(m, {me, level}, 1, {0, {7}, 0});
    EXPECT_EQ(text(m, 2), Magiclass::ClinchedAboveText);
    run(m, {me, {80, 63, 0}}, 1);
    EXPECT_EQ(text(m, 2), Magiclass::ClinchedBelowText);
}

TEST(Magiclass, ConditionWalkAtLevelPrimaries)
{
    // Both end at 70-73 at best; my team has no games left, so only k = 0
    // counts and the answer is "○" exactly when the conditions favour me.
    const Team me{70, 73, 0};
    auto clinched = [&](std::vector<std::int16_t> conditions, Team rival, int scope = 0) {
        Magiclass m;
        run(m, {me, rival}, 1, {0, std::move(conditions), 0, scope});
        return m.PutMagicType(2) == MagicKind::ClinchedAbove;
    };
    const Team level{60, 73, 10};
    auto with = [&](auto member, std::uint8_t value) {
        Team t = level;
        t.*member = value;
        return t;
    };
    using F = std::uint8_t Team::*;
    const F flags[] = {&Team::overWin, &Team::penAvg, &Team::penWin, &Team::intAvg, &Team::intWin,
                       &Team::berRnk,  &Team::rnkA,   &Team::rnkB,   &Team::rnkC};
    for (int code = 2; code <= 10; ++code) {
        const F own = flags[code - 2];
        SCOPED_TRACE(code);
        EXPECT_TRUE(clinched({static_cast<std::int16_t>(code)}, with(own, 1)));
        // Every other flag set: only the code's own flag may decide.
        Team others = level;
        for (F f : flags) {
            others.*f = 1;
        }
        others.*own = 0;
        EXPECT_FALSE(clinched({static_cast<std::int16_t>(code), 0}, others));
        // 2 means level at best: codes 2 to 6 go on, 7 to 10 stop.
        Team levelFlag = with(own, 2);
        levelFlag.rnkC = code == 10 ? 2 : 1;
        EXPECT_EQ(clinched({static_cast<std::int16_t>(code), 10}, levelFlag), code <= 6);
    }
    // A flag of 0 ends the walk; a later condition cannot help.
    EXPECT_FALSE(clinched({2, 7}, with(&Team::berRnk, 1)));
    // Codes 3 to 6 only count for official games; elsewhere they are passed over.
    for (int scope : {-1, 1}) {
        EXPECT_TRUE(clinched({3, 4, 5, 6, 7}, with(&Team::berRnk, 1), scope));
        EXPECT_FALSE(clinched({3}, with(&Team::penAvg, 1), scope));
    }
    // Unknown codes are passed over, 0 ends the list.
    EXPECT_TRUE(clinched({11, 7}, with(&Team::berRnk, 1)));
    EXPECT_FALSE(clinched({0, 7}, with(&Team::berRnk, 1)));
    EXPECT_FALSE(clinched({}, with(&Team::berRnk, 1)));
    // Code 1 with level wins goes on.
    EXPECT_TRUE(clinched({1, 7}, with(&Team::berRnk, 1)));
}

TEST(Magiclass, SecondaryConditionDecidesOrEndsTheWalk)
{
    Magiclass m;
    Team rival{27, 20, 3}; // best 30-20: .600 with 30 wins
    rival.berRnk = 1;
    run(m, {{60, 40, 0}, rival}, 1, {0, {1, 7}, 0});
    EXPECT_EQ(text(m, 2), Magiclass::ClinchedAboveText); // .600 with 60 wins
    rival = {57, 40, 3};                                 // best 60-40: .600 with 60 wins
    rival.berRnk = 1;
    run(m, {{30, 20, 0}, rival}, 1, {0, {1, 7}, 0});
    EXPECT_EQ(text(m, 2), u""); // fewer wins ends the walk before grid order
}

TEST(Magiclass, MostWinsSwapsTheMeasures)
{
    Magiclass m;
    const Team me{70, 40, 10};
    const Team rival{75, 60, 5}; // best 80 wins at .571; worst 75 wins at .536
    run(m, {me, rival}, 1, {1, {1}, 0});
    EXPECT_EQ(text(m, 2), u"10"); // 80 wins each, my .667 is better
    run(m, {me, rival}, 1, {0, {1}, 0});
    EXPECT_EQ(text(m, 2), Magiclass::ClinchedAboveText); // my worst .583 beats its best

    // My best 60 wins is below its worst 65; the rival's worst percentage is
    // 65/150, below my best 60/120, which rule 1 lets count.
    const std::vector<Team> view{{50, 60, 10}, {65, 80, 5}};
    run(m, view, 1, {1, {0}, 0});
    EXPECT_EQ(text(m, 2), Magiclass::ClinchedBelowText);
    run(m, view, 1, {1, {0}, 1});
    EXPECT_EQ(text(m, 2), u"");
}

TEST(Magiclass, UnknownJudgmentComparesAgainstZeroReferences)
{
    Magiclass m;
    run(m, {{10, 100, 33}, {100, 0, 43}}, 1, {2, {0}, 0});
    EXPECT_EQ(m.PutMagicType(2), MagicKind::ClinchedAbove);
}

TEST(Magiclass, CountdownNeedsEveryRivalLit)
{
    Magiclass m;
    // Magic 4 against the first rival, "○" against the second, and a third
    // rival decided by the meetings left.
    Team strong = Rival;
    Team weak{40, 90, 13};
    Team close{70, 62, 10}; // best 80-62 (.563): magic 1
    close.vsRemaining = 12;
    run(m, {strong, Me, weak, close}, 2, {0, {1}, 0});
    EXPECT_EQ(m.PutMagicType(4), MagicKind::PerCard);
    EXPECT_EQ(m.PutCountDownNo(), 4);
    EXPECT_EQ(m.PutMagicType(1), MagicKind::Deciding);
    EXPECT_EQ(m.PutCellColor(1), Magiclass::DecidingColor);
    EXPECT_EQ(text(m, 4), u"1");
    EXPECT_EQ(m.PutCellColor(4), Magiclass::WindowColor);

    // A second rival with the same magic 4 shares the deciding colour.
    run(m, {strong, Me, weak, Rival}, 2, {0, {1}, 0});
    EXPECT_EQ(m.PutMagicType(1), MagicKind::Deciding);
    EXPECT_EQ(m.PutMagicType(4), MagicKind::Deciding);
    EXPECT_EQ(m.PutMagicType(3), MagicKind::ClinchedAbove);

    // One hidden or undecided rival: no countdown, the others keep their k.
    strong.vsRemaining = 10;
    run(m, {strong, Me, weak, close}, 2, {0, {1}, 0});
    EXPECT_EQ(m.PutMagicType(1), MagicKind::Hidden);
    EXPECT_EQ(m.PutMagicType(4), MagicKind::PerCard);
    EXPECT_EQ(text(m, 4), u"1");
    EXPECT_EQ(m.PutCountDownNo(), -1);
    run(m, {{80, 40, 23}, Me, weak, close}, 2, {0, {1}, 0});
    EXPECT_EQ(m.PutMagicType(1), MagicKind::Undecided);
    EXPECT_EQ(m.PutMagicType(4), MagicKind::PerCard);
    EXPECT_EQ(m.PutCountDownNo(), -1);

    // All "○": decided.
    run(m, {weak, Me, weak}, 2);
    EXPECT_EQ(m.PutCountDownNo(), 0);
    EXPECT_EQ(m.PutMagicType(1), MagicKind::ClinchedAbove);
    EXPECT_EQ(m.PutMagicType(3), MagicKind::ClinchedAbove);
}

TEST(Magiclass, InterleagueChampionshipCountsEveryGameAgainstOwnLeague)
{
    Magiclass m;
    Team sameLeague = Rival;
    sameLeague.vsRemaining = 13;
    Team otherLeague = sameLeague;
    otherLeague.league = 2;
    run(m, {Me, sameLeague, otherLeague}, 1, {0, {1}, 0, 1});
    EXPECT_EQ(m.PutMagicType(2), MagicKind::PerCard);
    EXPECT_EQ(m.PutMagicType(3), MagicKind::Hidden);
    run(m, {Me, sameLeague}, 1, {0, {1}, 0, 1});
    EXPECT_EQ(m.PutMagicType(2), MagicKind::Deciding);
    EXPECT_EQ(m.PutCountDownNo(), 4);
    run(m, {Me, sameLeague}, 1, {0, {1}, 0, 0}); // only in the interleague scope
    EXPECT_EQ(m.PutMagicType(2), MagicKind::Hidden);
}

TEST(Magiclass, LifecycleAndOutOfRangeSlots)
{
    Magiclass m;
    run(m, {Me}, 1); // a view of one team: no rival, decided at once
    EXPECT_EQ(m.PutCountDownNo(), 0);
    EXPECT_EQ(text(m, 1), u"");

    run(m, {Me, Rival, {40, 90, 13}}, 1);
    for (int slot : {0, -1, 4, INT_MIN, INT_MAX}) {
        EXPECT_EQ(text(m, slot), u"");
        EXPECT_EQ(m.PutMagicType(slot), MagicKind::Undecided);
        EXPECT_EQ(m.PutCellColor(slot), 0);
    }
    m.Clear();
    EXPECT_EQ(m.PutCountDownNo(), 0);
    EXPECT_EQ(m.PutMagicType(3), MagicKind::Undecided);
    m.Initialize();
    EXPECT_EQ(m.PutCountDownNo(), -1);
    EXPECT_EQ(text(m, 3), u"");

    // A smaller view after a larger one keeps nothing of the earlier run.
    run(m, {{40, 90, 13}, Me}, 2);
    EXPECT_EQ(text(m, 1), Magiclass::ClinchedAboveText);
    EXPECT_EQ(text(m, 3), u"");
}

TEST(Magiclass, MalformedInputNeverCrashes)
{
    Magiclass m;
    // Fewer appends than slots: the missing rival reads as 0-0-0.
    m.Initialize();
    m.TeamCount(3);
    m.AryIndex(1);
    m.SetJudgmentA({1});
    m.SetTgWin(5);
    m.SetTgLoss(5);
    m.SetTgZanGame(5);
    m.GetMagicNumber();
    EXPECT_EQ(m.PutMagicType(2), MagicKind::ClinchedAbove);
    EXPECT_EQ(m.PutMagicType(3), MagicKind::ClinchedAbove);

    // My slot outside the view: no championship magic.
    for (int slot : {0, 4}) {
        m.Initialize();
        m.TeamCount(3);
        m.AryIndex(slot);
        m.GetMagicNumber();
        EXPECT_EQ(m.PutCountDownNo(), -1);
    }
    m.TeamCount(-5);
    m.GetMagicNumber();
    EXPECT_EQ(m.PutCountDownNo(), -1);

    // Counts beyond the 16-bit range and negative remaining games.
    run(m, {{INT_MAX / 2, INT_MIN / 2, INT_MAX / 2}, Rival}, 1, {0, {1}, 2});
    run(m, {{80, 50, -20}, Rival}, 1, {0, {1}, 0});
    EXPECT_EQ(m.PutMagicType(2), MagicKind::Undecided);
    run(m, {{-100, 50, 10}, {1, 1, 0}}, 1, {0, {1}, 0});
}

// The search for the first useful k skips work; compare it with the plain
// k = 0..R walk on many small random records.
TEST(Magiclass, AgreesWithPlainWalkOverEveryK)
{
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Magiclass m;
    for (int trial = 0; trial < 3000; ++trial) {
        const Rules rules{pick(0, 1), {static_cast<std::int16_t>(pick(0, 2))}, pick(0, 2)};
        const Team me{pick(0, 12), pick(0, 12), pick(0, 12)};
        Team rival{pick(0, 12), pick(0, 12), pick(0, 12)};
        rival.overWin = static_cast<std::uint8_t>(pick(0, 2));
        run(m, {me, rival}, 1, rules);

        // Plain walk.
        const int W = me.wins, L = me.losses, R = me.remaining;
        const int rg = rival.wins + rival.losses + rival.remaining;
        const bool byWins = rules.judgment == 1;
        const double pmax =
            byWins ? rival.wins + rival.remaining : ratio(rival.wins + rival.remaining, rg);
        const double smax =
            byWins ? ratio(rival.wins + rival.remaining, rg) : rival.wins + rival.remaining;
        const double pmin = byWins ? rival.wins : ratio(rival.wins, rg);
        const double smin = byWins ? ratio(rival.wins, rg) : rival.wins;
        std::u16string expected;
        for (int k = 0; k <= R; ++k) {
            const double pct = ratio(W + k, W + L + R);
            const double p = byWins ? W + k : pct, s = byWins ? pct : W + k;
            const int rev = rules.reversal;
            bool above = false;
            if (p > pmax) {
                above = rev == 0 || (rev == 1 && s >= smax) || (rev == 2 && s > smax);
            } else if (p == pmax) {
                const int code = rules.conditions[0];
                above = (code == 1 && s > smax) || (code == 2 && rival.overWin == 1);
            } else if (k == R) {
                if (p < pmin && (rev == 0 || (rev == 1 && s <= smin) || (rev == 2 && s < smin))) {
                    expected = Magiclass::ClinchedBelowText;
                }
                break;
            }
            if (above) {
                expected = k == 0 ? std::u16string(Magiclass::ClinchedAboveText)
                                  : std::u16string(1, static_cast<char16_t>(u'0' + k % 10));
                if (k >= 10) {
                    expected.insert(expected.begin(), u'1');
                }
                break;
            }
        }
        ASSERT_EQ(text(m, 2), expected) << "trial " << trial;
    }
}
