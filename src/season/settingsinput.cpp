#include "season/settingsinput.h"

#include "season/typedtext.h"

#include <initializer_list>

namespace penarin {

namespace {

constexpr int LeastPctDigits = 1;
constexpr int GreatestPctDigits = 15;

bool within(int value, int lowest, int highest)
{
    return value >= lowest && value <= highest;
}

bool isFlag(int value)
{
    return within(value, 0, 1);
}

} // namespace

SettingsChoices settingsChoices(const Settings &settings)
{
    SettingsChoices choices;
    for (const char digit : std::to_string(settings.Pct)) {
        choices.pctDigits.push_back(static_cast<char16_t>(digit));
    }
    choices.Main = settings.Main;
    choices.Sub = settings.Sub;
    choices.Game = settings.Game;
    choices.Enter = settings.Enter;
    choices.Zero = settings.Zero;
    choices.Simulation = settings.Simulation;
    choices.Cells = settings.Cells;
    choices.Magic = settings.Magic;
    choices.FontSizeA = settings.FontSizeA;
    choices.FontSizeB = settings.FontSizeB;
    choices.DblClick = settings.DblClick;
    choices.ToolTip = settings.ToolTip;
    choices.Selection = settings.Selection;
    choices.MsgBox = settings.MsgBox;
    return choices;
}

std::optional<std::int16_t> parsePctDigits(std::u16string_view typed)
{
    const std::u16string text = typedNumberText(typed);
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
        // Past the range no further digit can bring it back, and stopping
        // here keeps a long run of digits from overflowing.
        if (value > GreatestPctDigits) {
            return std::nullopt;
        }
    }
    if (value < LeastPctDigits) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

bool applySettingsChoices(Settings &settings, const SettingsChoices &c)
{
    const std::optional<std::int16_t> pct = parsePctDigits(c.pctDigits);
    if (!pct) {
        return false;
    }
    if (!within(c.Main, 0, 2) || !within(c.Game, 0, 2) ||
        !within(c.FontSizeA, LeastFontSize, GreatestFontSize) ||
        !within(c.FontSizeB, LeastFontSize, GreatestFontSize)) {
        return false;
    }
    for (const int flag : {c.Sub, c.Enter, c.Zero, c.Simulation, c.Cells, c.Magic, c.DblClick,
                           c.ToolTip, c.Selection, c.MsgBox}) {
        if (!isFlag(flag)) {
            return false;
        }
    }
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };
    const auto integer = [](int value) { return static_cast<std::int16_t>(value); };
    settings.Pct = *pct;
    settings.Enter = byte(c.Enter);
    settings.Main = integer(c.Main);
    settings.Sub = integer(c.Sub);
    settings.Game = integer(c.Game);
    settings.Zero = byte(c.Zero);
    settings.Simulation = byte(c.Simulation);
    settings.Cells = byte(c.Cells);
    settings.Magic = byte(c.Magic);
    settings.FontSizeA = integer(c.FontSizeA);
    settings.FontSizeB = integer(c.FontSizeB);
    settings.DblClick = byte(c.DblClick);
    settings.ToolTip = byte(c.ToolTip);
    settings.Selection = byte(c.Selection);
    settings.MsgBox = byte(c.MsgBox);
    return true;
}

TieBreakBox tieBreakBox(int main)
{
    switch (main) {
    case 0:
        return {true, TieBreakByWinsCaption};
    case 1:
        return {true, TieBreakByPctCaption};
    default:
        return {false, std::nullopt};
    }
}

} // namespace penarin
