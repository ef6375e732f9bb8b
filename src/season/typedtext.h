#pragma once

#include <string>
#include <string_view>

namespace penarin {

// Blanks a Japanese keyboard produces around a typed value: the ASCII space,
// the tab and the ideographic (full-width) space U+3000 that the input
// method inserts in full-width mode.
[[nodiscard]] constexpr bool isTypedBlank(char16_t unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'\u3000';
}

// A typed text without the blanks around it.
[[nodiscard]] constexpr std::u16string_view trimTyped(std::u16string_view text)
{
    while (!text.empty() && isTypedBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isTypedBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The value of a digit as typed: the ASCII digits and the full-width ones a
// Japanese input method produces ("０" to "９") alike; -1 for anything else.
[[nodiscard]] constexpr int typedDigit(char16_t unit)
{
    if (unit >= u'0' && unit <= u'9') {
        return unit - u'0';
    }
    if (unit >= u'\uFF10' && unit <= u'\uFF19') {
        return unit - u'\uFF10';
    }
    return -1;
}

// A typed number as the program reads it: without the blanks around it and
// with every full-width character of the ASCII set (digits, "／", "－") made
// the ASCII character it shows. Every box that takes a number or a date
// goes through this, so "１２" is 12 wherever it is typed.
[[nodiscard]] inline std::u16string typedNumberText(std::u16string_view text)
{
    std::u16string out(trimTyped(text));
    for (char16_t &unit : out) {
        if (unit >= u'\uFF01' && unit <= u'\uFF5E') {
            unit = static_cast<char16_t>(unit - u'\uFF01' + u'!');
        }
    }
    return out;
}

// The characters a number box lets through: both kinds of digit, for a
// QRegularExpressionValidator's class ("[...]").
inline constexpr char TypedDigitClass[] = "0-9\uFF10-\uFF19";

} // namespace penarin
