#pragma once

#include "season/season.h"
#include "season/texttable.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace penarin {

// Game lists as fans keep them in spreadsheets, read into a season.
//
// A list is CSV or tab-separated text, UTF-8 (with or without a BOM) or
// CP932. One line is one of
//   date, home, away, homeScore, awayScore      (equal scores: a draw)
//   date, team, opponent, 勝|負|分 (or W|L|D)
//   team, opponent, wins, losses, draws          (a card's totals, as exported)
// Dates are yyyy/mm/dd, yyyy-mm-dd or m/d (the season's year). Blank lines
// and lines starting with '#' are skipped, so is a first line of column
// titles, and a line "short=full name" (no separator) makes an alias.

enum class ImportStatus
{
    Import,            // "取り込み"
    PossibleDuplicate, // "重複の可能性": dated on or before the newest snapshot
    Error,             // refused; reason says why
};

// One game line (or card line) of a list, as read and checked.
struct ImportLine
{
    int lineNo = 0; // in the file, from 1
    ImportStatus status = ImportStatus::Error;
    std::u16string reason; // refusals only
    // What the line says, as written.
    std::u16string teamText, opponentText, resultText;
    // The teams as matched (0: not matched) and the result seen from `team`.
    int team = 0;
    int opponent = 0;
    int wins = 0;
    int losses = 0;
    int draws = 0;
    std::optional<double> date; // OLE date; card lines have none

    [[nodiscard]] bool valid() const { return status != ImportStatus::Error; }
};

struct GameList
{
    // In file order; an alias line naming no team of the season is a
    // refused line of its own.
    std::vector<ImportLine> lines;
    [[nodiscard]] int errorCount() const;
    [[nodiscard]] int validCount() const;
};

// "short=full name" pairs: the text used in the list and the team's name.
using TeamAliases = std::vector<std::pair<std::u16string, std::u16string>>;

// The bytes of a list file as text: a UTF-8 BOM is dropped, bytes that are
// valid UTF-8 are read as such, anything else as CP932.
[[nodiscard]] std::u16string DecodeListText(std::string_view bytes);

// The "short=full name" lines of an alias file (blank and '#' lines skipped).
[[nodiscard]] TeamAliases ReadAliases(std::u16string_view text);

// The year that "m/d" dates fall in: the newest snapshot's, else the year the
// season was last saved in.
[[nodiscard]] int SeasonYear(const Season &season);

// Reads and checks every line against the season: the teams (full name, an
// alias, or a part of exactly one team's name), the card, the games the card
// has left after the lines before it, the date, the score, draws on a card
// that replays them. Simulation mode checks against the real and simulated
// games together, as the grid's input does.
[[nodiscard]] GameList ReadGameList(const Season &season, std::u16string_view text,
                                    const TeamAliases &aliases = {});

// What one import added: the games per team as wins, losses and draws.
struct ImportedRecord
{
    int wins = 0;
    int losses = 0;
    int draws = 0;
};
// Indexed by team number; only valid lines count.
[[nodiscard]] OneBased<ImportedRecord> ImportTotals(const Season &season, const GameList &list);

struct ImportChoice
{
    bool snapshots = false;   // "日付ごとにグラフデータを作成"
    bool skipInvalid = false; // import the valid lines of a list with errors
};

struct ImportOutcome
{
    Season season;
    int applied = 0;
    int snapshots = 0;
};

// The season with the games of a list read against it (ReadGameList) added:
// as real results, or as simulated
// ones in simulation mode (a card its real results complete loses its
// simulated results, as at the grid). With snapshots (real results only), a
// snapshot of the standings is taken after each date's games, dated that
// day and placed in date order among the season's snapshots; card lines
// without a date go first. Nothing when the list has an error and the
// choice does not skip them. `season` itself is not changed, so the window
// can keep it as the state an undo returns to.
[[nodiscard]] std::optional<ImportOutcome> ApplyGameList(const Season &season, const GameList &list,
                                                         const ImportChoice &choice);

// The memo of a snapshot an import takes.
inline constexpr std::u16string_view ImportSnapshotMemo = u"取り込み";

// The season's cards as the list reads them back: a line of column titles,
// then "team, opponent, wins, losses, draws" for every card with a result,
// each card once from the side of its lower team number.
[[nodiscard]] TextTable CardTotalsTable(const Season &season);

} // namespace penarin
