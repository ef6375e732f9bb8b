#include "season/oledate.h"
#include "season/snapshotinput.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

using namespace penarin;

namespace {

double ole(int year, int month, int day)
{
    return toOleDate({year, month, day});
}

TEST(SnapshotDate, AcceptsTheFormsJapaneseUsersType)
{
    const double august2 = ole(2026, 8, 2);
    EXPECT_EQ(parseSnapshotDate(u"2026/08/02"), august2);
    EXPECT_EQ(parseSnapshotDate(u"2026/8/2"), august2);
    EXPECT_EQ(parseSnapshotDate(u"2026-08-02"), august2);
    EXPECT_EQ(parseSnapshotDate(u"2026-8-2"), august2);
    EXPECT_EQ(parseSnapshotDate(u"2026年8月2日"), august2);
    EXPECT_EQ(parseSnapshotDate(u"2026年08月02日"), august2);
    // Surrounding blanks, including the full-width space an input method
    // leaves behind, are not part of the date.
    EXPECT_EQ(parseSnapshotDate(u"  2026/8/2\t"), august2);
    EXPECT_EQ(parseSnapshotDate(u"\u30002026年8月2日\u3000"), august2);
}

TEST(SnapshotDate, GivesMidnightOfTheDay)
{
    const std::optional<double> date = parseSnapshotDate(u"1899/12/30");
    ASSERT_TRUE(date);
    EXPECT_EQ(*date, 0.0);
    EXPECT_EQ(parseSnapshotDate(u"1900/1/1"), 2.0);
}

TEST(SnapshotDate, RejectsDaysTheCalendarDoesNotHave)
{
    EXPECT_FALSE(parseSnapshotDate(u"2026/02/30"));
    EXPECT_FALSE(parseSnapshotDate(u"2026/02/29"));
    EXPECT_FALSE(parseSnapshotDate(u"2100/02/29"));
    EXPECT_FALSE(parseSnapshotDate(u"2026/04/31"));
    EXPECT_FALSE(parseSnapshotDate(u"2026/13/01"));
    EXPECT_FALSE(parseSnapshotDate(u"2026/00/10"));
    EXPECT_FALSE(parseSnapshotDate(u"2026/1/0"));
    EXPECT_EQ(parseSnapshotDate(u"2028/02/29"), ole(2028, 2, 29));
    EXPECT_EQ(parseSnapshotDate(u"2000/02/29"), ole(2000, 2, 29));
}

TEST(SnapshotDate, AcceptsYearsFrom100To9999Only)
{
    EXPECT_EQ(parseSnapshotDate(u"100/1/1"), ole(100, 1, 1));
    EXPECT_EQ(parseSnapshotDate(u"9999/12/31"), ole(9999, 12, 31));
    EXPECT_FALSE(parseSnapshotDate(u"99/1/1"));
    EXPECT_FALSE(parseSnapshotDate(u"26/8/2"));
    EXPECT_FALSE(parseSnapshotDate(u"0/1/1"));
    EXPECT_FALSE(parseSnapshotDate(u"10000/1/1"));
    // Long digit runs are refused outright instead of overflowing into a
    // year that happens to look valid.
    EXPECT_FALSE(parseSnapshotDate(u"4294969322/8/2"));
    EXPECT_FALSE(parseSnapshotDate(u"2026/0008/2"));
    EXPECT_FALSE(parseSnapshotDate(u"2026/8/002"));
}

TEST(SnapshotDate, RejectsEverythingElse)
{
    const char16_t *const notDates[] = {
        u"",
        u"   ",
        u"\u3000",
        u"abc",
        u"2026",
        u"2026/8",
        u"2026/8/",
        u"/8/2",
        u"2026//8/2",
        u"2026/8-2", // separators must agree
        u"2026-8/2",
        u"2026年8月2", // the day needs its 日
        u"2026年8/2",
        u"2026/8/2日",
        u"2026/8/2x",
        u"x2026/8/2",
        u"2026 / 8 / 2", // blanks only around the date
        u"2026/8/2 12:00",
        u"+2026/8/2",
        u"-2026/8/2",
        u"2026.8.2",
    };
    for (std::size_t i = 0; i < std::size(notDates); ++i) {
        EXPECT_FALSE(parseSnapshotDate(notDates[i])) << "notDates[" << i << "]";
    }
}

TEST(SnapshotMemo, TrimsBlanksOnBothEndsOnly)
{
    EXPECT_EQ(snapshotMemoText(u"  前半戦終了  "), u"前半戦終了");
    EXPECT_EQ(snapshotMemoText(u"\u3000\t前半戦 終了\u3000"), u"前半戦 終了");
    EXPECT_EQ(snapshotMemoText(u"a\u3000b"), u"a\u3000b");
    EXPECT_EQ(snapshotMemoText(u"(メモ)"), u"(メモ)");
}

TEST(SnapshotMemo, BlankBecomesTheDefaultMemo)
{
    EXPECT_EQ(snapshotMemoText(u""), u"(メモ)");
    EXPECT_EQ(snapshotMemoText(u"   "), u"(メモ)");
    EXPECT_EQ(snapshotMemoText(u"\u3000\u3000\t"), u"(メモ)");
}

TEST(SnapshotDateText, IsZeroPaddedAndReadsBack)
{
    EXPECT_EQ(snapshotDateText(ole(2026, 8, 2)), u"2026/08/02");
    EXPECT_EQ(snapshotDateText(ole(2026, 12, 31)), u"2026/12/31");
    EXPECT_EQ(snapshotDateText(ole(999, 1, 5)), u"0999/01/05");
    // "Today" comes with the time of day; the box shows the day only.
    EXPECT_EQ(snapshotDateText(toOleDate({2026, 8, 2, 23, 59, 58})), u"2026/08/02");
    for (const double date :
         {ole(100, 1, 1), ole(1999, 2, 28), ole(2024, 2, 29), ole(9999, 12, 31)}) {
        EXPECT_EQ(parseSnapshotDate(snapshotDateText(date)), date);
    }
}

} // namespace
