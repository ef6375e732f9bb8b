#pragma once

#include "season/season.h"

#include <string>
#include <vector>

namespace penarin {

// The names a table or a chart prints in short: the first `length`
// characters of each, longer where two names would otherwise read the same
// ("巨人" and "巨神" at length 1 stay "巨人" and "巨神"), never longer than
// the name. A length below 1 gives empty texts.
[[nodiscard]] std::vector<Text> UniqueShortNames(const std::vector<Text> &names, int length);

// The short names of every team of the season, indexed by team number
// (index 0 unused).
[[nodiscard]] std::vector<Text> TeamShortNames(const Season &season, int length);

} // namespace penarin
