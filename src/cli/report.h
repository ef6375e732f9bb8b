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
    ExitNothingToExport = 5, // no snapshot is shown: "データがありません"
    ExitNothingToDraw = 5,   // a chart without shown snapshots or teams, or with too many
    ExitCannotAnalyse = 6,   // the schedule leaves no consistent set of remaining games
};

// Runs penarin-report with its arguments (without the program name).
int runReport(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace penarin::cli
