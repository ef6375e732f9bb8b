#pragma once

#include "season/season.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace penarin {

// The rules of the chart data dialog ("グラフデータ"), kept apart from the
// dialog so they can be checked without a window. Lists are 0-based vectors
// in snapshot order; a line whose text the user emptied ("削除") is deleted.

// Line styles of a team's chart line, in the order of the dialog's list.
inline constexpr const char16_t *LineStyleNames[] = {u"実線", u"鎖線", u"点線", u"一点鎖線",
                                                     u"二点鎖線"};
inline constexpr int LineStyleCount = 5;

// The snapshot list's line: the date as "yyyy/mm/dd", two spaces, the memo.
[[nodiscard]] std::u16string SnapshotLineText(const Snapshot &snapshot);

// "月別": the last snapshot of every month is selected: a line is selected
// when the month of the next remaining line differs (by month number, the
// year ignored, as a season never spans a year). The newest line has no
// successor and is the last of its month, so it is always selected.
// Deleted lines are skipped and never selected.
[[nodiscard]] std::vector<bool> MonthlySelection(const std::vector<double> &dates,
                                                 const std::vector<bool> &deleted);

// Whether `text` matches `pattern` as a whole, case-sensitively: `*` any run
// of characters, `?` one character, `#` one digit 0-9, `[abc]` or `[a-z]`
// one character of the class, `[!...]` one character outside it. A `[`
// without its closing `]` makes the pattern match nothing.
[[nodiscard]] bool MatchesPattern(std::u16string_view text, std::u16string_view pattern);

// "検索": the lines whose memo matches the search box's text, blanks (the
// full-width space included) trimmed from both ends. Deleted lines stay
// unselected.
[[nodiscard]] std::vector<bool> SearchSelection(const std::vector<std::u16string> &memos,
                                                const std::vector<bool> &deleted,
                                                std::u16string_view searchText);

// "&OK": keeps, in order, every snapshot that was not deleted, with its date,
// memo and every team's values, and takes its shown flag from the list's
// selection. Both vectors have one entry per snapshot.
void RebuildSnapshots(Season &season, const std::vector<bool> &deleted,
                      const std::vector<bool> &selected);

// The width box of the line settings: a whole number above 0, or nothing
// (the dialog says "エラー").
[[nodiscard]] std::optional<int> ParseLineWidth(std::u16string_view text);

// The name-length box on "&OK": an empty box keeps `previous`, 0 becomes 1,
// anything above 9 or not a number keeps `previous`.
[[nodiscard]] int NameLenFromBox(std::u16string_view text, int previous);

} // namespace penarin
