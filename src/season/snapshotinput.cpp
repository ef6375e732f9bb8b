#include "season/snapshotinput.h"

#include "season/oledate.h"
#include "season/typedtext.h"

#include <cmath>

namespace penarin {

namespace {

// Reads 1 to maxDigits ASCII digits from the front of text. More digits
// than that make the text no date at all, which also keeps the value far
// from overflowing.
std::optional<int> takeNumber(std::u16string_view &text, std::size_t maxDigits)
{
    std::size_t length = 0;
    int value = 0;
    while (length < text.size() && text[length] >= u'0' && text[length] <= u'9') {
        if (length == maxDigits) {
            return std::nullopt;
        }
        value = value * 10 + (text[length] - u'0');
        ++length;
    }
    if (length == 0) {
        return std::nullopt;
    }
    text.remove_prefix(length);
    return value;
}

bool takeSeparator(std::u16string_view &text, char16_t separator)
{
    if (text.empty() || text.front() != separator) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

struct DateForm
{
    char16_t afterYear;
    char16_t afterMonth;
    char16_t afterDay; // u'\0' when nothing follows the day
};

constexpr DateForm dateForms[] = {
    {u'/', u'/', u'\0'},
    {u'-', u'-', u'\0'},
    {u'年', u'月', u'日'},
};

std::optional<double> parseForm(std::u16string_view text, const DateForm &form)
{
    const std::optional<int> year = takeNumber(text, 4);
    if (!year || !takeSeparator(text, form.afterYear)) {
        return std::nullopt;
    }
    const std::optional<int> month = takeNumber(text, 2);
    if (!month || !takeSeparator(text, form.afterMonth)) {
        return std::nullopt;
    }
    const std::optional<int> day = takeNumber(text, 2);
    if (!day || (form.afterDay != u'\0' && !takeSeparator(text, form.afterDay))) {
        return std::nullopt;
    }
    if (!text.empty() || !isValidCivilDate(*year, *month, *day)) {
        return std::nullopt;
    }
    return toOleDate({*year, *month, *day});
}

void appendPadded(std::u16string &out, int value, int width)
{
    // fromOleDate gives years before 1 for far-off dates; keep the sign
    // rather than printing garbage digits.
    if (value < 0) {
        out += u'-';
        value = -value;
    }
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    while (static_cast<int>(digits.size()) < width) {
        digits.insert(digits.begin(), u'0');
    }
    out += digits;
}

} // namespace

std::optional<double> parseSnapshotDate(std::u16string_view typed)
{
    const std::u16string text = typedNumberText(typed);
    for (const DateForm &form : dateForms) {
        if (std::optional<double> date = parseForm(text, form)) {
            return date;
        }
    }
    return std::nullopt;
}

std::u16string snapshotMemoText(std::u16string_view text)
{
    text = trimTyped(text);
    return std::u16string(text.empty() ? BlankSnapshotMemo : text);
}

std::u16string snapshotDateText(double oleDate)
{
    const CivilDateTime date = fromOleDate(oleDate);
    std::u16string out;
    appendPadded(out, date.year, 4);
    out += u'/';
    appendPadded(out, date.month, 2);
    out += u'/';
    appendPadded(out, date.day, 2);
    return out;
}

} // namespace penarin
