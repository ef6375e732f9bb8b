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

} // namespace

std::string EncodeTextTable(const std::filesystem::path &fileName, const TextTable &table)
{
    const bool csv = endsWithCsv(fileName);
    std::u16string text;
    for (int line = 0; line < table.lineCount(); ++line) {
        for (int cell = 0; cell < table.cellCount(); ++cell) {
            if (cell > 0)
                text += csv ? u',' : u'\t';
            if (csv)
                text += u'"' + table.at(line, cell) + u'"';
            else
                text += table.at(line, cell);
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
