#include "magic/winline.h"

#include "magic/calcodule.h"
#include "season/shortnames.h"
#include "standings/standings.h"

#include <algorithm>

namespace penarin {

namespace {

// Numbers and percentages are plain ASCII, so widening them is exact.
std::u16string widened(const std::string &ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string decimal(int value)
{
    return widened(std::to_string(value));
}

} // namespace

std::u16string WinLineCell(int wins, int losses, int remaining, int target, int digits,
                           bool finalOnly)
{
    const int needed = target - wins;
    if (remaining < 1 || needed < 0 || needed > remaining) {
        return u"-";
    }
    const int left = remaining - needed;
    std::u16string text = decimal(needed) + u" - " + decimal(left) + u"( ";
    if (!finalOnly) {
        text += widened(FormatPct(static_cast<double>(needed) / remaining, 3)) + u" / ";
    }
    const double finalPct = static_cast<double>(target) / (wins + losses + remaining);
    return text + widened(FormatPct(finalPct, digits)) + u" )";
}

RemainingCards RemainingCardsText(const Season &season, int teamNo, int nameLen)
{
    RemainingCards result;
    if (!season.Teams.contains(teamNo)) {
        result.Text = u"残0";
        return result;
    }
    const TeamRecord &me = season.team(teamNo);
    // Two rivals whose names start alike must not read the same.
    const std::vector<Text> shortNames = TeamShortNames(season, nameLen);
    for (int k = 1; k <= season.TeamCount(); ++k) {
        if (k == teamNo || !me.CardGames.contains(k) || me.CardGames[k] == -1) {
            continue;
        }
        const TeamTotalsResult card = TeamTotals(season, teamNo, ScopeOfficial, k);
        result.ResultsExceedSchedule = result.ResultsExceedSchedule || card.ResultsExceedSchedule;
        if (card.Remaining <= 0) {
            continue;
        }
        const TeamRecord &rival = season.team(k);
        const bool sameLeague = rival.League == me.League;
        if ((season.GameScope == ScopeLeague && !sameLeague) ||
            (season.GameScope == ScopeInterleague && sameLeague)) {
            continue;
        }
        result.Text += shortNames[static_cast<std::size_t>(k)] + decimal(card.Remaining) + u" ";
    }
    if (result.Text.empty()) {
        result.Text = u"残0";
    }
    return result;
}

WinLineTable BuildWinLineTable(const Season &season, const PublishedStandings &published,
                               int digits, bool finalOnly, int nameLen)
{
    WinLineTable table;
    const int n = published.Rows.size();
    int maxWins = 0;
    for (const StandingsRow &row : published.Rows) {
        maxWins = std::max(maxWins, row.Wins + row.Remaining);
    }
    int minWins = maxWins;
    for (const StandingsRow &row : published.Rows) {
        minWins = std::min(minWins, row.Wins);
    }
    const int span = maxWins - minWins + 1;
    table.MaxWins = maxWins;
    table.MinWins = minWins;
    table.Cells = TextTable(span + 2, n + 1);
    TextTable &cells = table.Cells;

    cells.set(0, 0, u"勝");
    for (int h = 1; h <= span; ++h) {
        cells.set(h, 0, decimal(maxWins - h + 1));
    }
    cells.set(span + 1, 0, u"残");

    for (int m = 1; m <= n; ++m) {
        const StandingsRow &row = published.Rows[m];
        if (season.Teams.contains(row.TeamNo)) {
            cells.set(0, m, season.team(row.TeamNo).TeamName);
        }
        for (int h = 1; h <= span; ++h) {
            cells.set(h, m,
                      WinLineCell(row.Wins, row.Losses, row.Remaining, maxWins - h + 1, digits,
                                  finalOnly));
        }
        const int cardTeam =
            published.Analysis.contains(m) ? published.Analysis[m].TeamNo : row.TeamNo;
        RemainingCards remaining = RemainingCardsText(season, cardTeam, nameLen);
        table.CalculationFailed = table.CalculationFailed || remaining.ResultsExceedSchedule;
        cells.set(span + 1, m, std::move(remaining.Text));
    }
    return table;
}

} // namespace penarin
