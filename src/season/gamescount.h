#pragma once

#include "season/season.h"
#include "season/texttable.h"

#include <vector>

namespace penarin {

// The scheduled-games matrix as the games-count view shows and edits it:
// line and cell 0 hold the team names in storage order, cell (r, c) the
// games of team r against team c, empty for a pair without a card and on
// the diagonal.
[[nodiscard]] TextTable BuildGamesTable(const Season &season);

// The division filter's entries for a league entry (entry k is League k):
// nothing for entry 0, else "すべて表示" followed by the league's division
// names in storage order, each run of equal names once, unnamed ones left out.
[[nodiscard]] std::vector<Text> GamesDivisionEntries(const Season &season, int leagueEntry);

// Whether the filter shows `team`: every team for league entry 0, else the
// league's teams, of the chosen division when a division entry above 0 is
// chosen (divisionName is that entry's text).
[[nodiscard]] bool GamesFilterShows(const Season &season, int team, int leagueEntry,
                                    int divisionEntry, const Text &divisionName);

enum class GamesEntryResult
{
    Accepted,
    NotInterleague, // a card across leagues while interleague games do not count
    TooLarge,       // the card, or a team's total with it, would not fit 16 bits
    BelowPlayed,    // fewer games than the card's results have used up already
};

struct GamesEntry
{
    GamesEntryResult Result = GamesEntryResult::Accepted;
    Text Value;     // what both cells of the card then read; empty clears them
    int Played = 0; // for BelowPlayed: the games the card's results used up
};

// Checks what was typed (digits only) for cell (row, col) of the matrix,
// rows and columns being team numbers. The diagonal always takes an empty
// value. A refused interleague card reads empty; a refused large number, or
// one below the games already played on the card (an empty cell or 0 among
// them: a card with results is never dropped), leaves the cells as they are
// (Value is empty and unused).
[[nodiscard]] GamesEntry CheckGamesEntry(const Season &season, const TextTable &matrix, int row,
                                         int col, const Text &typed);

// "阪神タイガース－中日ドラゴンズ は既に16試合消化しています"
[[nodiscard]] Text GamesBelowPlayedMessage(const Season &season, int row, int col, int played);

inline constexpr const char *NotInterleagueMessage = "交流戦は設定されていません";
inline constexpr const char *GamesTooLargeMessage =
    "対戦数が大きすぎます\r\n1チームの対戦数は合計32767試合までです";

// Writes the matrix back into the season: every card whose cell is empty or
// 0 becomes "no card" (-1), every other its number of games, and the
// official, league and interleague totals of every team are recounted.
// Hidden rows and columns count like the others. A team that has
// interleague games is marked as taking part in interleague play (never
// unmarked here). Returns true when anything in the season changed.
bool WriteGamesBack(Season &season, const TextTable &matrix);

} // namespace penarin
