#include "magic/calcodule.h"

#include "season/filemodule.h"
#include "standings/viewlists.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace penarin;
using penarin::test::SeasonBuilder;

namespace {

const ViewRequest LeagueOne{1, -1};
const ViewRequest EveryLeague{0, -1};
const std::u16string Above(Magiclass::ClinchedAboveText);
const std::u16string Below(Magiclass::ClinchedBelowText);

void setJudgment(Season &season, JudgmentSet TeamRecord::*which, const JudgmentSet &judgment)
{
    for (TeamRecord &team : season.Teams) {
        team.*which = judgment;
    }
}

// The standings of the latest pass a test ran, as the window keeps them.
std::shared_ptr<const PublishedStandings> lastPublished;

RecalculateResult recalculate(Season &season, const OrderSettings &order, const ViewRequest &view)
{
    RecalculateResult result = RecalculateView(season, order, view);
    lastPublished = result.Published;
    return result;
}

const PublishedStandings &published(const Season &)
{
    EXPECT_NE(lastPublished, nullptr);
    return *lastPublished;
}

int rowOf(const PublishedStandings &p, int teamNo)
{
    for (int r = 1; r <= p.Rows.size(); ++r) {
        if (p.Rows[r].TeamNo == teamNo) {
            return r;
        }
    }
    ADD_FAILURE() << "team " << teamNo << " is not in the view";
    return 1;
}

const StandingsRow &rowFor(const Season &season, int teamNo)
{
    const PublishedStandings &p = published(season);
    return p.Rows[rowOf(p, teamNo)];
}

const CardAnalysis &analysisFor(const Season &season, int teamNo)
{
    const PublishedStandings &p = published(season);
    return p.Analysis[rowOf(p, teamNo)];
}

// The card of `teamNo` against `opponent` as the pass published it.
const CardFigures &card(const Season &season, int teamNo, int opponent)
{
    const PublishedStandings &p = published(season);
    return p.Analysis[rowOf(p, teamNo)].Cards[rowOf(p, opponent)];
}

// Every row's list of cards covers exactly the rows of the view, in row
// order: the lists the grid and the dialogs index by row position.
void expectConsistentLists(const Season &season, int rows)
{
    const PublishedStandings &p = published(season);
    ASSERT_EQ(p.Rows.size(), rows);
    ASSERT_EQ(p.Analysis.size(), rows);
    for (int r = 1; r <= rows; ++r) {
        EXPECT_EQ(p.Analysis[r].TeamNo, p.Rows[r].TeamNo);
        ASSERT_EQ(p.Analysis[r].Cards.size(), rows) << "row " << r;
        for (int c = 1; c <= rows; ++c) {
            EXPECT_EQ(p.Analysis[r].Cards[c].Opponent, p.Rows[c].TeamNo);
        }
    }
}

// Three teams of one league. A (1) is 80-50 and B (2) 70-60, each with 13
// games left, of which `meetingsLeft` (at most 13) against each other; C (3)
// is far behind both. The A-B card has 20 games; A-C and B-C have 123.
Season exampleSeason(int meetingsLeft, std::vector<std::int16_t> conditions = {1, 0},
                     int reversal = 0)
{
    SeasonBuilder b;
    const int a = b.addTeam(u"A", 1);
    const int bb = b.addTeam(u"B", 1);
    const int c = b.addTeam(u"C", 1);
    const int played = 20 - meetingsLeft;
    const int aWins = played - played / 2;
    const int aLosses = played / 2;
    b.card(a, bb, 20).card(a, c, 123).card(bb, c, 123);
    b.result(a, bb, aWins, aLosses);
    b.result(a, c, 80 - aWins, 50 - aLosses);  // 13 - meetingsLeft left
    b.result(bb, c, 70 - aLosses, 60 - aWins); // likewise
    Season season = b.build();
    season.HasSeason = true;
    setJudgment(season, &TeamRecord::LeagueJudgment, {0, std::move(conditions), 0});
    for (TeamRecord &team : season.Teams) {
        team.LeagueJudgment.Reversal = static_cast<std::int16_t>(reversal);
    }
    return season;
}

} // namespace

TEST(RecalculateView, PercentageExampleThroughThePass)
{
    // A needs 84/143 to pass B's best of 83/143: 83/143 at k = 3 is only
    // level (both 83 wins, the condition list has nothing more), so k = 4.
    // With 10 meetings left only 3 of A's 13 games are against others.
    Season season = exampleSeason(10);
    recalculate(season, {}, LeagueOne);
    expectConsistentLists(season, 3);
    EXPECT_EQ(card(season, 1, 2).MagicText(), u"4");
    EXPECT_EQ(card(season, 1, 2).MagicKind, MagicKind::Hidden);
    EXPECT_EQ(card(season, 1, 2).MagicColor, Magiclass::ButtonFaceColor);
    EXPECT_EQ(card(season, 1, 2).Remaining, 10);
    // C's best (106/246) is below A's worst (80/143) already.
    EXPECT_EQ(card(season, 1, 3).MagicText(), Above);
    EXPECT_EQ(card(season, 1, 3).MagicKind, MagicKind::ClinchedAbove);
    EXPECT_EQ(card(season, 1, 3).MagicColor, Magiclass::WindowColor);
    // A hidden rival leaves no championship magic, and nothing is deciding.
    EXPECT_EQ(analysisFor(season, 1).MagicCountdown, -1);
    // From C's side both leaders are out of reach.
    EXPECT_EQ(card(season, 3, 1).MagicText(), Below);
    EXPECT_EQ(card(season, 3, 1).MagicKind, MagicKind::ClinchedBelow);
    EXPECT_EQ(card(season, 3, 2).MagicText(), Below);
    // B can still pass A's 80-63 worst case but not yet for certain.
    EXPECT_EQ(card(season, 2, 1).MagicText(), u"");
    EXPECT_EQ(card(season, 2, 1).MagicKind, MagicKind::Undecided);
    EXPECT_EQ(card(season, 2, 3).MagicText(), Above);

    season = exampleSeason(9);
    recalculate(season, {}, LeagueOne);
    EXPECT_EQ(card(season, 1, 2).Remaining, 9);
    EXPECT_EQ(card(season, 1, 2).MagicText(), u"4");
    // Per-card magic, and the one that sets the championship magic.
    EXPECT_EQ(card(season, 1, 2).MagicKind, MagicKind::Deciding);
    EXPECT_EQ(card(season, 1, 2).MagicColor, Magiclass::DecidingColor);
    EXPECT_EQ(card(season, 1, 3).MagicKind, MagicKind::ClinchedAbove);
    EXPECT_EQ(analysisFor(season, 1).MagicCountdown, 4);
    EXPECT_EQ(analysisFor(season, 2).MagicCountdown, -1);
}

TEST(RecalculateView, RowsAreOrderedAndTheOwnCardIsTheWholeSeason)
{
    Season season = exampleSeason(10);
    // Reverse the list so the order has to come from the standings.
    season.ViewRows = {3, 2, 1};
    recalculate(season, {}, LeagueOne);
    const PublishedStandings &p = published(season);
    ASSERT_EQ(p.Rows.size(), 3);
    EXPECT_EQ(p.Rows[1].TeamNo, 1);
    EXPECT_EQ(p.Rows[2].TeamNo, 2);
    EXPECT_EQ(p.Rows[3].TeamNo, 3);
    EXPECT_EQ(p.Rows[2].Rank, 2);
    EXPECT_EQ(p.Rows[2].BehindLeader, "10.0");
    EXPECT_EQ(p.GameScope, ScopeOfficial);

    const StandingsRow &a = p.Rows[1];
    EXPECT_EQ(a.Wins, 80);
    EXPECT_EQ(a.Losses, 50);
    EXPECT_EQ(a.Remaining, 13);
    for (int r = 1; r <= 3; ++r) {
        const StandingsRow &row = p.Rows[r];
        const CardAnalysis &analysis = p.Analysis[r];
        const CardFigures &own = analysis.Cards[r];
        EXPECT_EQ(analysis.TeamNo, row.TeamNo);
        EXPECT_EQ(analysis.UserRankA, row.UserRankA);
        EXPECT_EQ(own.Opponent, row.TeamNo);
        EXPECT_EQ(own.Wins, row.Wins);
        EXPECT_EQ(own.Losses, row.Losses);
        EXPECT_EQ(own.Draws, row.Draws);
        EXPECT_EQ(own.Played, row.Played);
        EXPECT_EQ(own.Remaining, row.Remaining);
        EXPECT_EQ(own.MaxWins, row.MaxWins);
        EXPECT_EQ(own.MaxLosses, row.MaxLosses);
        EXPECT_DOUBLE_EQ(own.Pct, row.Pct);
        EXPECT_DOUBLE_EQ(own.MaxPct, row.MaxPct);
        EXPECT_DOUBLE_EQ(own.MinPct, row.MinPct);
        EXPECT_EQ(own.MagicText(), u"");
        EXPECT_EQ(own.MagicKind, MagicKind::Undecided);
        EXPECT_EQ(own.MagicColor, 0);
    }
    // A card against another row holds that card only: A-C is 75-45 with 3 left.
    EXPECT_EQ(card(season, 1, 3).Wins, 75);
    EXPECT_EQ(card(season, 1, 3).Losses, 45);
    EXPECT_EQ(card(season, 1, 3).Remaining, 3);
    EXPECT_DOUBLE_EQ(card(season, 1, 3).MaxPct, 78.0 / 123.0);
}

TEST(RecalculateView, TieBreakConditionsOfTheJudgmentReachTheCalculator)
{
    // At k = 3 A and B are level at 83/143 with 83 wins each.
    struct Case
    {
        std::vector<std::int16_t> conditions;
        int scope;
        const char16_t *magic;
        MagicKind kind;
    } const cases[] = {
        // Nothing separates a level finish: one more win is needed.
        {{0}, ScopeOfficial, u"4", MagicKind::Hidden},
        // Grid order favours team 1, so the level finish is enough, and with
        // 3 games against others it is within A's own reach.
        {{7, 0}, ScopeOfficial, u"3", MagicKind::Deciding},
        // League percentage: A's worst 80/143 does not beat B's best 83/143,
        // which ends the walk before grid order is asked.
        {{3, 7, 0}, ScopeOfficial, u"4", MagicKind::Hidden},
        // In league games only, the league-table conditions are skipped.
        {{3, 7, 0}, ScopeLeague, u"3", MagicKind::Deciding},
    };
    for (const Case &c : cases) {
        Season season = exampleSeason(10, c.conditions);
        season.GameScope = c.scope;
        recalculate(season, {}, LeagueOne);
        SCOPED_TRACE(testing::Message()
                     << "first condition " << c.conditions.front() << ", scope " << c.scope);
        EXPECT_EQ(season.GameScope, c.scope);
        EXPECT_EQ(card(season, 1, 2).MagicText(), c.magic);
        EXPECT_EQ(card(season, 1, 2).MagicKind, c.kind);
        EXPECT_EQ(analysisFor(season, 1).MagicCountdown, c.kind == MagicKind::Deciding ? 3 : -1);
    }
}

namespace {

// T1 has finished at 50-10. T2 is 40-80 with `left` games to go (all
// against T3), T3 is 60-60 with the same games left.
Season finishedLeaderSeason(int left, int reversal)
{
    SeasonBuilder b;
    const int t1 = b.addTeam(u"T1", 1);
    const int t2 = b.addTeam(u"T2", 1);
    const int t3 = b.addTeam(u"T3", 1);
    b.card(t1, t2, 30).card(t1, t3, 30).card(t2, t3, 90 + left);
    b.result(t1, t2, 25, 5).result(t1, t3, 25, 5).result(t2, t3, 35, 55);
    Season season = b.build();
    season.HasSeason = true;
    setJudgment(season, &TeamRecord::LeagueJudgment, {0, {0}, static_cast<std::int16_t>(reversal)});
    return season;
}

} // namespace

TEST(RecalculateView, ClinchedBelowUnlessTheReversalRuleSparesIt)
{
    // T2's best is 50-80 (.385), below T1's final .833: "×" under rule 0.
    // Rule 1 spares it only when T2's 50 possible wins exceed T1's 50;
    // rule 2 already when they equal them. One more game left for T2 (51
    // possible wins) satisfies rule 1 as well. Against T3 (worst 60-70,
    // .462, with 60 wins) T2 stays "×" under every rule.
    struct Case
    {
        int left;
        int reversal;
        std::u16string againstLeader;
    } const cases[] = {
        {10, 0, Below}, {10, 1, Below}, {10, 2, u""}, {11, 0, Below}, {11, 1, u""}, {11, 2, u""},
    };
    for (const Case &c : cases) {
        Season season = finishedLeaderSeason(c.left, c.reversal);
        recalculate(season, {}, LeagueOne);
        SCOPED_TRACE(testing::Message() << c.left << " left, rule " << c.reversal);
        EXPECT_EQ(card(season, 2, 1).MagicText(), c.againstLeader);
        EXPECT_EQ(card(season, 2, 1).MagicKind,
                  c.againstLeader == Below ? MagicKind::ClinchedBelow : MagicKind::Undecided);
        EXPECT_EQ(card(season, 2, 3).MagicText(), Below);
        EXPECT_EQ(card(season, 2, 3).MagicColor, Magiclass::ButtonFaceColor);
    }
}

TEST(RecalculateView, FinishedTeamIsJudgedOnItsFinalRecordOnly)
{
    // T1 has no game left (R = 0): only k = 0 is evaluated. Under rule 0 its
    // .833 is beyond both rivals' best cases, and with every rival "○" the
    // championship is decided: countdown 0 and no deciding rival.
    Season season = finishedLeaderSeason(10, 0);
    recalculate(season, {}, LeagueOne);
    EXPECT_EQ(rowFor(season, 1).Remaining, 0);
    EXPECT_EQ(card(season, 1, 2).MagicText(), Above);
    EXPECT_EQ(card(season, 1, 3).MagicText(), Above);
    EXPECT_EQ(analysisFor(season, 1).MagicCountdown, 0);

    // Rule 2 also asks for more wins: T3 can still reach 70 and T2 exactly
    // 50, T1's final count, and with no game left there is no k = 1 to try.
    season = finishedLeaderSeason(10, 2);
    recalculate(season, {}, LeagueOne);
    EXPECT_EQ(card(season, 1, 2).MagicText(), u"");
    EXPECT_EQ(card(season, 1, 2).MagicKind, MagicKind::Undecided);
    EXPECT_EQ(card(season, 1, 3).MagicKind, MagicKind::Undecided);
    EXPECT_EQ(analysisFor(season, 1).MagicCountdown, -1);
}

TEST(RecalculateView, CountdownNeedsEveryRivalSettled)
{
    // Cards of 20 games, 15 played in each. T1 17-13, T2 8-22, T3 20-10,
    // each with 10 left, 5 against each rival.
    SeasonBuilder b;
    b.addTeam(u"T1", 1);
    b.addTeam(u"T2", 1);
    b.addTeam(u"T3", 1);
    b.roundRobin(20);
    b.result(1, 2, 12, 3).result(1, 3, 5, 10).result(2, 3, 5, 10);
    Season season = b.build();
    season.HasSeason = true;
    recalculate(season, {}, LeagueOne);

    // T1 passes T2's best 18/40 at 19/40 (k = 2, within the 5 games against
    // T3), but T3 is undecided for it: no championship magic, and T2 keeps
    // a plain per-card magic.
    EXPECT_EQ(card(season, 1, 2).MagicText(), u"2");
    EXPECT_EQ(card(season, 1, 2).MagicKind, MagicKind::PerCard);
    EXPECT_EQ(card(season, 1, 2).MagicColor, Magiclass::WindowColor);
    EXPECT_EQ(card(season, 1, 3).MagicKind, MagicKind::Undecided);
    EXPECT_EQ(analysisFor(season, 1).MagicCountdown, -1);

    // T3 passes T1's best 27/40 at 28/40, k = 8: more than the 5 games it
    // plays against T2, so hidden; T2 is "○". Still no championship magic.
    EXPECT_EQ(card(season, 3, 1).MagicText(), u"8");
    EXPECT_EQ(card(season, 3, 1).MagicKind, MagicKind::Hidden);
    EXPECT_EQ(card(season, 3, 2).MagicText(), Above);
    EXPECT_EQ(analysisFor(season, 3).MagicCountdown, -1);
}

TEST(RecalculateView, InterleagueChampionshipCountsGamesAgainstTheOwnLeague)
{
    // Two leagues of two teams. League cards of 20 games (results do not
    // count in interleague games), interleague cards of 6 games.
    SeasonBuilder b;
    const int a = b.addTeam(u"A", 1);
    const int bb = b.addTeam(u"B", 1);
    const int c = b.addTeam(u"C", 2);
    const int d = b.addTeam(u"D", 2);
    b.roundRobin(20, 6);
    b.result(a, bb, 8, 2).result(c, d, 3, 3);
    b.result(a, c, 2, 2).result(a, d, 3, 1).result(bb, c, 1, 3).result(bb, d, 2, 2);
    Season season = b.build();
    season.HasSeason = true;
    // The league judgment would settle a level finish by grid order; the
    // interleague one has no conditions.
    setJudgment(season, &TeamRecord::LeagueJudgment, {0, {7, 0}, 0});
    setJudgment(season, &TeamRecord::IntJudgment, {0, {0}, 0});

    const RecalculateResult result = recalculate(season, {}, EveryLeague);
    EXPECT_EQ(season.GameScope, ScopeInterleague);
    EXPECT_EQ(result.ScopeText, "交流戦");
    EXPECT_EQ(result.Judgment.Championship, "交流戦勝率");
    EXPECT_EQ(result.Judgment.Conditions, "");
    expectConsistentLists(season, 4);

    // Interleague games: A 5-3 and B 3-5, D 3-5, each with 4 left. A passes
    // B's and D's best of 7/12 at 8/12: k = 3 (the level 7/12 at k = 2 is
    // not enough under the interleague judgment).
    EXPECT_EQ(rowFor(season, a).Wins, 5);
    EXPECT_EQ(rowFor(season, a).Remaining, 4);
    // A and B meet in no interleague game; the card's 20 games stay
    // "remaining" in this scope, yet B is a plain per-card magic.
    EXPECT_EQ(card(season, a, bb).Remaining, 20);
    EXPECT_EQ(card(season, a, bb).MagicText(), u"3");
    EXPECT_EQ(card(season, a, bb).MagicKind, MagicKind::PerCard);
    // D of the other league needs the same 3 wins, but only 2 of A's games
    // are against others than D: hidden.
    EXPECT_EQ(card(season, a, d).Remaining, 2);
    EXPECT_EQ(card(season, a, d).MagicText(), u"3");
    EXPECT_EQ(card(season, a, d).MagicKind, MagicKind::Hidden);
}

TEST(RecalculateView, ViewOfOneTeamIsDecidedAtOnce)
{
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.roundRobin(10).result(1, 2, 3, 4);
    Season season = b.build();
    season.ViewRows = {2};
    recalculate(season, {}, LeagueOne);
    expectConsistentLists(season, 1);
    const CardAnalysis &only = published(season).Analysis[1];
    EXPECT_EQ(only.TeamNo, 2);
    EXPECT_EQ(only.MagicCountdown, 0);
    EXPECT_EQ(only.Cards[1].Wins, 4);
    EXPECT_EQ(only.Cards[1].Remaining, 3);
    EXPECT_EQ(only.Cards[1].MagicText(), u"");
}

TEST(RecalculateView, ListEntriesBeyondTheSeasonAreLeftOut)
{
    // A list edited in memory may name a team the season no longer has; the
    // rows (and every row's cards) cover only the teams that exist.
    SeasonBuilder b;
    b.addTeam(u"A", 1);
    b.addTeam(u"B", 1);
    b.roundRobin(10).result(1, 2, 6, 1);
    Season season = b.build();
    season.ViewRows = {2, 9, 0, 1};
    recalculate(season, {}, LeagueOne);
    expectConsistentLists(season, 2);
    EXPECT_EQ(card(season, 1, 2).Wins, 6);
    EXPECT_EQ(card(season, 1, 2).MagicText(), Above);
}

TEST(RecalculateView, EmptyViewPublishesNoRows)
{
    Season season;
    const RecalculateResult result = recalculate(season, {}, EveryLeague);
    expectConsistentLists(season, 0);
    EXPECT_EQ(result.ScopeText, "不明");
    EXPECT_FALSE(result.ShowScheduleMessage);
}

TEST(RecalculateView, SelectionSettlesTheScopeBeforeTheTeamListIsTaken)
{
    // League 1 is teams 1 and 2; the column list adds league 2's teams.
    auto makeSeason = [](int intCounts) {
        SeasonBuilder b;
        b.addTeam(u"A", 1);
        b.addTeam(u"B", 1);
        b.addTeam(u"C", 2);
        b.addTeam(u"D", 2);
        b.roundRobin(10, 4).intCounts(intCounts);
        b.result(1, 2, 3, 2).result(1, 3, 1, 1).result(2, 4, 2, 0);
        Season season = b.build();
        season.HasSeason = true;
        season.ViewRows = {1, 2};
        season.ViewCols = {1, 2, 3, 4};
        return season;
    };
    struct Case
    {
        int league;
        int intCounts;
        int scopeBefore;
        int scopeAfter;
        const char *text;
        bool menuEnabled;
        int rows;
    } const cases[] = {
        // Every league: interleague games when they count, else "unknown".
        {0, 1, ScopeOfficial, ScopeInterleague, "交流戦", false, 4},
        {0, 1, ScopeLeague, ScopeInterleague, "交流戦", false, 4},
        {0, 0, ScopeInterleague, ScopeOfficial, "不明", false, 2},
        // One league without counting interleague results: official games,
        // and the row list (not the wider column list of the old scope).
        {1, 0, ScopeInterleague, ScopeOfficial, "公式戦", false, 2},
        {1, 0, ScopeLeague, ScopeOfficial, "公式戦", false, 2},
        // Otherwise the user's scope stands.
        {1, 1, ScopeLeague, ScopeLeague, "リーグ戦", true, 2},
        {1, 1, ScopeInterleague, ScopeInterleague, "交流戦", true, 4},
        {1, 1, ScopeOfficial, ScopeOfficial, "公式戦", true, 2},
    };
    for (const Case &c : cases) {
        Season season = makeSeason(c.intCounts);
        season.GameScope = c.scopeBefore;
        const RecalculateResult result = recalculate(season, {}, {c.league, -1});
        SCOPED_TRACE(testing::Message() << "league entry " << c.league << ", IntCounts "
                                        << c.intCounts << ", scope " << c.scopeBefore);
        EXPECT_EQ(season.GameScope, c.scopeAfter);
        EXPECT_EQ(published(season).GameScope, c.scopeAfter);
        EXPECT_EQ(result.CheckedScope, c.scopeAfter);
        EXPECT_EQ(result.ScopeText, c.text);
        EXPECT_EQ(result.ScopeMenuEnabled, c.menuEnabled);
        EXPECT_FALSE(result.ShowScheduleMessage);
        expectConsistentLists(season, c.rows);
        if (std::string(c.text) == "不明") {
            EXPECT_EQ(result.Judgment.Championship, "不明");
            EXPECT_EQ(result.Judgment.Conditions, "");
        }
    }
}

TEST(RecalculateView, ResultsBeyondTheScheduleAreFlaggedAndStillPublished)
{
    // A-B has 3 games, A-C 10: A's season total stays within its 13 games
    // while the A-B card is overfull.
    auto makeSeason = [](int abWins, int abDraws, int leagueDrawReplay) {
        SeasonBuilder b;
        b.addTeam(u"A", 1);
        b.addTeam(u"B", 1);
        b.addTeam(u"C", 1);
        b.card(1, 2, 3).card(1, 3, 10).card(2, 3, 10);
        b.drawReplay(leagueDrawReplay, leagueDrawReplay, 1);
        b.result(1, 2, abWins, 0, abDraws).result(1, 3, 1, 1);
        Season season = b.build();
        season.HasSeason = true;
        return season;
    };

    Season season = makeSeason(3, 0, 1);
    EXPECT_FALSE(recalculate(season, {}, LeagueOne).ShowScheduleMessage);

    season = makeSeason(4, 0, 1);
    EXPECT_TRUE(recalculate(season, {}, LeagueOne).ShowScheduleMessage);
    EXPECT_EQ(card(season, 1, 2).Remaining, -1);
    EXPECT_EQ(card(season, 2, 1).Remaining, -1);
    EXPECT_EQ(rowFor(season, 1).Remaining, 7);
    EXPECT_EQ(card(season, 1, 2).Wins, 4);

    // Draws use up games only when they are not replayed.
    season = makeSeason(2, 2, 1);
    EXPECT_TRUE(recalculate(season, {}, LeagueOne).ShowScheduleMessage);
    season = makeSeason(2, 2, 0);
    EXPECT_FALSE(recalculate(season, {}, LeagueOne).ShowScheduleMessage);
    EXPECT_EQ(card(season, 1, 2).Remaining, 1);

    // A team total beyond its season's games, every card within its own.
    season = makeSeason(3, 0, 1);
    season.team(1).OfficialGames = 4;
    EXPECT_TRUE(recalculate(season, {}, LeagueOne).ShowScheduleMessage);
    EXPECT_EQ(rowFor(season, 1).Remaining, -1);
    EXPECT_EQ(card(season, 1, 1).Remaining, -1);

    // Before a season is displayed there is nobody to tell.
    season = makeSeason(4, 0, 1);
    season.HasSeason = false;
    EXPECT_FALSE(recalculate(season, {}, LeagueOne).ShowScheduleMessage);
}

TEST(RecalculateView, EachPassPublishesANewWhole)
{
    Season season = exampleSeason(10);
    recalculate(season, {}, LeagueOne);
    const std::shared_ptr<const PublishedStandings> before = lastPublished;
    ASSERT_NE(before, nullptr);

    // A wins one of its remaining games against C.
    ++season.team(1).CardWins[3];
    ++season.team(3).CardLosses[1];
    recalculate(season, {}, LeagueOne);
    ASSERT_NE(lastPublished, before);

    // What a reader took from the first pass is left as it was.
    EXPECT_EQ(before->Rows[1].Wins, 80);
    EXPECT_EQ(before->Analysis[1].Cards[3].Wins, 75);
    EXPECT_EQ(before->Analysis[1].Cards[2].MagicText(), u"4");
    EXPECT_EQ(rowFor(season, 1).Wins, 81);
    EXPECT_EQ(card(season, 1, 3).Wins, 76);
    // 84/143 is now reached with three more wins.
    EXPECT_EQ(card(season, 1, 2).MagicText(), u"3");
}

TEST(RecalculateView, PassesAfterOtherViewsPublishWhatAFirstPassWould)
{
    // Each pass writes over the memory of the one before when the caller
    // hands it back and nobody else holds it: nothing of a larger view,
    // another scope or result mode may show through.
    SeasonBuilder b;
    for (const char16_t *name : {u"A", u"B", u"C", u"D"}) {
        b.addTeam(name, 1, name[0] < u'C' ? 1 : 2);
    }
    b.addTeam(u"X", 2);
    b.addTeam(u"Y", 2);
    b.roundRobin(12, 3).intCounts(1);
    b.result(1, 2, 5, 4, 1).result(1, 3, 7, 2).result(2, 4, 3, 6).result(3, 5, 2, 1);
    b.result(5, 6, 8, 3).result(4, 6, 1, 2).simResult(1, 2, 2, 0).simResult(5, 6, 1, 0);
    Season season = b.build();
    season.HasSeason = true;
    setJudgment(season, &TeamRecord::LeagueJudgment, {0, {2, 3, 7, 0}, 0});
    setJudgment(season, &TeamRecord::DivisionJudgment, {1, {1, 2, 0}, 1});
    struct Step
    {
        int league, division, scope, simMode;
    } const steps[] = {
        {0, -1, ScopeOfficial, 0}, {1, 0, ScopeOfficial, 0},     {1, 1, ScopeLeague, 0},
        {1, 2, ScopeOfficial, 1},  {2, -1, ScopeInterleague, 1}, {1, 0, ScopeOfficial, 1},
    };
    std::shared_ptr<const PublishedStandings> reused;
    for (const Step &step : steps) {
        SCOPED_TRACE(testing::Message() << "league " << step.league << " division " << step.division
                                        << " scope " << step.scope);
        BuildViewLists(season, step.league, step.division);
        season.GameScope = step.scope;
        season.SimMode = step.simMode;
        Season fresh = season;
        const ViewRequest view{step.league, step.division};
        reused = RecalculateView(season, {2, 0, 0}, view, std::move(reused)).Published;
        EXPECT_EQ(*reused, *RecalculateView(fresh, {2, 0, 0}, view).Published);
    }
}

TEST(RecalculateView, JudgmentOrderFollowsTheChampionshipInForce)
{
    // One league of two divisions: teams 1 and 2 in the first, 3 and 4 in
    // the second. Team 1 is 60-40 (.600), team 2 62-48 (.564). The league
    // is decided by percentage, each division by wins.
    SeasonBuilder b;
    b.addTeam(u"A", 1, 1);
    b.addTeam(u"B", 1, 1);
    b.addTeam(u"C", 1, 2);
    b.addTeam(u"D", 1, 2);
    b.card(1, 2, 24).card(1, 3, 44).card(1, 4, 44).card(2, 3, 48).card(2, 4, 48).card(3, 4, 10);
    b.result(1, 2, 10, 10).result(1, 3, 25, 15).result(1, 4, 25, 15);
    b.result(2, 3, 26, 19).result(2, 4, 26, 19).result(3, 4, 5, 5);
    Season season = b.build();
    season.HasSeason = true;
    setJudgment(season, &TeamRecord::LeagueJudgment, {0, {1, 0}, 0});
    setJudgment(season, &TeamRecord::DivisionJudgment, {1, {1, 0}, 0});
    const OrderSettings byJudgment{2, 0, 0};

    BuildViewLists(season, 1, 1);
    RecalculateResult result = recalculate(season, byJudgment, {1, 1});
    const PublishedStandings *p = lastPublished.get();
    ASSERT_EQ(p->Rows.size(), 2);
    EXPECT_EQ(p->Rows[1].TeamNo, 2);
    EXPECT_EQ(p->Rows[2].TeamNo, 1);
    EXPECT_EQ(p->Rows[2].Rank, 2);
    EXPECT_EQ(result.Judgment.Championship, "地区勝数");
    EXPECT_EQ(result.Judgment.Conditions, "勝率");

    // The same division ordered by percentage puts team 1 first.
    recalculate(season, {}, {1, 1});
    EXPECT_EQ(lastPublished->Rows[1].TeamNo, 1);

    // The whole league under the judgment: the league's percentage rule.
    BuildViewLists(season, 1, 0);
    result = recalculate(season, byJudgment, {1, 0});
    p = lastPublished.get();
    ASSERT_EQ(p->Rows.size(), 4);
    EXPECT_EQ(p->Rows[1].TeamNo, 1);
    EXPECT_EQ(p->Rows[2].TeamNo, 2);
    EXPECT_EQ(result.Judgment.Championship, "リーグ勝率");
}

TEST(RecalculateView, SampleSeasonFiguresMatchAHandComputation)
{
    Season season;
    ASSERT_EQ(LoadSeason(season, PENARIN_SAMPLES_DIR "/sample-a.ptr", test::testNow),
              LoadStatus::Loaded);
    season.HasSeason = true;
    const ViewSelection stored = StoredViewSelection(season);
    ASSERT_EQ(stored.league, 1);
    const RecalculateResult result =
        recalculate(season, OrderSettings{}, {stored.league, stored.division});
    EXPECT_FALSE(result.ShowScheduleMessage);
    EXPECT_EQ(result.ScopeText, "公式戦");
    EXPECT_TRUE(result.ScopeMenuEnabled);
    expectConsistentLists(season, 6);

    // Team 1, official games (league plus interleague, which count), 143
    // scheduled, every draw uses up a game (replay setting 1):
    //   league:      vs2 8-8-0, vs3 11-5-1, vs4 7-10-0, vs5 11-5-1, vs6 10-7-0
    //                = 47-35-2
    //   interleague: vs7 1-1, vs8 0-1, vs9 1-0, vs10 1-1, vs11 1-1, vs12 1-1
    //                = 5-5-0
    //   total 52-40-2, played 94, remaining 143 - 94 = 49,
    //   pct 52/92, best 101/141, worst 52/141.
    const StandingsRow &row = rowFor(season, 1);
    EXPECT_EQ(row.Rank, 1);
    EXPECT_EQ(row.Wins, 52);
    EXPECT_EQ(row.Losses, 40);
    EXPECT_EQ(row.Draws, 2);
    EXPECT_EQ(row.Played, 94);
    EXPECT_EQ(row.Remaining, 49);
    EXPECT_DOUBLE_EQ(row.Pct, 52.0 / 92.0);
    EXPECT_DOUBLE_EQ(row.MaxPct, 101.0 / 141.0);
    EXPECT_DOUBLE_EQ(row.MinPct, 52.0 / 141.0);

    // Team 6: league vs1 7-10, vs2 6-11, vs3 7-10, vs4 9-7-1, vs5 9-8
    //   = 38-46-1; interleague vs7 0-1, vs8 0-3, vs9 1-1, vs10 0-2,
    //   vs11 1-1, vs12 0-1 = 2-9; total 40-55-1, remaining 143 - 96 = 47,
    //   best 87-55 = 87/142 = .61268.
    // Team 1 after k more wins (and 49 - k losses): (52 + k)/141.
    //   k = 34: 86/141 = .60993 < .61268; k = 35: 87/141 = .61702 > .61268.
    //   Card 1-6: 25 games, 10-7 played, 8 left; 49 - 8 = 41 >= 35: per-card.
    EXPECT_EQ(rowFor(season, 6).MaxWins, 87);
    EXPECT_EQ(card(season, 1, 6).Wins, 10);
    EXPECT_EQ(card(season, 1, 6).Losses, 7);
    EXPECT_EQ(card(season, 1, 6).Remaining, 8);
    EXPECT_EQ(card(season, 1, 6).MagicText(), u"35");
    EXPECT_EQ(card(season, 1, 6).MagicKind, MagicKind::PerCard);

    // Team 2: league vs1 8-8, vs3 7-10, vs4 10-6-1, vs5 8-9, vs6 11-6
    //   = 44-39-1; interleague vs7 1-1, vs8 1-1, vs9 0-1, vs10 1-1,
    //   vs11 2-0, vs12 0-2 = 5-6; total 49-45-1, remaining 143 - 95 = 48,
    //   best 97-45 = 97/142 = .68310.
    //   k = 44: 96/141 = .68085 < .68310; k = 45: 97/141 = .68794 > .68310.
    //   Card 1-2: 25 games, 8-8 played, 9 left; 49 - 9 = 40 < 45: hidden.
    EXPECT_EQ(card(season, 1, 2).Remaining, 9);
    EXPECT_EQ(card(season, 1, 2).MagicText(), u"45");
    EXPECT_EQ(card(season, 1, 2).MagicKind, MagicKind::Hidden);
    // A hidden rival: no championship magic yet.
    EXPECT_EQ(analysisFor(season, 1).MagicCountdown, -1);
}
