#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace penarin {

class Profile;

// The seasons opened or saved most recently, newest first, kept in the
// settings file's own "Recent" section as File1 to File8.
inline constexpr std::size_t MaxRecentFiles = 8;

// The list with path put first, once, and no more than MaxRecentFiles long.
[[nodiscard]] std::vector<std::string> withRecentFile(std::vector<std::string> list,
                                                      const std::string &path);
// The list without path.
[[nodiscard]] std::vector<std::string> withoutRecentFile(std::vector<std::string> list,
                                                         const std::string &path);

[[nodiscard]] std::vector<std::string> readRecentFiles(const Profile &profile);
// Entries that a settings line cannot hold (a line break or NUL in the
// path) are left out rather than written into the file.
void storeRecentFiles(Profile &profile, const std::vector<std::string> &list);

} // namespace penarin
