#pragma once

#include "season/texttable.h"

#include <filesystem>
#include <string>

namespace penarin {

// Writes an exported table as a spreadsheet reads it: one line per table
// line ending in CR LF, in CP932. A file name ending in "csv" (any case)
// gets commas with every cell in double quotes; any other name gets tabs
// and the cells as they are. Quotes inside a cell are not doubled: the
// files have always been written that way and the names that would need it
// do not occur in practice.
//
// The file is replaced as a whole (WriteFileSafely); on failure it is left
// as it was and `error` receives the reason.
[[nodiscard]] bool WriteTextTable(const std::filesystem::path &path, const TextTable &table,
                                  std::string *error = nullptr);

// The bytes WriteTextTable writes for a file named `fileName`.
[[nodiscard]] std::string EncodeTextTable(const std::filesystem::path &fileName,
                                          const TextTable &table);

} // namespace penarin
