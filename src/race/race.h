#pragma once

#include "magic/calcodule.h"
#include "season/season.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace penarin::race {

// Who can still finish first, or in the first k places, over every way the
// remaining games can end. The per-rival magic numbers answer "can X finish
// above Y" one rival at a time; this answers the joint question, where the
// rivals' remaining games interlock.

// A question the analysis could not settle within its time limit is
// Unknown, never guessed.
enum class Answer : std::int8_t
{
    No,
    Yes,
    Unknown
};

// The remaining games of one card as an outcome ends them, from the side of
// the lower team number.
struct CardOutcome
{
    int Team = 0;
    int Opponent = 0;
    int Wins = 0;
    int Losses = 0;
    int Draws = 0;

    friend bool operator==(const CardOutcome &, const CardOutcome &) = default;
};

// One complete outcome: every remaining game of the cards that count for the
// view's teams, ordered by team and opponent. Cards between two teams outside
// the view change nothing here and are left out.
using Certificate = std::vector<CardOutcome>;

// A team's standing against one number of places k. A rival "finishes level
// or better" when its measure (percentage or wins, whichever decides the
// championship) is equal to or higher than the team's; tie-break rules are
// not applied, which is why the "unless tied" and "with tie" variants exist.
struct RaceState
{
    // Every outcome leaves fewer than k rivals level or better.
    Answer Sure = Answer::Unknown;
    // Every outcome leaves fewer than k rivals strictly better.
    Answer SureUnlessTied = Answer::Unknown;
    // Some outcome leaves fewer than k rivals level or better.
    Answer Possible = Answer::Unknown;
    // Some outcome leaves fewer than k rivals strictly better.
    Answer PossibleWithTie = Answer::Unknown;
    // Winning every remaining game of its own makes Sure hold.
    Answer OwnPower = Answer::Unknown;
    // The least number of wins in its remaining games that makes Sure hold
    // whatever else happens; none when even winning out is not enough.
    bool MagicDecided = false;
    std::optional<int> Magic;
    // An outcome in which the team gets in: for Possible, or failing that
    // for PossibleWithTie (ReachNeedsTie then says so).
    std::optional<Certificate> Reach;
    bool ReachNeedsTie = false;
    // When OwnPower is No: an outcome in which the team wins out and still
    // has k rivals level or better.
    std::optional<Certificate> WinOutFailure;
};

struct TeamRace
{
    int TeamNo = 0;
    RaceState Title; // k = 1
    RaceState Top;   // k = the number of places asked for
};

enum class RaceStatus
{
    Analysed,
    // Some card of the view has more results than games, or its two sides
    // disagree on what is left: there is no set of remaining games to
    // range over.
    ScheduleInconsistent,
};

struct RaceAnalysis
{
    RaceStatus Status = RaceStatus::Analysed;
    int TopK = 3;
    // In the order of the request's teams.
    std::vector<TeamRace> Teams;
    // Some team's scheduled total disagrees with the sum of its cards. The
    // analysis ranges over the cards (a game needs an opponent), so the
    // standings' remaining-games column may differ from what it used.
    bool ScheduleMismatch = false;
    // Problems handed to the integer-programming solver.
    int SolverCalls = 0;
};

struct RaceRequest
{
    std::vector<int> Teams;        // the view's teams, in the order wanted back
    int GameScope = ScopeOfficial; // which games count, as for the standings
    int Judgment = 0;              // 0 highest percentage, 1 most wins
    int TopK = 3;                  // places of the second question (1 or more)
    // Per solver problem; a problem still open then makes its answers Unknown.
    std::chrono::milliseconds TimeLimit{5000};
    // For the whole analysis: problems not yet solved by then are Unknown
    // too, so a hard season never keeps the user waiting for minutes.
    std::chrono::milliseconds TotalTimeLimit{30000};
};

// The request for the view the latest recalculation published: its teams in
// standings order, its game scope and the judgment in force for the
// selectors it was run with.
[[nodiscard]] RaceRequest RaceRequestForView(const Season &season,
                                             const PublishedStandings &published,
                                             const ViewRequest &view, int topK);

[[nodiscard]] RaceAnalysis AnalyzeRace(const Season &season, const RaceRequest &request);

// Enters a certificate as simulated results and switches to simulation mode,
// so the standings show that outcome. The analysis counted the simulated
// results only in simulation mode, so they are kept there and cleared in
// result mode before the certificate is added.
void ApplyCertificate(Season &season, const Certificate &certificate);

// Short mark for a state as the race table shows it: "確定", "自力", "他力",
// "同率次第" (only a tie-break can put the team in), "消滅", or "不明".
[[nodiscard]] Text RaceMark(const RaceState &state);

} // namespace penarin::race
