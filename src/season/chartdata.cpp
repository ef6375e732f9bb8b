#include "season/chartdata.h"

#include "season/oledate.h"
#include "season/snapshotinput.h"
#include "season/typedtext.h"

#include <cassert>

namespace penarin {

namespace {

std::optional<int> wholeNumber(std::u16string_view typed)
{
    const std::u16string text = typedNumberText(typed);
    if (text.empty() || text.size() > 4) {
        return std::nullopt;
    }
    int value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    return value;
}

// Matches one bracketed class starting after its '['; returns the position
// after the ']' or npos when the class is not closed.
std::size_t matchClass(std::u16string_view pattern, std::size_t pos, char16_t c, bool &matched)
{
    bool negated = false;
    if (pos < pattern.size() && pattern[pos] == u'!') {
        negated = true;
        ++pos;
    }
    bool inClass = false;
    while (pos < pattern.size() && pattern[pos] != u']') {
        const char16_t low = pattern[pos];
        if (pos + 2 < pattern.size() && pattern[pos + 1] == u'-' && pattern[pos + 2] != u']') {
            if (c >= low && c <= pattern[pos + 2]) {
                inClass = true;
            }
            pos += 3;
        } else {
            if (c == low) {
                inClass = true;
            }
            ++pos;
        }
    }
    if (pos >= pattern.size()) {
        return std::u16string_view::npos;
    }
    matched = inClass != negated;
    return pos + 1;
}

} // namespace

std::u16string SnapshotLineText(const Snapshot &snapshot)
{
    return snapshotDateText(snapshot.Date) + u"  " + snapshot.Memo;
}

std::vector<bool> MonthlySelection(const std::vector<double> &dates,
                                   const std::vector<bool> &deleted)
{
    assert(dates.size() == deleted.size());
    std::vector<bool> selected(dates.size(), false);
    int nextMonth = 0; // month of the next remaining line; 0 = none
    for (std::size_t i = dates.size(); i-- > 0;) {
        if (deleted[i]) {
            continue;
        }
        const int month = fromOleDate(dates[i]).month;
        selected[i] = month != nextMonth;
        nextMonth = month;
    }
    return selected;
}

bool MatchesPattern(std::u16string_view text, std::u16string_view pattern)
{
    // Iterative matching with one backtrack point for the latest '*': linear
    // enough for memos and never recursive on hostile patterns.
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starP = std::u16string_view::npos;
    std::size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = ++p;
            starT = t;
            continue;
        }
        bool matched = false;
        std::size_t nextP = p + 1;
        if (p < pattern.size()) {
            const char16_t c = text[t];
            switch (pattern[p]) {
            case u'?':
                matched = true;
                break;
            case u'#':
                matched = c >= u'0' && c <= u'9';
                break;
            case u'[':
                nextP = matchClass(pattern, p + 1, c, matched);
                if (nextP == std::u16string_view::npos) {
                    return false;
                }
                break;
            default:
                matched = pattern[p] == c;
                break;
            }
        }
        if (matched) {
            p = nextP;
            ++t;
        } else if (starP != std::u16string_view::npos) {
            p = starP;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<bool> SearchSelection(const std::vector<std::u16string> &memos,
                                  const std::vector<bool> &deleted, std::u16string_view searchText)
{
    assert(memos.size() == deleted.size());
    const std::u16string_view pattern = trimTyped(searchText);
    std::vector<bool> selected(memos.size(), false);
    for (std::size_t i = 0; i < memos.size(); ++i) {
        selected[i] = !deleted[i] && MatchesPattern(memos[i], pattern);
    }
    return selected;
}

void RebuildSnapshots(Season &season, const std::vector<bool> &deleted,
                      const std::vector<bool> &selected)
{
    const int count = season.SnapshotCount();
    assert(static_cast<int>(deleted.size()) == count && static_cast<int>(selected.size()) == count);
    OneBased<Snapshot> snapshots;
    std::vector<int> kept;
    for (int k = 1; k <= count; ++k) {
        if (deleted[static_cast<std::size_t>(k - 1)]) {
            continue;
        }
        Snapshot snapshot = season.Snapshots[k];
        snapshot.Shown = selected[static_cast<std::size_t>(k - 1)] ? StoredTrue : StoredFalse;
        snapshots.push_back(snapshot);
        kept.push_back(k);
    }
    for (TeamSnapshot &team : season.TeamSnapshots) {
        TeamSnapshot rebuilt;
        for (int k : kept) {
            // A team record shorter than the snapshot list (never written so
            // by the program) gets zeros rather than a read past its end.
            rebuilt.Pcts.push_back(team.Pcts.contains(k) ? team.Pcts[k] : 0.0F);
            rebuilt.Surpluses.push_back(team.Surpluses.contains(k) ? team.Surpluses[k]
                                                                   : std::int16_t{0});
        }
        team = std::move(rebuilt);
    }
    season.Snapshots = std::move(snapshots);
}

std::optional<int> ParseLineWidth(std::u16string_view text)
{
    const std::optional<int> width = wholeNumber(text);
    if (!width || *width <= 0 || *width > 9) {
        return std::nullopt;
    }
    return width;
}

int NameLenFromBox(std::u16string_view text, int previous)
{
    const std::optional<int> value = wholeNumber(text);
    if (!value || *value > 9) {
        return previous;
    }
    return *value == 0 ? 1 : *value;
}

} // namespace penarin
