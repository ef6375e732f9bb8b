#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace penarin {

// The rules of the snapshot prompt asked at every save, kept apart from the
// dialog so they can be checked without a window.

// The memo stored when the user leaves the memo box blank.
inline constexpr std::u16string_view BlankSnapshotMemo = u"(メモ)";

// The OLE date (midnight) of a date typed into the prompt, or nothing when
// the text is not a date. Accepted after trimming blanks: "2026/08/02",
// "2026/8/2", "2026-08-02" and "2026年8月2日", years 100 to 9999.
[[nodiscard]] std::optional<double> parseSnapshotDate(std::u16string_view text);

// The memo as it is stored: without leading and trailing blanks (the
// full-width space included), BlankSnapshotMemo when nothing is left.
[[nodiscard]] std::u16string snapshotMemoText(std::u16string_view text);

// The date box's preset text for a date: "yyyy/mm/dd", zero-padded.
[[nodiscard]] std::u16string snapshotDateText(double oleDate);

} // namespace penarin
