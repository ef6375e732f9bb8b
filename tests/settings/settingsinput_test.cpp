#include "season/settingsinput.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace penarin {
namespace {

TEST(PctDigits, AcceptsOneToFifteenOnly)
{
    struct Case
    {
        std::u16string text;
        std::optional<std::int16_t> expected;
    };
    const std::vector<Case> cases = {
        {u"1", 1},
        {u"3", 3},
        {u"15", 15},
        {u"03", 3},
        {u"0000000000000000000015", 15},
        {u"", std::nullopt},
        {u"0", std::nullopt},
        {u"00", std::nullopt},
        {u"16", std::nullopt},
        {u"150", std::nullopt},
        // Long enough to wrap a 16-bit or a 32-bit number into range.
        {u"65539", std::nullopt},
        {u"4294967299", std::nullopt},
        {u"99999999999999999999999", std::nullopt},
        // Only digits, as every number box reads them: blanks around them
        // and full-width digits are what a typist leaves; no sign or point.
        {u"-3", std::nullopt},
        {u"+3", std::nullopt},
        {u" 3", 3},
        {u"3 ", 3},
        {u"3.0", std::nullopt},
        {u"\uFF13", 3},
        {u"3a", std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(parsePctDigits(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
    }
}

Settings unusualSettings()
{
    Settings s;
    s.Main = 2;
    s.Sub = 1;
    s.Game = 1;
    s.Enter = 1;
    s.Magic = 0;
    s.Zero = 1;
    s.Pct = 12;
    s.Simulation = 1;
    s.Cells = 1;
    s.DblClick = 1;
    s.FontSizeA = 8;
    s.FontSizeB = 48;
    s.ToolTip = 1;
    s.Selection = 0;
    s.MsgBox = 1;
    // Not the dialog's to change.
    s.Line = 7;
    s.Load = 1;
    s.NameLen = 4;
    s.Tabs = 2;
    s.Width = 900;
    s.Round = 5;
    s.Hanrei = 0;
    s.ZanAvg = 1;
    return s;
}

TEST(SettingsChoices, ShownSettingsApplyBackUnchanged)
{
    for (const Settings &initial : {Settings{}, unusualSettings()}) {
        Settings settings = initial;
        ASSERT_TRUE(applySettingsChoices(settings, settingsChoices(initial)));
        EXPECT_EQ(settings, initial);
    }
}

TEST(SettingsChoices, AnyImpossibleValueStoresNothing)
{
    const std::vector<std::function<void(SettingsChoices &)>> spoilers = {
        [](SettingsChoices &c) { c.pctDigits = u"16"; },
        [](SettingsChoices &c) { c.pctDigits.clear(); },
        [](SettingsChoices &c) { c.Main = 3; },
        [](SettingsChoices &c) { c.Game = -1; },
        [](SettingsChoices &c) { c.Sub = 2; },
        [](SettingsChoices &c) { c.MsgBox = -1; },
        [](SettingsChoices &c) { c.FontSizeA = 7; },
        [](SettingsChoices &c) { c.FontSizeB = 49; },
        [](SettingsChoices &c) { c.Enter = 256; },
    };
    for (std::size_t i = 0; i < spoilers.size(); ++i) {
        // Every other choice differs from the settings, so a partial store shows.
        SettingsChoices choices = settingsChoices(unusualSettings());
        spoilers[i](choices);
        Settings settings;
        EXPECT_FALSE(applySettingsChoices(settings, choices)) << "case " << i;
        EXPECT_EQ(settings, Settings{}) << "case " << i;
    }
}

TEST(SettingsChoices, TieBreakBoxFollowsTheOrder)
{
    EXPECT_TRUE(tieBreakBox(0).enabled);
    EXPECT_EQ(tieBreakBox(0).caption, TieBreakByWinsCaption);
    EXPECT_TRUE(tieBreakBox(1).enabled);
    EXPECT_EQ(tieBreakBox(1).caption, TieBreakByPctCaption);
    EXPECT_FALSE(tieBreakBox(2).enabled);
    EXPECT_FALSE(tieBreakBox(2).caption);
}

} // namespace
} // namespace penarin
