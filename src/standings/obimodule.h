#pragma once

#include "season/season.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace penarin {

struct StandingsRow;

// The surplus composition ("貯金構成") of one team as data: against which
// opponents its surplus was won (the leading bar) and lost (the trailing bar),
// the opponents it is even with, and its overall surplus.

struct CompositionSegment
{
    int TeamNo = 0;
    int Value = 0;  // games above or below .500 against the opponent, positive
    int Length = 0; // twips: value x the composition's unit
    std::int32_t Color = 0;
    // name TAB value TAB "(" share "%)": the caption is rebuilt from it
    // whenever the check boxes change.
    std::u16string Tag;
    std::u16string ToolTip;
};

struct Composition
{
    int TeamNo = 0;
    std::vector<CompositionSegment> Leading;
    std::vector<CompositionSegment> Trailing;
    std::u16string EvenText; // every even opponent's full name followed by three spaces
    int Unit = 0;            // twips per game; 0 when both bars are empty
    std::u16string TotalText;
    std::int32_t TotalColor = 0; // 0x00BBGGRR
};

inline constexpr std::u16string_view NoLeadingCaption = u"勝越しなし\n";
inline constexpr std::u16string_view NoTrailingCaption = u"負越しなし\n";
inline constexpr int CompositionBarLength = 6000;

// Builds the composition of `row`'s team over the opponents that `scope`
// admits (league games: its own league; interleague games: the other leagues;
// official games: everyone) and that it has at least one scheduled game with.
// The bars count real results; the total comes from the row, which follows the
// scope and, in simulation mode, the simulated results.
[[nodiscard]] Composition BuildComposition(const Season &season, const StandingsRow &row, int scope,
                                           int nameLen);

// Twips of bar per game: 6000 / the longer bar, halves to the even neighbour
// (96 games give 62); 0 when both bars are empty.
[[nodiscard]] int CompositionUnit(int leadingTotal, int trailingTotal);

// A segment's share of its bar in percent, no decimals, halves away from zero.
[[nodiscard]] std::u16string ShareText(int value, int barTotal);

// The caption of a segment: [name] LF value LF [share part of the tag].
[[nodiscard]] std::u16string SegmentCaption(std::u16string_view tag, bool showNames,
                                            bool showShares);

// Full-width letters, digits, signs, spaces and katakana as their half-width
// forms (a voiced katakana becomes two characters); everything else as it is.
[[nodiscard]] std::u16string NarrowText(std::u16string_view text);

} // namespace penarin
