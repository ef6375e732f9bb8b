#pragma once

#include "season/settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace penarin {

// The rules of the settings dialog, kept apart from its window so they can
// be checked without one.

// What the dialog's controls hold: the digits box as typed, every other
// option as the number its setting stores.
struct SettingsChoices
{
    std::u16string pctDigits;
    int Main = 0;
    int Sub = 0;
    int Game = 0;
    int Enter = 0;
    int Zero = 0;
    int Simulation = 0;
    int Cells = 0;
    int Magic = 0;
    int FontSizeA = 9;
    int FontSizeB = 9;
    int DblClick = 0;
    int ToolTip = 0;
    int Selection = 0;
    int MsgBox = 0;

    friend bool operator==(const SettingsChoices &, const SettingsChoices &) = default;
};

inline constexpr int LeastFontSize = 8;
inline constexpr int GreatestFontSize = 48;

// The refusal of an apply, shown with an exclamation icon and an OK button.
inline constexpr std::u16string_view SettingsRefusedText = u"設定が正しくありません";
// The refusal of the one typed option names the box and what it takes.
inline constexpr std::u16string_view PctDigitsRefusedText =
    u"設定が正しくありません\r\n勝率の小数点以下表示桁数は1～15の数字で入力してください";

// The controls' values for the settings.
[[nodiscard]] SettingsChoices settingsChoices(const Settings &settings);

// The percentage digits typed into the box, or nothing unless the text is
// made of the digits "0" to "9" only and means 1 to 15. Leading zeros are
// harmless ("03" is 3); a run of digits too long for any number is refused,
// never wrapped around into range.
[[nodiscard]] std::optional<std::int16_t> parsePctDigits(std::u16string_view text);

// Stores the choices into the settings and returns true; when any of them
// is not a value its setting may hold (the digits above, an option outside
// its range, a font size outside 8..48) it stores nothing and returns
// false, so a refused apply never leaves half the options changed.
[[nodiscard]] bool applySettingsChoices(Settings &settings, const SettingsChoices &choices);

// The tie-break check box under the sort options. Ordering by the
// championship judgment has its own tie-break conditions, so the box is
// off duty then, but it keeps its tick and caption for when the user goes
// back to a plain order.
inline constexpr std::u16string_view TieBreakByWinsCaption = u"同率の場合勝数で判定(&T)";
inline constexpr std::u16string_view TieBreakByPctCaption = u"同数の場合勝率で判定(&T)";

struct TieBreakBox
{
    bool enabled = true;
    // Nothing: the caption stays as it is.
    std::optional<std::u16string_view> caption;
};

[[nodiscard]] TieBreakBox tieBreakBox(int main);

// Only keyboard input opens an editor, so only there may the user ask for
// it to wait for a double click.
[[nodiscard]] inline bool doubleClickChoosable(int enter)
{
    return enter == 1;
}

} // namespace penarin
