#include "tables/standingstable.h"

#include <cassert>
#include <cmath>
#include <string>
#include <utility>

namespace penarin {

namespace {

Text number(int value)
{
    const std::string digits = std::to_string(value);
    return Text(digits.begin(), digits.end());
}

Text ascii(const std::string &text)
{
    return Text(text.begin(), text.end());
}

int rounded(double twips)
{
    return static_cast<int>(std::lround(twips));
}

// The figure columns grow with the font; the percentage column also with
// every digit beyond the customary three.
std::vector<int> columnWidths(const Settings &settings, int rivals)
{
    const int font = settings.FontSizeA;
    std::vector<int> widths{280,
                            950,
                            rounded(465.0 / 9 * font),
                            40 * font,
                            40 * font,
                            40 * font,
                            rounded(500.0 / 9 * font + 120.0 * (settings.Pct - 3)),
                            rounded(430.0 / 9 * font),
                            rounded(430.0 / 9 * font),
                            rounded(430.0 / 9 * font),
                            rounded(465.0 / 9 * font)};
    widths.resize(widths.size() + static_cast<std::size_t>(rivals), settings.Width);
    return widths;
}

} // namespace

StandingsTable::StandingsTable(int rowCount, int colCount)
    : m_rowCount(rowCount), m_colCount(colCount),
      m_cells(static_cast<std::size_t>(rowCount) * static_cast<std::size_t>(colCount))
{}

const StandingsCell &StandingsTable::cell(int row, int col) const
{
    assert(row >= 0 && row < m_rowCount && col >= 0 && col < m_colCount);
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_colCount) +
                   static_cast<std::size_t>(col)];
}

StandingsCell &StandingsTable::cell(int row, int col)
{
    return const_cast<StandingsCell &>(std::as_const(*this).cell(row, col));
}

StandingsTable BuildStandingsTable(const Season &season, const PublishedStandings &published,
                                   const Settings &settings)
{
    const int n = published.Rows.size();
    StandingsTable table(n + 1, n + StandingsTable::FirstRivalCol);
    table.ColWidths = columnWidths(settings, n);
    table.RowTeams.assign(static_cast<std::size_t>(n) + 1, 0);

    static const char16_t *const headers[] = {u"",     u"チーム", u"試合", u"勝",   u"敗",  u"分",
                                              u"勝率", u"貯",     u"首差", u"上差", u"残試"};
    for (int col = 0; col < table.colCount(); ++col) {
        StandingsCell &header = table.cell(0, col);
        header.Alignment = CellAlignment::Center;
        if (col < StandingsTable::FirstRivalCol) {
            header.Text = headers[col];
        } else {
            header.Back = StandingsTable::ButtonFace;
        }
    }

    int decidingRow = 0;
    for (int i = 1; i <= n; ++i) {
        const StandingsRow &row = published.Rows[i];
        const CardAnalysis &analysis = published.Analysis[i];
        table.RowTeams[static_cast<std::size_t>(i)] = row.TeamNo;
        const Text name =
            season.Teams.contains(row.TeamNo) ? season.team(row.TeamNo).TeamName : Text();
        const Text figures[] = {number(row.Rank),
                                name,
                                number(row.Played),
                                number(row.Wins),
                                number(row.Losses),
                                number(row.Draws),
                                ascii(FormatPct(row.Pct, settings.Pct)),
                                number(row.Surplus),
                                ascii(row.BehindLeader),
                                ascii(row.BehindAbove),
                                number(row.Remaining)};
        for (int col = 0; col < StandingsTable::FirstRivalCol; ++col) {
            table.cell(i, col).Text = figures[col];
        }
        // Names read from the left; every figure, the "-" of the leader's
        // games behind included, lines up on the right.
        table.cell(i, StandingsTable::TeamCol).Alignment = CellAlignment::Left;

        bool hasDecidingRival = false;
        for (int k = 1; k <= n; ++k) {
            StandingsCell &cell = table.cell(i, StandingsTable::FirstRivalCol - 1 + k);
            cell.Alignment = CellAlignment::Center;
            if (k == i) {
                cell.Text = u"-";
                cell.Back = StandingsTable::ButtonFace;
                continue;
            }
            const CardFigures &card = analysis.Cards[k];
            cell.MagicKind = card.MagicKind;
            // Hidden magic keeps its colour when its number is not shown.
            if (card.MagicKind != MagicKind::Hidden || settings.Magic != 0) {
                cell.Text = card.MagicText();
            }
            cell.Back = card.MagicColor;
            hasDecidingRival = hasDecidingRival || card.MagicKind == MagicKind::Deciding;
        }
        if (analysis.MagicCountdown == 0) {
            StandingsCell &team = table.cell(i, StandingsTable::TeamCol);
            team.Back = StandingsTable::ClinchedBack;
            team.Fore = StandingsTable::ClinchedFore;
        }
        if (hasDecidingRival) {
            decidingRow = i;
        }
    }

    // Only one row can carry the championship magic's deciding rivals; the
    // last one found is marked, with the headers of those rivals.
    if (decidingRow > 0) {
        table.cell(decidingRow, StandingsTable::TeamCol).Back = StandingsTable::DecidingRowBack;
        for (int k = 1; k <= n; ++k) {
            const int col = StandingsTable::FirstRivalCol - 1 + k;
            if (k != decidingRow && table.cell(decidingRow, col).MagicKind == MagicKind::Deciding) {
                table.cell(0, col).Back = StandingsTable::DecidingRivalHeader;
            }
        }
    }
    return table;
}

} // namespace penarin
