#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace penarin::cli {

enum ExitCode
{
    ExitOk = 0,
    ExitUsage = 2,
    ExitCannotLoad = 3,
    ExitCannotWrite = 4,
    ExitNothingToDraw = 5, // no shown snapshot or team, or too many snapshots
};

// Runs penarin-report with its arguments (without the program name).
int runReport(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace penarin::cli
