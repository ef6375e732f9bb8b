#include "season/tablewriter.h"
#include "season/textcodec.h"
#include "settings/testfiles.h"

#include <gtest/gtest.h>

namespace penarin {
namespace {

TextTable sampleTable()
{
    TextTable table(3, 3);
    table.set(0, 1, u"2026/04/01");
    table.set(1, 1, u"\"開幕\"");
    table.set(2, 0, u"東京");
    table.set(2, 1, u"－");
    table.set(2, 2, u"3勝2敗1分");
    return table;
}

TEST(TableWriter, SeparatorAndQuotesFollowTheFileName)
{
    // "東京" 93 8C 8B 9E, "開幕" 8A 4A 96 8B, "－" 81 7C, "勝" 8F9F, "敗" 9473, "分" 95AA.
    const std::string quoted = "\"\",\"2026/04/01\",\"\"\r\n"
                               "\"\",\"\"\"\x8A\x4A\x96\x8B\"\"\",\"\"\r\n"
                               "\"\x93\x8C\x8B\x9E\",\"\x81\x7C\",\"3\x8F\x9F"
                               "2\x94\x73"
                               "1\x95\xAA\"\r\n";
    const std::string tabbed = "\t2026/04/01\t\r\n"
                               "\t\"\x8A\x4A\x96\x8B\"\t\r\n"
                               "\x93\x8C\x8B\x9E\t\x81\x7C\t3\x8F\x9F"
                               "2\x94\x73"
                               "1\x95\xAA\r\n";
    const struct
    {
        const char *name;
        const std::string &bytes;
    } cases[] = {
        {"out.csv", quoted},     {"OUT.CSV", quoted}, {"out.Csv", quoted},
        {"outcsv", quoted},      {"out.txt", tabbed}, {"out.tsv", tabbed},
        {"out.csv.txt", tabbed}, {"csv.txt", tabbed}, {"sv", tabbed},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EncodeTextTable(c.name, sampleTable()), c.bytes) << c.name;
}

TEST(TableWriter, CharactersOutsideCp932BecomeQuestionMarks)
{
    TextTable table(1, 2);
    table.set(0, 0, u"A\U0001F600B"); // an emoji: one character, two UTF-16 units
    table.set(0, 1, std::u16string(u"\xD800x\u00E9", 3)); // a stray surrogate, an accent
    EXPECT_EQ(EncodeTextTable("a.txt", table), "A?B\t?x?\r\n");
    EXPECT_EQ(EncodeTextTable("a.txt", TextTable(2, 0)), "\r\n\r\n");
}

TEST(TableWriter, TextsASpreadsheetWouldRunOrSplitAreNeutralised)
{
    const struct
    {
        std::u16string cell, tabbed, quoted;
    } cases[] = {
        {u"=HYPERLINK(\"x\")", u"'=HYPERLINK(\"x\")", u"\"'=HYPERLINK(\"\"x\"\")\""},
        {u"+1+1", u"'+1+1", u"\"'+1+1\""},
        {u"-2+3", u"'-2+3", u"\"'-2+3\""},
        {u"@SUM(A1)", u"'@SUM(A1)", u"\"'@SUM(A1)\""},
        {u"\t=1", u"' =1", u"\"'\t=1\""},
        {u"\r=1", u"' =1", u"\"'\r=1\""},
        {u"a\tb\r\nc", u"a b  c", u"\"a\tb\r\nc\""},
        // Figures stay figures.
        {u"-", u"-", u"\"-\""},
        {u"-3", u"-3", u"\"-3\""},
        {u"+2", u"+2", u"\"+2\""},
        {u"-.250", u"-.250", u"\"-.250\""},
        {u".565", u".565", u"\".565\""},
        {u"4.0", u"4.0", u"\"4.0\""},
        {u"49 - 0( 1.000 / .716 )", u"49 - 0( 1.000 / .716 )", u"\"49 - 0( 1.000 / .716 )\""},
        {u"", u"", u"\"\""},
    };
    for (const auto &c : cases) {
        TextTable table(1, 2);
        table.set(0, 0, c.cell);
        table.set(0, 1, u"x");
        EXPECT_EQ(EncodeTextTable("a.txt", table), toCp932(c.tabbed + u"\tx\r\n"))
            << toCp932(c.cell);
        EXPECT_EQ(EncodeTextTable("a.csv", table), toCp932(c.quoted + u",\"x\"\r\n"))
            << toCp932(c.cell);
    }
}

TEST(TableWriter, WritesThroughTheSafeWriter)
{
    test::TempFolder folder;
    const auto path = folder / "history.CSV";
    std::string error;
    ASSERT_TRUE(WriteTextTable(path, sampleTable(), &error));
    EXPECT_EQ(test::readBytes(path), EncodeTextTable(path, sampleTable()));

    std::filesystem::create_directory(folder / "taken.txt");
    EXPECT_FALSE(WriteTextTable(folder / "taken.txt", sampleTable(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.txt"));
}

} // namespace
} // namespace penarin
