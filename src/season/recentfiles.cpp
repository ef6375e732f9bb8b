#include "season/recentfiles.h"

#include "season/profile.h"

#include <algorithm>

namespace penarin {

namespace {

constexpr const char *RecentSection = "Recent";

std::string keyOf(std::size_t index)
{
    return "File" + std::to_string(index + 1);
}

bool storable(const std::string &path)
{
    return !path.empty() && path.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

} // namespace

std::vector<std::string> withoutRecentFile(std::vector<std::string> list, const std::string &path)
{
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    return list;
}

std::vector<std::string> withRecentFile(std::vector<std::string> list, const std::string &path)
{
    list = withoutRecentFile(std::move(list), path);
    list.insert(list.begin(), path);
    if (list.size() > MaxRecentFiles) {
        list.resize(MaxRecentFiles);
    }
    return list;
}

std::vector<std::string> readRecentFiles(const Profile &profile)
{
    std::vector<std::string> list;
    for (std::size_t i = 0; i < MaxRecentFiles; ++i) {
        std::string path = profile.string(RecentSection, keyOf(i), "");
        if (!path.empty() && std::find(list.begin(), list.end(), path) == list.end()) {
            list.push_back(std::move(path));
        }
    }
    return list;
}

void storeRecentFiles(Profile &profile, const std::vector<std::string> &list)
{
    std::size_t slot = 0;
    for (const std::string &path : list) {
        if (slot < MaxRecentFiles && storable(path)) {
            profile.setValue(RecentSection, keyOf(slot++), path);
        }
    }
    // Slots beyond the list are emptied, so a shorter list stays short.
    for (; slot < MaxRecentFiles; ++slot) {
        if (profile.value(RecentSection, keyOf(slot))) {
            profile.setValue(RecentSection, keyOf(slot), "");
        }
    }
}

} // namespace penarin
