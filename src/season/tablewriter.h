#pragma once

#include "season/texttable.h"

#include <filesystem>
#include <string>

namespace penarin {

// Writes an exported table as a spreadsheet reads it: one line per table
// line ending in CR LF, in CP932. A file name ending in "csv" (any case)
// gets commas with every cell in double quotes; any other name gets tabs
// and the cells as they are, but for tabs and line breaks, which become
// spaces. A quote inside a quoted cell is doubled. A text a spreadsheet
// would take for a formula (beginning with "=", "+", "-", "@", a tab or a
// CR) gets a leading "'"; numbers, negative ones and "-" stay as they are.
//
// The file is replaced as a whole (WriteFileSafely); on failure it is left
// as it was and `error` receives the reason.
[[nodiscard]] bool WriteTextTable(const std::filesystem::path &path, const TextTable &table,
                                  std::string *error = nullptr);

// The bytes WriteTextTable writes for a file named `fileName`.
[[nodiscard]] std::string EncodeTextTable(const std::filesystem::path &fileName,
                                          const TextTable &table);

} // namespace penarin
