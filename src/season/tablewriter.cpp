#include "season/tablewriter.h"

#include "season/safewriter.h"
#include "season/textcodec.h"

namespace penarin {

namespace {

bool endsWithCsv(const std::filesystem::path &fileName)
{
    const std::string &name = fileName.native();
    if (name.size() < 3)
        return false;
    const std::string tail = name.substr(name.size() - 3);
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(tail[0]) == 'c' && lower(tail[1]) == 's' && lower(tail[2]) == 'v';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// A number as the tables write them: "12", "-3", ".565", "4.0", "+2".
bool isNumber(std::u16string_view cell)
{
    if (!cell.empty() && (cell.front() == u'-' || cell.front() == u'+'))
        cell.remove_prefix(1);
    bool digits = false;
    bool point = false;
    for (const char16_t c : cell) {
        if (isDigit(c)) {
            digits = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

// A spreadsheet takes a cell that begins with one of these as a formula
// (or, after a tab or CR, as the start of one), so a team named
// "=HYPERLINK(...)" would run when the export is opened. Such a text gets
// a leading apostrophe, which spreadsheets read as "this is text"; a
// number, a negative number and the "-" of an empty figure stay as they are.
bool mayStartAFormula(std::u16string_view cell)
{
    if (cell.empty() || isNumber(cell) || cell == u"-")
        return false;
    const char16_t first = cell.front();
    return first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' ||
           first == u'\r';
}

// Without quotes, a tab or line break inside a cell would end the cell or
// the line there and shift everything after it.
std::u16string tabCell(std::u16string_view cell)
{
    std::u16string text(cell);
    for (char16_t &c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    }
    return text;
}

} // namespace

std::string EncodeTextTable(const std::filesystem::path &fileName, const TextTable &table)
{
    const bool csv = endsWithCsv(fileName);
    std::u16string text;
    for (int line = 0; line < table.lineCount(); ++line) {
        for (int cell = 0; cell < table.cellCount(); ++cell) {
            if (cell > 0)
                text += csv ? u',' : u'\t';
            const std::u16string &value = table.at(line, cell);
            const std::u16string_view guard = mayStartAFormula(value) ? u"'" : u"";
            if (!csv) {
                text += guard;
                text += tabCell(value);
                continue;
            }
            // A quote inside a cell is doubled, as spreadsheets read it;
            // a single one would end the cell there and shift the row.
            text += u'"';
            text += guard;
            for (const char16_t c : value) {
                text += c;
                if (c == u'"')
                    text += u'"';
            }
            text += u'"';
        }
        text += u"\r\n";
    }
    return toCp932(text);
}

bool WriteTextTable(const std::filesystem::path &path, const TextTable &table, std::string *error)
{
    return WriteFileSafely(path, EncodeTextTable(path, table), error);
}

} // namespace penarin
