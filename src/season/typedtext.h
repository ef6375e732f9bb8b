#pragma once

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

} // namespace penarin
