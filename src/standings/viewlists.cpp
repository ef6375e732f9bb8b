#include "standings/viewlists.h"

namespace penarin {

namespace {

const Text AllEntries = u"すべて表示";

void appendRun(std::vector<Text> &entries, const Text &name, const Text *&previous)
{
    if (previous == nullptr || *previous != name) {
        entries.push_back(name);
    }
    previous = &name;
}

} // namespace

std::vector<Text> LeagueSelectorEntries(const Season &season)
{
    std::vector<Text> entries{AllEntries};
    const Text *previous = nullptr;
    for (const TeamRecord &team : season.Teams) {
        appendRun(entries, team.LeagueName, previous);
    }
    return entries;
}

std::vector<Text> DivisionSelectorEntries(const Season &season, int leagueEntry)
{
    if (leagueEntry < 1) {
        return {};
    }
    std::vector<Text> entries{AllEntries};
    const Text *previous = nullptr;
    bool anyName = false;
    for (const TeamRecord &team : season.Teams) {
        if (team.League != leagueEntry) {
            continue;
        }
        anyName = anyName || !team.DivisionName.empty();
        appendRun(entries, team.DivisionName, previous);
    }
    if (!anyName) {
        return {};
    }
    return entries;
}

ViewSelection ChooseViewSelection(const Season &season, int leagueEntry, int divisionEntry)
{
    const int leagueEntries = static_cast<int>(LeagueSelectorEntries(season).size());
    ViewSelection selection;
    selection.league = leagueEntry >= 0 && leagueEntry < leagueEntries ? leagueEntry : 0;
    const auto divisions = DivisionSelectorEntries(season, selection.league);
    if (divisions.empty()) {
        selection.division = -1;
    } else if (divisionEntry >= 0 && divisionEntry < static_cast<int>(divisions.size())) {
        selection.division = divisionEntry;
    } else {
        selection.division = 0;
    }
    return selection;
}

ViewSelection StoredViewSelection(const Season &season)
{
    return ChooseViewSelection(season, season.Header.ViewLeague, season.Header.ViewDivision);
}

void BuildViewLists(Season &season, int league, int requestedDivision)
{
    const int division = requestedDivision < 0 ? 0 : requestedDivision;
    season.ViewRows.clear();
    season.ViewCols.clear();
    auto both = [&season](const TeamRecord &team) {
        season.ViewRows.push_back(team.GridRank);
        season.ViewCols.push_back(team.GridRank);
    };
    for (const TeamRecord &team : season.Teams) {
        if (league < 1) {
            both(team);
        } else if (team.League == league && (division == 0 || team.Division == division)) {
            both(team);
        }
    }
    if (league > 0 && division > 0) {
        for (const TeamRecord &team : season.Teams) {
            if (team.League == league && team.Division != division) {
                season.ViewCols.push_back(team.GridRank);
            }
        }
    }
    if (league > 0 && season.Interleague.IntCounts == 1) {
        for (const TeamRecord &team : season.Teams) {
            if (team.League != league) {
                season.ViewCols.push_back(team.GridRank);
            }
        }
    }
    season.Header.ViewLeague = static_cast<std::int16_t>(league);
    season.Header.ViewDivision = static_cast<std::int16_t>(requestedDivision);
}

} // namespace penarin
