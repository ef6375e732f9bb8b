#pragma once

namespace penarin {

// Tie-break condition codes of a JudgmentSet, in the order the judgment
// dialog lists them; a list ends at the first End.
namespace ConditionCode {
constexpr int End = 0;
constexpr int Secondary = 1; // the other measure (wins or percentage)
constexpr int Series = 2;    // head-to-head series
constexpr int LeaguePct = 3; // codes 3 to 6 count only in official games
constexpr int InterleagueWins = 6;
constexpr int GridOrder = 7; // 7 to 10: previous-year ranks
constexpr int UserRankC = 10;
} // namespace ConditionCode

} // namespace penarin
