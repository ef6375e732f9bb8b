#pragma once

#include "season/season.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace penarin {

// How the head-to-head grid's cell input answers. The numbers are fixed: the
// window turns 2 and 3 into messages and keeps 1 silent.
enum class CardEntryResult
{
    Accepted = 0,
    OwnCard = 1,  // the team's own column group (the diagonal)
    NotSet = 2,   // no card between the two teams, or one that cannot be entered
    Finished = 3, // the value does not fit into the card's scheduled games
};

// The two requests EnterCardValue takes in place of a count.
constexpr int LocateCell = -1;
constexpr int QueryCard = -2;

// The largest count a card cell can hold: results are stored in 16 bits.
constexpr int MaxCardValue = 32767;

// The entry rule behind every card cell of the head-to-head grid.
//
// row and col are a cell of that grid: data rows start at 2 (row r + 1 shows
// entry r of ViewRows), and opponent j (entry j of ViewCols) owns columns
// 3j - 2 (wins), 3j - 1 (losses) and 3j (draws).
//
// value is the new count for the cell (0..MaxCardValue), or
//  - LocateCell: only find the mirror cell; nothing is read or checked;
//  - QueryCard: set team, opponent and count = games still to play on the
//    card (in simulation mode the simulated games are used up too).
//
// When a count is accepted it is written to the cell's slot and, mirrored,
// into the opponent's record (a win of the team is a loss of the opponent);
// result mode writes the real results, simulation mode SimResults. A result
// entry that completes the card erases the card's simulated results from both
// sides, since there is nothing left to simulate.
//
// On Accepted (store and locate) the answer names the mirror cell: the
// opponent's row and the team's column group there. When the opponent is only
// a column of the grid (another division or league), the mirror row lies
// below the grid's last row; the caller then paints only the edited cell,
// while the opponent's record has changed all the same. On any refusal
// nothing in the season changes.
//
// team and opponent are set (team numbers) once the cell is known to lie in
// the view and off the diagonal, also when the card is refused; count is 0
// except for an answered query. Cells outside the view lists (col <= 0, a row
// or column group beyond the lists) and view entries that name no team are
// refused with NotSet. Negative values other than the two requests, and
// values above MaxCardValue, are refused with Finished: they fit no card.
struct CardEntry
{
    CardEntryResult code = CardEntryResult::NotSet;
    int team = 0;
    int opponent = 0;
    int count = 0;
    int mirrorRow = 0; // only on Accepted
    int mirrorCol = 0;

    [[nodiscard]] bool accepted() const { return code == CardEntryResult::Accepted; }
};
[[nodiscard]] CardEntry EnterCardValue(Season &season, int row, int col, int value);

// Everything an entry can change on one card, seen from `team`: the real and
// the simulated wins, losses and draws. Restoring it writes both sides.
struct CardState
{
    std::int16_t wins = 0, losses = 0, draws = 0;
    std::int16_t simWins = 0, simLosses = 0, simDraws = 0;

    friend bool operator==(const CardState &, const CardState &) = default;
};
// A card whose arrays the season does not hold reads as all zero and is
// never written.
[[nodiscard]] CardState ReadCardState(const Season &season, int team, int opponent);
void WriteCardState(Season &season, int team, int opponent, const CardState &state);

// 1 when a drawn game of the card between the two teams uses up one of its
// scheduled games, 0 when the card's rule replays drawn games.
[[nodiscard]] int CardDrawFactor(const Season &season, int team, int opponent);

// The scheduled games of the card between team and opponent that its results
// have used up: wins, losses and the draws that are not replayed, real ones
// and the simulated ones on top of them.
[[nodiscard]] int CardGamesUsed(const Season &season, int team, int opponent);

// Whether any simulated count of any pair of teams is not 0.
[[nodiscard]] bool HasSimulatedResults(const Season &season);

// Sets every simulated count of every pair of teams to 0.
void ClearSimulation(Season &season);

// The text of a card cell: a positive value as decimal digits; 0 or below as
// "0" when zeros are shown, else empty.
[[nodiscard]] Text CardCellText(int value, bool zero);

// The count a text typed or pasted into a card cell stands for: its digits
// (half or full width, blanks around them ignored); an empty or unreadable
// text is 0; a number too large for a card is MaxCardValue + 1, which
// EnterCardValue refuses.
[[nodiscard]] int ReadCardText(std::u16string_view text);

// The value a mouse click asks for on a card cell that shows `current`: the
// left button adds a game, any other button takes one away without going
// below 0. The answer never overflows; one beyond MaxCardValue is refused by
// EnterCardValue.
[[nodiscard]] int nextClickValue(int current, bool leftButton);

} // namespace penarin
