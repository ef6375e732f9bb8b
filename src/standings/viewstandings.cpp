#include "standings/viewstandings.h"

namespace penarin {

void AdjustGameScope(Season &season, int leagueSelectorIndex)
{
    if (leagueSelectorIndex == 0) {
        season.GameScope = season.Interleague.IntCounts == 1 ? ScopeInterleague : ScopeOfficial;
    } else if (season.Interleague.IntCounts == 0) {
        season.GameScope = ScopeOfficial;
    }
}

std::vector<int> ViewTeams(const Season &season)
{
    const auto &list = season.GameScope == ScopeInterleague ? season.ViewCols : season.ViewRows;
    std::vector<int> teams;
    teams.reserve(static_cast<std::size_t>(list.size()));
    for (std::int16_t team : list) {
        // A list read from a file is checked on load; this only guards lists
        // built from a season changed in memory since.
        if (team >= 1 && team <= season.TeamCount()) {
            teams.push_back(team);
        }
    }
    return teams;
}

ViewTotals TotalViewTeams(const Season &season, const std::vector<int> &teams)
{
    ViewTotals view;
    const int count = static_cast<int>(teams.size());
    view.Rows.resize(count);
    const bool official = season.GameScope == ScopeOfficial;
    if (official) {
        view.LeagueRows.resize(count);
        view.InterRows.resize(count);
    }
    auto keep = [&](StandingsRow &row, int team, const TeamTotalsResult &totals) {
        view.ResultsExceedSchedule = view.ResultsExceedSchedule || totals.ResultsExceedSchedule;
        row = MakeStandingsRow(season, team, totals);
    };
    TeamTotalsResult totals;
    TeamTotalsResult league;
    TeamTotalsResult interleague;
    for (int i = 1; i <= count; ++i) {
        const int team = teams[static_cast<std::size_t>(i - 1)];
        if (official) {
            TeamTotalsInScopes(season, team, totals, league, interleague);
            keep(view.Rows[i], team, totals);
            keep(view.LeagueRows[i], team, league);
            keep(view.InterRows[i], team, interleague);
        } else {
            TeamTotals(season, team, season.GameScope, 0, totals);
            keep(view.Rows[i], team, totals);
        }
    }
    return view;
}

std::string ScopeText(const Season &season, int leagueSelectorIndex)
{
    if (leagueSelectorIndex == 0 && season.Interleague.IntCounts == 0) {
        return "不明";
    }
    switch (season.GameScope) {
    case ScopeLeague:
        return "リーグ戦";
    case ScopeInterleague:
        return "交流戦";
    default:
        return "公式戦";
    }
}

} // namespace penarin
