#pragma once

#include "magic/calcodule.h"
#include "season/season.h"
#include "season/settings.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace penarin {

enum class CellAlignment
{
    Left,
    Right,
    Center,
};

// One cell of the standings grid as data: what the grid widget shows, the
// report prints and the results export copies. Colours are stored values
// (0x00BBGGRR, or 0x80000000 + a system colour index); no value means the
// grid's own colour for that cell (the fixed colour in the fixed rows and
// columns, the table's Background elsewhere).
struct StandingsCell
{
    penarin::Text Text;
    CellAlignment Alignment = CellAlignment::Right;
    std::optional<std::int32_t> Back;
    std::optional<std::int32_t> Fore;
    // The magic state behind a per-rival cell; Undecided everywhere else.
    penarin::MagicKind MagicKind = penarin::MagicKind::Undecided;
};

// The standings grid RnkG of one pass: a header row, then one row per
// standings row; columns rank, team, the nine figures, then one narrow
// column per standings row for the magic against that rival.
class StandingsTable
{
public:
    static constexpr int FixedRows = 1;
    static constexpr int FixedCols = 2;
    static constexpr int TeamCol = 1;
    static constexpr int FirstRivalCol = 11; // the rival of standings row k is column 10 + k

    static constexpr std::int32_t ButtonFace = static_cast<std::int32_t>(0x8000000FU);
    static constexpr std::int32_t ClinchedBack = 0xFF0000;        // blue
    static constexpr std::int32_t ClinchedFore = 0xFFFFC0;        // pale cyan
    static constexpr std::int32_t DecidingRowBack = 0xFFFFC0;     // pale cyan
    static constexpr std::int32_t DecidingRivalHeader = 0xC0FFFF; // pale yellow

    StandingsTable() = default;
    StandingsTable(int rowCount, int colCount);

    [[nodiscard]] int rowCount() const { return m_rowCount; }
    [[nodiscard]] int colCount() const { return m_colCount; }
    [[nodiscard]] const StandingsCell &cell(int row, int col) const;
    [[nodiscard]] StandingsCell &cell(int row, int col);

    // Width of each column in twips.
    std::vector<int> ColWidths;
    // Team number of each grid row (index 0, the header row, holds 0).
    std::vector<int> RowTeams;
    // The colour of every cell that has none of its own.
    std::int32_t Background = ButtonFace;

private:
    int m_rowCount = 0;
    int m_colCount = 0;
    std::vector<StandingsCell> m_cells;
};

// The standings grid for the published standings of the latest pass, laid
// out with the settings' font size, percentage digits, rival column width
// and hidden-magic switch.
[[nodiscard]] StandingsTable BuildStandingsTable(const Season &season,
                                                 const PublishedStandings &published,
                                                 const Settings &settings);

} // namespace penarin
