#pragma once

#include <string>
#include <string_view>

namespace penarin {

// UTF-16 (the season's text) to UTF-8 and back. Unpaired surrogates become
// U+FFFD on the way out; malformed UTF-8 becomes U+FFFD on the way in.
[[nodiscard]] std::string toUtf8(std::u16string_view text);
[[nodiscard]] std::u16string fromUtf8(std::string_view text);

// CP932 (Japanese Shift_JIS, the encoding of older settings files) to UTF-8.
// Bytes that are not CP932 become U+FFFD.
[[nodiscard]] std::string cp932ToUtf8(std::string_view bytes);

// Text to CP932 for the exported tables a spreadsheet opens. A character
// CP932 cannot hold (an emoji, most accented Latin) becomes "?", so one odd
// team name never costs the user the whole export.
[[nodiscard]] std::string toCp932(std::u16string_view text);

// Text for a terminal: a control character (C0, DEL, C1) in a name would
// break a table's lines or send the terminal a command, so each is shown
// the way terminals show typed ones: "^[" for ESC, "^M" for CR, "^?" for
// DEL, "<U+009B>" for a C1 character.
[[nodiscard]] std::u16string visibleText(std::u16string_view text);

} // namespace penarin
