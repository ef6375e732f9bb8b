#pragma once

#include "magic/calcodule.h"
#include "season/season.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace penarin::odds {

// How likely each team of a view is to finish first, or within the first k,
// over the ways the remaining games can end. Every outcome is ranked by the
// standings themselves, ordered by the championship judgment, so a
// probability always speaks of the order the grid shows once that outcome is
// entered. Where the standings leave teams on one rank, the places they
// share are split equally among them.

// How one remaining game of a card ends.
enum class Model
{
    // A draw with the draw rate where the card's draw rule lets a game end
    // drawn, otherwise even.
    Coin,
    // The draw as for Coin; a decided game leans to the side with the
    // better record so far (each record padded by five wins and five losses
    // so that a few early games decide nothing).
    Strength,
};

enum class Method
{
    Auto,     // exact when the outcomes are few enough, simulated otherwise
    Exact,    // exact or nothing
    Simulate, // always simulated
};

// Outcomes are counted per card by their numbers of wins, losses and draws
// (the order of the games within a card changes no standing). Up to this
// many the exact answer takes under a second for a league of 15 even on one
// core and with the costliest tie-breaks (league and interleague records).
inline constexpr std::int64_t DefaultExactLimit = 150'000;
inline constexpr int DefaultRuns = 100'000;
// Fixed, so the same file gives the same numbers on every run.
inline constexpr std::uint64_t DefaultSeed = 20'090'401;

struct OddsRequest
{
    std::vector<int> Teams; // the view's teams, in the order wanted back
    // The same teams as the view lists them before the standings order them.
    // A tie-break chain need not be transitive (A won the series against B,
    // B against C, C against A), so the grid's order of level teams depends
    // on the order it meets them in. Empty: Teams.
    std::vector<int> Listed;
    int GameScope = ScopeOfficial;
    bool DivisionView = false; // the view shows one division
    JudgmentSet Judgment;      // the judgment in force for the view
    int GameCountRule = 0;     // the ordering setting the grid uses with the judgment
    int TopK = 3;
    Model GameModel = Model::Coin;
    // The chance that a game which may end drawn does; by default the view's
    // draws so far over its games played so far.
    std::optional<double> DrawRate;
    Method Mode = Method::Auto;
    int Runs = DefaultRuns;
    std::uint64_t Seed = DefaultSeed;
    std::int64_t ExactLimit = DefaultExactLimit;
    // 0: one per core. The numbers do not depend on it.
    int Threads = 0;
    // Polled between blocks of outcomes; set it to stop early.
    const std::atomic<bool> *Cancel = nullptr;
    // Called from the working threads (one at a time) as blocks finish.
    std::function<void(std::int64_t done, std::int64_t total)> Progress;
};

enum class OddsStatus
{
    Computed,
    // Some card has more results than games, or its two sides disagree on
    // what is left: there are no remaining games to range over.
    ScheduleInconsistent,
    // Method::Exact was asked for and the outcomes are more than the limit.
    TooManyOutcomes,
    Cancelled,
};

// A 95% interval of a simulated probability.
struct Interval
{
    double Low = 0.0;
    double High = 1.0;
};

struct TeamOdds
{
    int TeamNo = 0;
    double Title = 0.0;
    double TopK = 0.0;
    std::optional<Interval> TitleInterval; // simulated only
    std::optional<Interval> TopKInterval;
    // The chance is 0 or 1 and known to be so: always when exact; when
    // simulated, only where the records alone settle it (no run can tell a
    // chance of none from one too small to be drawn).
    bool TitleProven = false;
    bool TopKProven = false;
    std::vector<double> Ranks; // place 1..n of the view
    double ExpectedWins = 0.0;
    double ExpectedLosses = 0.0;
    double ExpectedDraws = 0.0;
    double ExpectedMeasure = 0.0; // percentage or wins, whichever the judgment reads
};

// The next game of one remaining card: every team's title and top-k chances
// given that TeamA wins it, and given that TeamB does.
struct CardSwing
{
    int TeamA = 0; // the lower team number
    int TeamB = 0;
    // Per team of the result, in its order; empty when the side cannot win
    // the game under the model.
    std::vector<double> TitleIfA, TitleIfB, TopKIfA, TopKIfB;
};

struct OddsResult
{
    OddsStatus Status = OddsStatus::Computed;
    int TopK = 3;
    Model GameModel = Model::Coin;
    double DrawRate = 0.0;
    bool Exact = false;
    std::int64_t Outcomes = 0;   // exact: outcomes ranked; simulated: runs
    int Runs = 0;                // simulated only
    std::uint64_t Seed = 0;      // simulated only
    std::vector<TeamOdds> Teams; // in the order of the request
    std::vector<CardSwing> Cards;
    // Some team's scheduled total disagrees with the sum of its cards; the
    // odds range over the cards.
    bool ScheduleMismatch = false;
};

// The request for a view just recalculated: its teams in standings order,
// its scope and the judgment in force, with the grid's game-count rule.
[[nodiscard]] OddsRequest OddsRequestForView(const Season &season,
                                             const PublishedStandings &published,
                                             const ViewRequest &view, const OrderSettings &order,
                                             int topK);

// The view's draws over its games played, 0 when nothing was played.
[[nodiscard]] double ViewDrawRate(const Season &season, const OddsRequest &request);

// The number of outcomes exact mode would rank (capped just above `cap`);
// nullopt when the schedule leaves no remaining games to range over.
[[nodiscard]] std::optional<std::int64_t>
CountOutcomes(const Season &season, const OddsRequest &request, std::int64_t cap);

[[nodiscard]] OddsResult ComputeOdds(const Season &season, const OddsRequest &request);

// "The games that matter most" for one team: the remaining cards whose next
// game moves its title (or top-k) chance the most between the two winners.
struct BigGame
{
    int TeamA = 0;
    int TeamB = 0;
    double IfAWins = 0.0;
    double IfBWins = 0.0;
};
[[nodiscard]] std::vector<BigGame> BigGames(const OddsResult &result, int teamNo, bool topK,
                                            int count = 5);

// A probability as a percentage with one decimal (UTF-8). Only a proven
// certainty reads 100% or 0%: a chance just short of certain reads ">99.9%",
// a chance just above none "<0.1%", and so does a simulated 1 or 0 that is
// not proven, so neither rounding nor sampling poses as a proof.
[[nodiscard]] std::string FormatProbability(double p, bool proven = true);

// Caption of how the numbers were found: "厳密計算" or "シミュレーション10万回".
[[nodiscard]] std::string MethodCaption(const OddsResult &result);

} // namespace penarin::odds
