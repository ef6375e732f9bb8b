#include "season/chartdata.h"
#include "support/seasonbuilder.h"

#include <gtest/gtest.h>

namespace penarin {
namespace {

double day(int month, int dayOfMonth)
{
    return toOleDate({2026, month, dayOfMonth});
}

TEST(ChartData, MonthlySelectionPicksTheLastSnapshotOfEveryMonth)
{
    const std::vector<double> dates{day(3, 28), day(4, 2), day(4, 30), day(5, 3)};
    struct Case
    {
        const char *name;
        std::vector<bool> deleted;
        std::vector<bool> expected;
    };
    const Case cases[] = {
        {"all kept: the newest is the last of May",
         {false, false, false, false},
         {true, false, true, true}},
        // With 30 April gone, 2 April is April's last snapshot.
        {"30 April deleted", {false, false, true, false}, {true, true, false, true}},
        {"newest deleted", {false, false, false, true}, {true, false, true, false}},
        {"everything deleted", {true, true, true, true}, {false, false, false, false}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MonthlySelection(dates, c.deleted), c.expected) << c.name;
    }
    EXPECT_EQ(MonthlySelection({day(7, 1)}, {false}), std::vector<bool>{true});
    EXPECT_TRUE(MonthlySelection({}, {}).empty());
}

TEST(ChartData, PatternWildcards)
{
    struct Case
    {
        std::u16string text;
        std::u16string pattern;
        bool matches;
    };
    const Case cases[] = {
        {u"前半戦終了", u"*半戦*", true},
        {u"前半戦終了", u"*後半*", false},
        {u"前半戦終了", u"前半戦", false}, // the whole memo must match
        {u"前半戦終了", u"前半戦終了", true},
        {u"", u"*", true},
        {u"", u"", true},
        {u"x", u"", false},
        {u"Game7", u"Game#", true},
        {u"GameX", u"Game#", false},
        {u"Game12", u"Game#", false},
        {u"abc", u"a?c", true},
        {u"ac", u"a?c", false},
        {u"Abc", u"abc", false}, // case-sensitive
        {u"b9", u"[a-c]#", true},
        {u"d9", u"[a-c]#", false},
        {u"d9", u"[!a-c]#", true},
        {u"*", u"[*]", true},
        {u"a", u"[a", false}, // an unclosed class matches nothing
        {u"aXbXc", u"*X*X*", true},
        {u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", u"*a*a*a*a*a*a*c", false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MatchesPattern(c.text, c.pattern), c.matches) << "case " << (&c - cases);
    }
}

TEST(ChartData, SearchTrimsTheBoxAndSkipsDeletedLines)
{
    const std::vector<std::u16string> memos{u"開幕", u"交流戦前", u"交流戦後", u"(メモ)"};
    EXPECT_EQ(SearchSelection(memos, {false, false, false, false}, u" \u3000*交流戦*  "),
              (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(SearchSelection(memos, {false, false, true, false}, u"*交流戦*"),
              (std::vector<bool>{false, true, false, false}));
}

TEST(ChartData, RebuildKeepsTheRemainingSnapshotsWithTheirValues)
{
    Season season = test::SeasonBuilder::oneLeague({u"A", u"B"}, 10).build();
    for (int k = 1; k <= 3; ++k) {
        season.Snapshots.push_back({day(4, k), u"m" + std::u16string(1, u'0' + k), StoredTrue});
        for (int t = 1; t <= 2; ++t) {
            season.TeamSnapshots[t].Pcts.push_back(0.1F * static_cast<float>(k + t));
            season.TeamSnapshots[t].Surpluses.push_back(static_cast<std::int16_t>(10 * t + k));
        }
    }

    RebuildSnapshots(season, {false, true, false}, {false, true, true});
    ASSERT_EQ(season.SnapshotCount(), 2);
    EXPECT_EQ(season.Snapshots[1].Memo, u"m1");
    EXPECT_EQ(season.Snapshots[1].Shown, StoredFalse);
    EXPECT_EQ(season.Snapshots[2].Memo, u"m3");
    EXPECT_EQ(season.Snapshots[2].Date, day(4, 3));
    EXPECT_EQ(season.Snapshots[2].Shown, StoredTrue);
    EXPECT_EQ(season.TeamSnapshots[2].Surpluses, (OneBased<std::int16_t>{21, 23}));
    EXPECT_EQ(season.TeamSnapshots[1].Pcts, (OneBased<float>{0.1F * 2, 0.1F * 4}));

    RebuildSnapshots(season, {true, true}, {true, true});
    EXPECT_EQ(season.SnapshotCount(), 0);
    EXPECT_TRUE(season.TeamSnapshots[1].Pcts.empty());
    EXPECT_TRUE(season.TeamSnapshots[2].Surpluses.empty());
}

TEST(ChartData, WidthAndNameLengthBoxes)
{
    struct Case
    {
        std::u16string text;
        std::optional<int> width;
        int nameLen; // with 4 before
    };
    const Case cases[] = {
        {u"3", 3, 3},
        {u"9", 9, 9},
        {u"0", std::nullopt, 1},
        {u"", std::nullopt, 4},
        {u"x", std::nullopt, 4},
        {u"-1", std::nullopt, 4},
        {u"12", std::nullopt, 4},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ParseLineWidth(c.text), c.width);
        EXPECT_EQ(NameLenFromBox(c.text, 4), c.nameLen);
    }
}

} // namespace
} // namespace penarin
