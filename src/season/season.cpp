#include "season/season.h"

#include <cmath>

namespace penarin {

void Season::resetSimResults()
{
    const int n = TeamCount();
    SimResults.assign(n, SimRecord{OneBased<std::int16_t>(n), OneBased<std::int16_t>(n),
                                   OneBased<std::int16_t>(n)});
}

bool SameSeasonData(const Season &a, const Season &b)
{
    return a.Header == b.Header && a.ViewRows == b.ViewRows && a.ViewCols == b.ViewCols &&
           a.Interleague == b.Interleague && a.Teams == b.Teams && a.TeamShown == b.TeamShown &&
           a.Snapshots == b.Snapshots && a.TeamSnapshots == b.TeamSnapshots &&
           a.SimResults == b.SimResults && a.SimMode == b.SimMode;
}

void ClearSeason(Season &season, const Clock &clock)
{
    Season cleared;
    cleared.Header.UpdatedAt = std::floor(clock());
    cleared.Interleague = InterleagueSettings{0, 1};
    season = std::move(cleared);
}

namespace {

struct RealRecord
{
    int wins = 0;
    int losses = 0;
};

RealRecord realRecord(const Season &season, int teamNo)
{
    RealRecord total;
    const TeamRecord &team = season.team(teamNo);
    for (int opponent = 1; opponent <= season.TeamCount(); ++opponent) {
        if (opponent == teamNo) {
            continue;
        }
        total.wins += team.CardWins[opponent];
        total.losses += team.CardLosses[opponent];
    }
    return total;
}

} // namespace

float SnapshotPct(const Season &season, int teamNo)
{
    const RealRecord total = realRecord(season, teamNo);
    const int decided = total.wins + total.losses;
    // Divided in double and then narrowed, as the stored Single always was.
    return decided == 0 ? 0.0f : static_cast<float>(static_cast<double>(total.wins) / decided);
}

std::int16_t SnapshotSurplus(const Season &season, int teamNo)
{
    const RealRecord total = realRecord(season, teamNo);
    return static_cast<std::int16_t>(total.wins - total.losses);
}

} // namespace penarin
