#include "season/cellsfunction.h"
#include "season/chartdata.h"
#include "season/seasonsetup.h"
#include "season/settingsinput.h"
#include "season/snapshotinput.h"
#include "season/typedtext.h"

#include <gtest/gtest.h>

using namespace penarin;

// A Japanese input method in full-width mode types "１２"; every box that
// takes a number reads it as the 12 it shows, blanks around it or not.
TEST(TypedNumbers, FullWidthDigitsReadAsTheirAsciiDigitsEverywhere)
{
    const struct
    {
        std::u16string ascii;
        std::u16string fullWidth;
    } cases[] = {
        {u"7", u"７"},
        {u"12", u"\u3000１２ "},
        {u"125", u"１２５"},
        {u"3", u"３"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(typedNumberText(c.fullWidth), typedNumberText(c.ascii));
        EXPECT_EQ(GamesValue(c.fullWidth), GamesValue(c.ascii));
        EXPECT_EQ(ReadCardText(c.fullWidth), ReadCardText(c.ascii));
        EXPECT_EQ(parsePctDigits(c.fullWidth), parsePctDigits(c.ascii));
        EXPECT_EQ(ParseLineWidth(c.fullWidth), ParseLineWidth(c.ascii));
        EXPECT_EQ(NameLenFromBox(c.fullWidth, 4), NameLenFromBox(c.ascii, 4));
    }
    EXPECT_EQ(GamesValue(u"１２５"), 125);
    EXPECT_EQ(parsePctDigits(u"１６"), std::nullopt);
    EXPECT_EQ(GamesValue(u"１ａ"), 0);
    EXPECT_EQ(parseSnapshotDate(u"２０２６／０８／０１"), parseSnapshotDate(u"2026/08/01"));
    EXPECT_TRUE(parseSnapshotDate(u"２０２６年８月１日").has_value());
}
