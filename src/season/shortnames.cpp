#include "season/shortnames.h"

#include <algorithm>

namespace penarin {

std::vector<Text> UniqueShortNames(const std::vector<Text> &names, int length)
{
    std::vector<Text> shortNames;
    shortNames.reserve(names.size());
    for (const Text &name : names) {
        if (length < 1) {
            shortNames.emplace_back();
            continue;
        }
        // One character past the longest start it shares with another name.
        std::size_t wanted = static_cast<std::size_t>(length);
        for (const Text &other : names) {
            if (&other == &name || other == name) {
                continue;
            }
            const auto differ = std::mismatch(name.begin(), name.end(), other.begin(), other.end());
            wanted = std::max(wanted, static_cast<std::size_t>(differ.first - name.begin()) + 1);
        }
        shortNames.push_back(name.substr(0, std::min(wanted, name.size())));
    }
    return shortNames;
}

std::vector<Text> TeamShortNames(const Season &season, int length)
{
    std::vector<Text> names;
    for (int team = 1; team <= season.TeamCount(); ++team) {
        names.push_back(season.team(team).TeamName);
    }
    std::vector<Text> shortNames = UniqueShortNames(names, length);
    shortNames.insert(shortNames.begin(), Text{});
    return shortNames;
}

} // namespace penarin
