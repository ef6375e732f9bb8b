#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace penarin::cli {

// `odds --method exact` when the outcomes are more than exact mode ranks.
constexpr int ExitTooManyOutcomes = 8;

// penarin-report odds: the title and top-k chances of the view's teams, or
// with --big-games the games that matter most for one team. Reads the view
// options with the report's own parser and opens the view with its
// prologue.
int runOdds(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace penarin::cli
