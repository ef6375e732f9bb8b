#pragma once

#include "season/season.h"
#include "season/texttable.h"

#include <string>

namespace penarin {

struct PublishedStandings;

// One cell of the win line table: the record a team with `wins`, `losses`
// and `remaining` games needs over those games to finish with `target` wins,
// as "needed - left( pct of the remaining games / final pct )", or only the
// final percentage when `finalOnly`. "-" where the target cannot be reached
// or is already passed, or nothing is left to play. Draws count in neither
// percentage, so neither denominator includes them.
[[nodiscard]] std::u16string WinLineCell(int wins, int losses, int remaining, int target,
                                         int digits, bool finalOnly);

struct RemainingCards
{
    std::u16string Text; // "残0" when nothing counted is left
    bool ResultsExceedSchedule = false;
};

// The games `teamNo` still has to play against each rival, in storage
// order: the rival's name cut to `nameLen` characters, the count, a space.
// Counted over official games; the season's GameScope then decides which
// rivals are listed. A card whose results exceed its schedule is reported.
[[nodiscard]] RemainingCards RemainingCardsText(const Season &season, int teamNo, int nameLen);

// The whole table as the win line view shows and exports it. Cell (0, 0)
// reads "勝"; line 0 holds the team names in standings order; lines 1 to
// MaxWins - MinWins + 1 one final win total each, highest first, with the
// total in cell 0; the last line is the "残" line of remaining cards.
struct WinLineTable
{
    TextTable Cells;
    int MaxWins = 0;
    int MinWins = 0;
    bool CalculationFailed = false;
};

[[nodiscard]] WinLineTable BuildWinLineTable(const Season &season,
                                             const PublishedStandings &published, int digits,
                                             bool finalOnly, int nameLen);

inline constexpr const char *WinLineFailureMessage =
    "優勝ラインを正しく計算できません\r\n"
    "対戦数・引分再試合の設定を変更するか、リーグ・地区を選択してください";

} // namespace penarin
