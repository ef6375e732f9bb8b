#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace penarin::cli {

// The list was refused: one or more lines are invalid and --skip-invalid
// was not given. Nothing is written.
constexpr int ExitImportRefused = 7;

// penarin-report import FILE GAMES OUT [--snapshots] [--aliases FILE]
//                       [--skip-invalid] [--format text|json]
// Writes FILE with the games of GAMES added to OUT as the program's Save
// does, or refuses with one line per invalid line ("line: reason").
int runImport(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// penarin-report export cards FILE OUT: every card's totals as a list the
// import reads back (CP932, commas and quotes for a name ending in csv).
int runCardExport(const std::vector<std::string> &args, std::ostream &err);

} // namespace penarin::cli
