#pragma once

#include <string>
#include <string_view>

namespace penarin {

// UTF-16 (the season's text) to UTF-8 and back. Unpaired surrogates become
// U+FFFD on the way out; malformed UTF-8 becomes U+FFFD on the way in.
[[nodiscard]] std::string toUtf8(std::u16string_view text);
[[nodiscard]] std::u16string fromUtf8(std::string_view text);

} // namespace penarin
