#pragma once

#include <filesystem>

namespace penarin {

inline constexpr const char *HelpFileName = "Mgcsm.html";

// The user's guide's folder relative to the program's folder in an installed
// tree, where programs and data live apart ("../share/penarin" for a
// program in <prefix>/bin).
[[nodiscard]] std::filesystem::path installedHelpFolder();

// Where the user's guide is: beside the program (a build tree, or a folder
// the program was copied into with its guide), else in the installed tree's
// data folder. When neither exists the place beside the program is named, so
// the help window's message about a missing file points somewhere sensible.
[[nodiscard]] std::filesystem::path helpFilePath(const std::filesystem::path &programFolder);

} // namespace penarin
