#include "magic/calcodule.h"
#include "standings/obimodule.h"
#include "support/seasonbuilder.h"
#include "tables/chartmodule.h"

#include <gtest/gtest.h>

namespace penarin {
namespace {

double day(int month, int dayOfMonth)
{
    return toOleDate({2026, month, dayOfMonth});
}

// A published standings of `season` with its teams in the given order.
PublishedStandings publish(const Season &season, const std::vector<int> &order)
{
    PublishedStandings published;
    for (int teamNo : order) {
        StandingsRow row = MakeStandingsRow(season, teamNo, TeamTotals(season, teamNo, 0));
        published.Rows.push_back(row);
    }
    return published;
}

// One snapshot with a surplus (and pct) per team, in team order.
void addSnapshot(Season &season, double date, const std::vector<int> &surpluses, bool shown = true)
{
    season.Snapshots.push_back({date, u"(メモ)", shown ? StoredTrue : StoredFalse});
    for (int t = 1; t <= season.TeamCount(); ++t) {
        const int s = surpluses[static_cast<std::size_t>(t - 1)];
        season.TeamSnapshots[t].Surpluses.push_back(static_cast<std::int16_t>(s));
        season.TeamSnapshots[t].Pcts.push_back(0.5F + 0.01F * static_cast<float>(s));
    }
}

Season threeTeams()
{
    return test::SeasonBuilder::oneLeague({u"Aチーム", u"Bチーム", u"Cチーム"}, 24).build();
}

// The progression of three teams standing in the order B, C, A.
ProgressionData gather(const Season &season, int kind, int nameLen)
{
    const PublishedStandings published = publish(season, {2, 3, 1});
    return GatherProgression(season, &published, kind, nameLen);
}

TEST(ProgressionChart, StepFollowsThePointCount)
{
    const std::pair<int, int> cases[] = {{1, 1000}, {30, 1000}, {31, 950}, {32, 900},
                                         {605, 50}, {606, 0},   {20000, 0}};
    for (const auto &[points, step] : cases) {
        EXPECT_EQ(ChartStep(points), step) << points << " points";
    }
}

TEST(ProgressionChart, DrawResultCountsValuesOrTellsWhyNot)
{
    Season season = threeTeams();
    EXPECT_EQ(DrawResult(gather(season, ChartKindSurplus, 1)), DrawNothing);
    addSnapshot(season, day(4, 1), {0, 0, 0}, false);
    EXPECT_EQ(DrawResult(gather(season, ChartKindSurplus, 1)), DrawNothing);
    addSnapshot(season, day(4, 8), {1, -1, 0});
    addSnapshot(season, day(4, 15), {2, -1, -1});
    EXPECT_EQ(DrawResult(gather(season, ChartKindPct, 1)), 6);

    season.TeamShown.assign(3, StoredFalse);
    EXPECT_EQ(DrawResult(gather(season, ChartKindSurplus, 1)), DrawNothing);
    EXPECT_EQ(DrawResultMessage(DrawNothing), u"データがありません");

    season.TeamShown[1] = StoredTrue;
    while (season.SnapshotCount() < 607) { // the first one is not shown
        addSnapshot(season, day(5, 1), {0, 0, 0});
    }
    EXPECT_EQ(DrawResult(gather(season, ChartKindSurplus, 1)), DrawTooManyPoints);
    EXPECT_EQ(DrawResultMessage(DrawTooManyPoints), u"データが多すぎます");
    season.Snapshots[607].Shown = StoredFalse; // 605 shown points still fit
    EXPECT_EQ(DrawResult(gather(season, ChartKindSurplus, 1)), 605);
}

TEST(ProgressionChart, SeriesInStandingsOrderWithoutHiddenTeams)
{
    Season season = threeTeams();
    addSnapshot(season, day(4, 8), {3, -5, 1});
    addSnapshot(season, day(4, 9), {0, 0, 0}, false);
    addSnapshot(season, day(5, 20), {7, -2, -3});
    season.TeamShown[3] = StoredFalse;
    season.team(2).LineColor = 0x0000FF;

    const ProgressionData data = gather(season, ChartKindSurplus, 2);
    ASSERT_EQ(data.Series.size(), 2U);
    EXPECT_EQ(data.Series[0].TeamNo, 2);
    EXPECT_EQ(data.Series[0].Values, (std::vector<double>{-5, -2}));
    EXPECT_EQ(data.Series[0].ShortName, u"Bチ");
    EXPECT_EQ(data.Series[0].TeamName, u"Bチーム");
    EXPECT_EQ(data.Series[0].LineColor, 0x0000FF);
    EXPECT_EQ(data.Series[1].Values, (std::vector<double>{3, 7}));
    // The range holds 0 and every drawn value, one wider at both ends; the
    // hidden team's -3 is not drawn and does not stretch it.
    EXPECT_EQ(data.Smallest, -6.0);
    EXPECT_EQ(data.Largest, 8.0);

    const ProgressionGeometry geometry = LayoutProgression(data, 5600);
    EXPECT_EQ(geometry.Step, 1000);
    EXPECT_EQ(geometry.PlotHeight, 5000);
    EXPECT_EQ(geometry.Right, 3000);
    EXPECT_EQ(geometry.SurfaceWidth, 4500);
    EXPECT_DOUBLE_EQ(geometry.ReferenceY, 5000.0 / 14 * 8);
    EXPECT_DOUBLE_EQ(ValueY(data, 5000, 8), 0.0);
    EXPECT_DOUBLE_EQ(ValueY(data, 5000, -6), 5000.0);
    EXPECT_EQ(geometry.DateTop, 5100);
    ASSERT_EQ(geometry.Ticks.size(), 2U);
    EXPECT_EQ(geometry.Ticks[0].X, 1000);
    EXPECT_EQ(geometry.Ticks[0].Month, u"4");
    EXPECT_EQ(geometry.Ticks[0].Day, u"8");
    EXPECT_EQ(geometry.Ticks[1].X, 2000);
    EXPECT_EQ(geometry.Ticks[1].Month, u"5");
    EXPECT_EQ(geometry.Ticks[1].Day, u"20");
}

TEST(ProgressionChart, ZeroAndHalfLinesAndPercentageHeights)
{
    Season season = threeTeams();
    addSnapshot(season, day(6, 1), {0, 0, 0});
    const ProgressionData surplus = gather(season, ChartKindSurplus, 1);
    EXPECT_EQ(surplus.Smallest, -1.0);
    EXPECT_EQ(surplus.Largest, 1.0);
    EXPECT_DOUBLE_EQ(LayoutProgression(surplus, 4600).ReferenceY, 2000.0);

    const ProgressionData pct = gather(season, ChartKindPct, 1);
    EXPECT_DOUBLE_EQ(LayoutProgression(pct, 4600).ReferenceY, 2000.0);
    EXPECT_DOUBLE_EQ(ValueY(pct, 4000, 0.75), 1000.0);
    EXPECT_DOUBLE_EQ(ValueY(pct, 4000, 0.0), 4000.0);
}

TEST(ProgressionChart, LabelsAndTheNameAtTheLastPoint)
{
    ProgressionData data;
    data.Kind = ChartKindPct;
    data.Dates = {day(4, 1), day(4, 2)};
    ProgressionSeries plain;
    plain.ShortName = u"巨";
    plain.Values = {0.5833, 1.0};
    ProgressionSeries labelled = plain;
    labelled.ShowLabels = true;
    data.Series = {plain, labelled};

    EXPECT_EQ(PointText(data, plain, 0), u"");
    EXPECT_EQ(PointText(data, plain, 1), u"  巨"); // named even without labels
    EXPECT_EQ(PointText(data, labelled, 0), u".583");
    EXPECT_EQ(PointText(data, labelled, 1), u"1.000  巨");
    data.Kind = ChartKindSurplus;
    labelled.Values = {-3, 12};
    EXPECT_EQ(PointText(data, labelled, 0), u"-3");
}

TEST(ProgressionChart, GuideLineSnapsToTheNearestPoint)
{
    struct Case
    {
        int x;
        std::optional<int> guide;
    };
    const Case cases[] = {{1000, std::nullopt}, {1001, 1000}, {1500, 1000},        {1501, 2000},
                          {2499, 2000},         {3999, 4000}, {4000, std::nullopt}};
    for (const Case &c : cases) {
        EXPECT_EQ(GuideLineX(c.x, 1000, 4000), c.guide) << c.x;
    }
    EXPECT_EQ(GuideLineX(75, 50, 500), 50); // a remainder of exactly half rounds down
    EXPECT_EQ(GuideLineX(76, 50, 500), 100);
    EXPECT_EQ(GuideLineX(500, 0, 0), std::nullopt);
}

TEST(ProgressionChart, LegendAndScrollBars)
{
    EXPECT_EQ(LegendHeight(6, 240), 1680);
    const std::pair<int, int> containers[] = {
        {1680, 1730}, {4999, 5049}, {5000, 4750}, {9000, 4750}};
    for (const auto &[legend, container] : containers) {
        EXPECT_EQ(LegendContainerHeight(legend, 5500), container) << legend;
    }
    EXPECT_EQ(ChartScrollMaximum(32000, 9000), 23000);
    EXPECT_EQ(ChartScrollMaximum(4500, 9000), 0);
    EXPECT_FALSE(ChartScrollEnabled(7400, 9000));
    EXPECT_TRUE(ChartScrollEnabled(7401, 9000));
}

// Team 1 against six league rivals and two interleague opponents.
Season compositionSeason()
{
    test::SeasonBuilder b;
    for (const char16_t *name : {u"Ｔ虎", u"ガッツ", u"L2", u"L3", u"L4", u"L5", u"L6"}) {
        b.addTeam(name, 1);
    }
    b.addTeam(u"I1", 2);
    b.addTeam(u"I2", 2);
    b.roundRobin(25, 4);
    b.result(1, 2, 10, 5); // +5
    b.result(1, 3, 4, 7);  // -3
    b.result(1, 4, 6, 6);  // even
    b.result(1, 5, 9, 6);  // +3
    b.result(1, 6, 3, 4);  // -1
    b.result(1, 7, 5, 9);  // -4
    b.result(1, 8, 3, 1);  // +2 interleague
    b.result(1, 9, 2, 2);  // even interleague
    Season season = b.build();
    season.team(2).LineColor = 0x00FF00;
    return season;
}

TEST(CompositionChart, BarsFollowTheScopeAndCountRealResults)
{
    Season season = compositionSeason();
    season.SimMode = 1;
    season.SimResults[1].Wins[3] = 9; // simulated wins touch the total, never the bars
    season.SimResults[3].Losses[1] = 9;

    const StandingsRow league = MakeStandingsRow(season, 1, TeamTotals(season, 1, ScopeLeague));
    const Composition c = BuildComposition(season, league, ScopeLeague, 2);
    ASSERT_EQ(c.Leading.size(), 2U);
    EXPECT_EQ(c.Leading[0].TeamNo, 2);
    EXPECT_EQ(c.Leading[0].Value, 5);
    EXPECT_EQ(c.Leading[0].Color, 0x00FF00);
    EXPECT_EQ(c.Leading[0].Tag, u"ｶﾞｯ\t5\t(63%)"); // cut to two, then narrowed
    EXPECT_EQ(c.Leading[0].ToolTip, u"ガッツに対する勝越し[ 5 ]");
    EXPECT_EQ(c.Leading[1].Tag, u"L4\t3\t(38%)");
    ASSERT_EQ(c.Trailing.size(), 3U);
    EXPECT_EQ(c.Trailing[2].TeamNo, 7);
    EXPECT_EQ(c.Trailing[2].ToolTip, u"L6に対する負越し[ 4 ]");
    EXPECT_EQ(c.Unit, 750); // 6000 / 8
    EXPECT_EQ(c.Leading[0].Length, 3750);
    EXPECT_EQ(c.EvenText, u"L3   "); // I2 is interleague
    // 9 simulated wins over L2 on top of 37-37 in league games.
    EXPECT_EQ(c.TotalText, u"貯金:  9");
    EXPECT_EQ(c.TotalColor, 0x00FF0000);

    const StandingsRow official = MakeStandingsRow(season, 1, TeamTotals(season, 1, ScopeOfficial));
    const Composition all = BuildComposition(season, official, ScopeOfficial, 2);
    EXPECT_EQ(all.Leading.size(), 3U);
    EXPECT_EQ(all.EvenText, u"L3   I2   ");

    const StandingsRow inter = MakeStandingsRow(season, 1, TeamTotals(season, 1, ScopeInterleague));
    const Composition interleague = BuildComposition(season, inter, ScopeInterleague, 2);
    ASSERT_EQ(interleague.Leading.size(), 1U);
    EXPECT_EQ(interleague.Leading[0].TeamNo, 8);
    EXPECT_TRUE(interleague.Trailing.empty());
}

TEST(CompositionChart, EvenTeamOwesZeroInRedAndEmptyBarsNeedNoUnit)
{
    Season season = test::SeasonBuilder::oneLeague({u"A", u"B", u"C"}, 10).build();
    season.team(1).CardGames[3] = 0; // a card without games is no opponent
    season.team(3).CardGames[1] = 0;
    const StandingsRow row = MakeStandingsRow(season, 1, TeamTotals(season, 1, ScopeOfficial));
    const Composition c = BuildComposition(season, row, ScopeOfficial, 1);
    EXPECT_TRUE(c.Leading.empty());
    EXPECT_TRUE(c.Trailing.empty());
    EXPECT_EQ(c.Unit, 0);
    EXPECT_EQ(c.EvenText, u"B   ");
    EXPECT_EQ(c.TotalText, u"借金:  0");
    EXPECT_EQ(c.TotalColor, 0x000000FF);
}

TEST(CompositionChart, UnitSharesAndCaptions)
{
    const std::tuple<int, int, int> units[] = {{96, 0, 62}, {0, 96, 62},  {48, 10, 125},
                                               {7, 3, 857}, {80, 79, 75}, {0, 0, 0}};
    for (const auto &[leading, trailing, unit] : units) {
        EXPECT_EQ(CompositionUnit(leading, trailing), unit) << leading << "/" << trailing;
    }
    const std::tuple<int, int, std::u16string> shares[] = {
        {1, 8, u"13"}, {3, 8, u"38"}, {1, 3, u"33"}, {2, 3, u"67"}, {5, 5, u"100"}};
    for (const auto &[value, total, share] : shares) {
        EXPECT_EQ(ShareText(value, total), share) << value << "/" << total;
    }
    const std::u16string tag = u"ｶﾞｯ\t5\t(63%)";
    EXPECT_EQ(SegmentCaption(tag, false, false), u"\n5\n");
    EXPECT_EQ(SegmentCaption(tag, true, false), u"ｶﾞｯ\n5\n");
    EXPECT_EQ(SegmentCaption(tag, true, true), u"ｶﾞｯ\n5\n(63%)");
    EXPECT_EQ(NarrowText(u"ＡＢ１　ヴィーナス・パ"), u"AB1 ｳﾞｨｰﾅｽ･ﾊﾟ");
}

} // namespace
} // namespace penarin
