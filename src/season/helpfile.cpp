#include "season/helpfile.h"

#include <system_error>

// The build sets this from the install layout, so a changed data or program
// folder cannot leave the program looking in the wrong place.
#ifndef PENARIN_HELP_FROM_PROGRAM
#define PENARIN_HELP_FROM_PROGRAM "../share/penarin"
#endif

namespace penarin {

std::filesystem::path installedHelpFolder()
{
    return PENARIN_HELP_FROM_PROGRAM;
}

std::filesystem::path helpFilePath(const std::filesystem::path &programFolder)
{
    const std::filesystem::path beside = programFolder / HelpFileName;
    const std::filesystem::path installed =
        (programFolder / installedHelpFolder() / HelpFileName).lexically_normal();
    std::error_code error;
    if (std::filesystem::is_regular_file(beside, error))
        return beside;
    if (std::filesystem::is_regular_file(installed, error))
        return installed;
    return beside;
}

} // namespace penarin
