#pragma once

#include "season/conditioncode.h"
#include "season/oledate.h"
#include "season/onebased.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace penarin {

// Text as the season file keeps it: UTF-16 code units. "The first N
// characters" of a name means N code units.
using Text = std::u16string;

// Stored Booleans are 16-bit: 0 false, -1 true.
constexpr std::int16_t StoredTrue = -1;
constexpr std::int16_t StoredFalse = 0;

// The program's own version, written into every file it saves. The numbers
// come from the build (project() in CMakeLists.txt), so the files, the about
// box, --version and the package never disagree.
constexpr std::int16_t ProgramMajor = PENARIN_VERSION_MAJOR;
constexpr std::int16_t ProgramMinor = PENARIN_VERSION_MINOR;
constexpr std::int16_t ProgramRevision = PENARIN_VERSION_PATCH;
// The loader takes a file as current only when its major number is the
// program's own, and the current layout is the one of major 5: a new major
// number needs a reader for the files major 5 wrote, or they stop opening.
static_assert(ProgramMajor == 5, "the season file layout belongs to major version 5");
// "5.1.7": what --version and the about box show.
inline const std::string ProgramVersion = std::to_string(ProgramMajor) + '.' +
                                          std::to_string(ProgramMinor) + '.' +
                                          std::to_string(ProgramRevision);
inline const Text SeasonSignature = u"ペナリン2009";
inline const Text ProgramTitle = u"ペナリン";

// Which games the standings count.
constexpr int ScopeOfficial = 0;
constexpr int ScopeLeague = -1;
constexpr int ScopeInterleague = 1;

constexpr int MaxTeams = 88;

struct SeasonHeader
{
    Text Signature;
    std::int16_t SavedMajor = 0;
    std::int16_t SavedMinor = 0;
    std::int16_t SavedRevision = 0;
    std::int16_t LeagueCount = 0;
    // TeamCount, RowTeamCount and ColTeamCount are the sizes of the team
    // array and of the view lists; Season derives them so they cannot drift.
    std::int16_t ViewLeague = 0;
    std::int16_t ViewDivision = 0;
    double UpdatedAt = 0.0;

    friend bool operator==(const SeasonHeader &, const SeasonHeader &) = default;
};

struct InterleagueSettings
{
    std::int16_t IntCounts = 0;
    std::int16_t IntDrawReplay = 1;

    friend bool operator==(const InterleagueSettings &, const InterleagueSettings &) = default;
};

// How one championship (league, division or interleague) is decided.
struct JudgmentSet
{
    std::int16_t Judgment = 0;            // 0 highest percentage, 1 most wins
    std::vector<std::int16_t> Conditions; // tie-break codes, read up to the first 0
    std::int16_t Reversal = 0;            // 0 ignore, 1 tie allowed, 2 strictly above

    friend bool operator==(const JudgmentSet &, const JudgmentSet &) = default;
};

struct TeamRecord
{
    Text LeagueName;
    Text DivisionName;
    Text TeamName;
    std::int16_t League = 0;
    std::int16_t Division = 0;
    std::int16_t GridRank = 0;
    std::int16_t DivisionCount = 0;
    std::int16_t HasDivisions = StoredFalse;
    std::int16_t OfficialGames = 0;
    std::int16_t LeagueGames = 0;
    std::int16_t InterleagueGames = 0;
    std::int16_t LeagueTeamCount = 0;
    std::int16_t LeagueDrawReplay = 0;
    std::int16_t DivisionDrawReplay = 0;
    JudgmentSet LeagueJudgment;   // LeagueJudgment / LeagueConditions / LeagueReversal
    JudgmentSet DivisionJudgment; // DivisionJudgment / DivisionConditions / DivisionReversal
    std::int16_t PlaysInterleague = StoredFalse;
    JudgmentSet IntJudgment;          // IntJudgment / IntConditions / IntReversal
    OneBased<std::int16_t> CardGames; // -1 at the team itself and for pairs without a card
    OneBased<std::int16_t> CardWins;
    OneBased<std::int16_t> CardLosses;
    OneBased<std::int16_t> CardDraws;
    std::int32_t LineColor = 0x808080;
    std::int16_t LineStyle = 0;
    std::int16_t LineWidth = 1;
    std::int16_t ShowLabels = 0;
    std::int16_t UserRankA = 0;
    std::int16_t UserRankB = 0;
    std::int16_t UserRankC = 0;
    std::array<std::int16_t, 9> Reserved{};

    friend bool operator==(const TeamRecord &, const TeamRecord &) = default;
};

// One dated chart snapshot; the per-team values live in TeamSnapshots.
struct Snapshot
{
    double Date = 0.0;
    Text Memo;
    std::int16_t Shown = StoredTrue;

    friend bool operator==(const Snapshot &, const Snapshot &) = default;
};

struct TeamSnapshot
{
    OneBased<float> Pcts;
    OneBased<std::int16_t> Surpluses;

    friend bool operator==(const TeamSnapshot &, const TeamSnapshot &) = default;
};

// Hypothetical results entered in simulation mode, against each opponent.
struct SimRecord
{
    OneBased<std::int16_t> Wins;
    OneBased<std::int16_t> Losses;
    OneBased<std::int16_t> Draws;

    friend bool operator==(const SimRecord &, const SimRecord &) = default;
};

struct Season
{
    // Stored part, in file order.
    SeasonHeader Header;
    OneBased<std::int16_t> ViewRows;
    OneBased<std::int16_t> ViewCols;
    InterleagueSettings Interleague;
    OneBased<TeamRecord> Teams;
    OneBased<std::int16_t> TeamShown;
    OneBased<Snapshot> Snapshots;
    OneBased<TeamSnapshot> TeamSnapshots;

    // Memory-only state.
    OneBased<SimRecord> SimResults;
    int SimMode = 0;
    int GameScope = ScopeOfficial;
    std::string CurrentFile;
    bool HasSeason = false;
    // The snapshot prompt's answer, used by the next save.
    double SnapshotDate = 0.0;
    Text SnapshotMemo;
    bool AddSnapshot = false;

    [[nodiscard]] int TeamCount() const { return Teams.size(); }
    [[nodiscard]] int RowTeamCount() const { return ViewRows.size(); }
    [[nodiscard]] int ColTeamCount() const { return ViewCols.size(); }
    [[nodiscard]] int SnapshotCount() const { return Snapshots.size(); }

    TeamRecord &team(int teamNo) { return Teams[teamNo]; }
    [[nodiscard]] const TeamRecord &team(int teamNo) const { return Teams[teamNo]; }

    // Sizes SimResults to TeamCount x TeamCount zeros, as after a load or a
    // new season.
    void resetSimResults();
};

// Whether two seasons hold the same data: everything the file keeps, the
// simulated results and the mode. The file they belong to and the state of
// the window around them do not count.
[[nodiscard]] bool SameSeasonData(const Season &a, const Season &b);

// Empties the season: every array erased, counts 0, UpdatedAt today (no time).
void ClearSeason(Season &season, const Clock &clock = systemNow);

// A team's real record against every other team, all leagues, for the
// snapshot values written at each save.
[[nodiscard]] float SnapshotPct(const Season &season, int teamNo);
[[nodiscard]] std::int16_t SnapshotSurplus(const Season &season, int teamNo);

} // namespace penarin
