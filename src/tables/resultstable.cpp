#include "tables/resultstable.h"

#include <algorithm>
#include <string>

namespace penarin {

namespace {

// A pair without a card, and a team against itself: full-width so that a
// spreadsheet does not read it as a minus sign.
constexpr char16_t NoCard[] = u"\uFF0D";

Text number(int value)
{
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

Text markedMagic(const StandingsCell &cell)
{
    switch (cell.MagicKind) {
    case MagicKind::PerCard:
        return u"〔" + cell.Text + u"〕";
    case MagicKind::Deciding:
        return u"【" + cell.Text + u"】";
    default:
        return cell.Text;
    }
}

Text record(const TeamRecord &team, int opponent)
{
    return number(team.CardWins[opponent]) + u"勝" + number(team.CardLosses[opponent]) + u"敗" +
           number(team.CardDraws[opponent]) + u"分";
}

} // namespace

TextTable BuildResultsTable(const Season &season, const StandingsTable &grid)
{
    const int n = grid.rowCount() - 1;
    const int m = season.RowTeamCount();
    TextTable table(2 * n + 3, std::max(n + 10, m) + 1);

    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j < grid.colCount(); ++j) {
            const StandingsCell &cell = grid.cell(i, j);
            table.set(i, j,
                      i >= 1 && j >= StandingsTable::FirstRivalCol ? markedMagic(cell) : cell.Text);
        }
    }
    table.set(0, 0, u"順位");

    auto rowTeam = [&](int r) { return grid.RowTeams[static_cast<std::size_t>(r)]; };
    auto columnTeam = [&](int c) { return c <= n ? rowTeam(c) : int{season.ViewRows[c]}; };
    auto name = [&](int team) {
        return season.Teams.contains(team) ? season.team(team).TeamName : Text();
    };
    const int header = n + 2;
    for (int c = 1; c <= m; ++c) {
        table.set(header, c, name(columnTeam(c)));
    }
    for (int r = 1; r <= n; ++r) {
        const int team = rowTeam(r);
        table.set(header + r, 0, name(team));
        if (!season.Teams.contains(team)) {
            continue;
        }
        const TeamRecord &me = season.team(team);
        for (int c = 1; c <= m; ++c) {
            const int other = columnTeam(c);
            const bool card =
                other != team && me.CardGames.contains(other) && me.CardGames[other] >= 0;
            table.set(header + r, c, card ? record(me, other) : Text(NoCard));
        }
    }
    return table;
}

} // namespace penarin
