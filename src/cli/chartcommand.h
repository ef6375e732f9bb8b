#pragma once

#include "cli/command.h"
#include "magic/calcodule.h"
#include "season/season.h"
#include "season/settings.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace penarin::cli {

struct ChartOptions
{
    bool composition = false; // else the progression chart
    bool percentage = false;  // progression of the percentage instead of the surplus
    std::optional<int> team;  // composition: team number; default the first of the standings
    std::string out;          // ".svg" (any case) gives SVG, anything else PNG
};

// Draws the chart of a season whose view was just recalculated into the
// picture file, through the chart window's own painting code. Starts a
// headless Qt Gui when none runs yet.
int runChart(const Season &season, const PublishedStandings &published, const Settings &settings,
             const ChartOptions &options, std::ostream &err);

// The chart subcommand: reads its options and draws the view the prologue
// computed.
int runChartCommand(Invocation &call);

} // namespace penarin::cli
