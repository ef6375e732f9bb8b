#pragma once

#include "magic/calcodule.h"
#include "season/season.h"
#include "season/settings.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace penarin::cli {

// `odds --method exact` when the outcomes are more than exact mode ranks.
constexpr int ExitTooManyOutcomes = 8;

// A view as the report command computes it from its view options: the
// selectors it stands for, the pass's standings and the settings read.
struct ComputedView
{
    ViewRequest Request;
    std::shared_ptr<const PublishedStandings> Published;
    Settings Options;
};

// Loads the season named in viewArgs (the command name first) into `season`
// and runs the passes for the view; nothing when the file does not load
// (the message is written already). Throws the report's usage error.
using ViewComputer =
    std::function<std::optional<ComputedView>(const std::vector<std::string> &, Season &)>;

// penarin-report odds: the title and top-k chances of the view's teams, or
// with --big-games the games that matter most for one team.
int runOdds(const std::vector<std::string> &args, std::ostream &out, std::ostream &err,
            const ViewComputer &computeView);

} // namespace penarin::cli
