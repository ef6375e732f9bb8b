#pragma once

#include "magic/calcodule.h"
#include "season/season.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
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

// The number of drawn games in an outcome.
[[nodiscard]] int DrawCount(const Certificate &certificate);

// A team's standing against one number of places k. Every complete outcome
// is ranked as the standings rank it under the championship judgment (the
// measure, then the tie-break conditions, then the games-played rule for
// the order); a rank shared by m teams holds the places rank .. rank+m-1.
// Only where the standings themselves leave teams level (the conditions run
// out) does a tie remain, which is what the "unless tied" and "with tie"
// variants are about.
struct RaceState
{
    // In every outcome all the team's places are within k.
    Answer Sure = Answer::Unknown;
    // In every outcome the team's rank is within k.
    Answer SureUnlessTied = Answer::Unknown;
    // In some outcome all its places are within k.
    Answer Possible = Answer::Unknown;
    // In some outcome its rank is within k.
    Answer PossibleWithTie = Answer::Unknown;
    // Winning every remaining game of its own makes Sure hold.
    Answer OwnPower = Answer::Unknown;
    // Some answer above rests on the tie-break conditions: the measure
    // alone left it open.
    bool TieBreakApplied = false;
    // The least number of wins in its remaining games that makes Sure hold
    // whatever else happens; none when even winning out is not enough.
    bool MagicDecided = false;
    std::optional<int> Magic;
    // An outcome in which the team gets in: for Possible, or failing that
    // for PossibleWithTie (ReachNeedsTie then says so). The most ordinary
    // one found: the team wins at its own pace where that is enough, and
    // the others' results and the draws keep to the season so far.
    std::optional<Certificate> Reach;
    bool ReachNeedsTie = false;
    // When OwnPower is No: an outcome in which the team wins out and still
    // has a place beyond k.
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
    // In the order of the request's teams. While the analysis runs (as the
    // request's Progress sees it) only the first TitlesDone titles and the
    // first TopsDone top-k states are filled in.
    std::vector<TeamRace> Teams;
    int TitlesDone = 0;
    int TopsDone = 0;
    // Some team's scheduled total disagrees with the sum of its cards. The
    // analysis ranges over the cards (a game needs an opponent), so the
    // standings' remaining-games column may differ from what it used.
    bool ScheduleMismatch = false;
    // Problems handed to the integer-programming solver.
    int SolverCalls = 0;
    // The stop flag ended the analysis early; what is not Unknown is exact.
    bool Stopped = false;
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
    // The tie-break conditions of the judgment in force, as stored (the
    // first End closes the list); {End} leaves level teams level.
    std::vector<std::int16_t> Conditions{0};
    bool DivisionView = false; // the series' draw rule is the division's
    int GameCountRule = 0;     // the settings' games-played rule (orders, never ranks)
    // The view's teams in list order, where the standings' sort starts from
    // (it decides between rows the conditions leave level); empty: Teams.
    std::vector<int> ListOrder;
    // Once every answer is in (and Progress has seen it), replace each
    // outcome offered as proof by the most ordinary one that proves the
    // same. Only the examples change; off, the analysis ends with the
    // answers.
    bool OrdinaryCertificates = true;
    // Raised from outside to stop the analysis (also inside a solver run).
    const std::atomic<bool> *Stop = nullptr;
    // Told the analysis so far whenever a team's answers are complete: all
    // title columns first, then each team's top-k answers, then magic numbers.
    std::function<void(const RaceAnalysis &)> Progress;
};

// The request for the view the latest recalculation published: its teams in
// standings order, its game scope, the judgment in force for the
// selectors it was run with, and the settings' games-played rule.
[[nodiscard]] RaceRequest RaceRequestForView(const Season &season,
                                             const PublishedStandings &published,
                                             const ViewRequest &view, int topK,
                                             int gameCountRule = 0);

[[nodiscard]] RaceAnalysis AnalyzeRace(const Season &season, const RaceRequest &request);

// Where every team of the request finishes when `outcome` is played: rank
// and the number of teams sharing it, by the standings' own ordering with
// the request's judgment (in the order of request.Teams). What the analysis
// claims about an outcome is checked against this before it is reported.
struct Placing
{
    int Rank = 0;
    int Shared = 1;
};
[[nodiscard]] std::vector<Placing> RankOutcome(const Season &season, const RaceRequest &request,
                                               const Certificate &outcome);

// Enters a certificate as simulated results and switches to simulation mode,
// so the standings show that outcome. The analysis counted the simulated
// results only in simulation mode, so they are kept there and cleared in
// result mode before the certificate is added.
void ApplyCertificate(Season &season, const Certificate &certificate);

// The one rule that turns a state into the mark the race table and the
// report show: "確定" (sure), "消滅" (not even a shared rank is possible),
// "同率次第" (only the list order of a tie the standings leave level can
// decide: the team can share a place within k but neither be sure of it
// nor hold it alone), "自力" (winning out is enough), "他力", or "不明".
[[nodiscard]] Text RaceMark(const RaceState &state);

} // namespace penarin::race
