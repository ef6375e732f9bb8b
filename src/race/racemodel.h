#pragma once

// The remaining games of a race as the analysis sees them, shared by the
// parts of the analysis. Internal to src/race.

#include "race/race.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace penarin::race {

// The remaining games of one card that counts for a team of the view.
struct Card
{
    int teamA = 0; // the lower team number
    int teamB = 0;
    int viewA = -1; // position in the view, -1 for a team outside it
    int viewB = -1;
    int games = 0;
    bool draws = false;       // a remaining game may end drawn (draws are not replayed)
    bool interleague = false; // between teams of different leagues
};

struct Participant
{
    int teamNo = 0;
    int wins = 0;
    int losses = 0;
    int draws = 0;
    int remaining = 0; // summed over its cards
    // League-only and interleague-only records, for the conditions that
    // compare them (official games only).
    int leagueWins = 0;
    int leagueLosses = 0;
    int interWins = 0;
    int interLosses = 0;
    // Team number and the three previous-year rank sets (conditions 7 to 10).
    std::array<int, 4> fixedRanks{};
    int seriesDrawFactor = 0; // the series' draw rule of the view, for this team
};

// What the remaining games may do, before any question is asked.
struct RaceModel
{
    std::vector<Participant> teams;
    std::vector<Card> cards;
    bool byWins = false;
    // The tie-break conditions that apply in the view's scope, in order, up
    // to the first End.
    std::vector<int> steps;
    // Per ordered pair of view teams a, b: 2 W + D f - S of a's series
    // against b as it stands (W, D a's wins and draws, S the card's games,
    // f a's draw factor). With the remaining games added, a has won the
    // series outright when it is above 0 and drawn level at 0, exactly as
    // the standings read the series.
    std::vector<std::vector<std::int64_t>> seriesBase;
    double drawRate = 0.0; // draws per game so far among the view's teams
    int gameCountRule = 0;
    // The view's teams (their positions in `teams`) in the order the
    // standings list them before sorting; empty where that list does not
    // name every team once.
    std::vector<int> listOrder;
    // The standings' sort puts the team where the walk against each rival
    // says: no step can cycle (a head-to-head series can) and no
    // games-played rule reorders level rows.
    bool pairwiseExact = true;
};

// The questions, each about one outcome with the team's record fixed.
enum class Goal
{
    Miss,        // some place of the team lies beyond k
    Passed,      // the team's rank lies beyond k
    ReachAlone,  // every place of the team is within k
    ReachShared, // the team's rank is within k
};

// What the standings' sort is replayed on (see ReplaySort), by position in
// the view: every team's final record, and the team with the rivals level
// with it or better on the measure (the rest are behind it).
struct SortRecords
{
    const std::vector<std::int64_t> &wins;
    const std::vector<std::int64_t> &losses;
    const std::vector<int> &top;
    // Per ordered pair: the other reading of the series tells this one
    // (one leads by what the other trails by).
    const std::vector<std::vector<char>> &mirrored;
    // The rivals strictly ahead of the team on the measure, in the order
    // the sort is to pick them. The order they come in is all the sort
    // takes from them, so their records are read only as being ahead.
    const std::vector<int> &above;
};

// How a replay of the sort ends: the question's goal holds for the team,
// or fails, or the sort must first read the series of `first` against
// `second`.
struct SortReplay
{
    enum class Verdict
    {
        Holds,
        Fails,
        Needs
    };
    Verdict verdict = Verdict::Fails;
    int first = -1;
    int second = -1;
};

// The standings' selection sort and rank numbering replayed from the
// model's list order on final records, with the series between teams the
// conditions leave level up to the series read from `ways` (per ordered
// pair, the way the first reads it: 0 led, 1 level, 2 trailed; -1 not
// known). Stops as soon as the team's places tell whether `goal` holds for
// k places. Only for a model with a list order, without a games-played
// rule and without the league-only and interleague-only conditions.
[[nodiscard]] SortReplay ReplaySort(const RaceModel &model, int team, Goal goal, int k,
                                    const SortRecords &records,
                                    const std::vector<std::vector<int>> &ways);

// The model of a request's view; none where the schedule leaves no set of
// remaining games to range over.
[[nodiscard]] std::optional<RaceModel>
BuildRaceModel(const Season &season, const RaceRequest &request, bool &scheduleMismatch);

// How a rival's final record level with the team's on the percentage
// counts for a question about the rival standing ahead of the team (or
// level with it).
enum class LevelRecord
{
    Excluded,        // only a better percentage will do
    Counts,          // level will do
    UnlessFewerWins, // level will do unless the rival has fewer wins, the first tie-break
};

// Whether the solver finds an outcome in which every rival of `set` ends
// level with the team or better (as `level` says, on the measure alone),
// the team winning `wins` of its remaining games and losing the rest, with
// the rivals' records stated the way the set problems state them. Where
// level is left to the wins, a level rival with fewer wins may still be
// let through: the statement only has to let every true outcome through.
bool EveryRivalCanStandLevel(const RaceModel &model, int team, int wins,
                             const std::vector<int> &set, LevelRecord level);

// For tests: the pair-by-pair question of the rivals of `set` (positions
// in the view) for the team (a position too) missing the first |set|
// places with `wins` of its remaining games won, answered as one problem
// and split by which members end level with it on the percentage.
std::pair<Answer, Answer> PairwiseSetBothWays(const Season &season, const RaceRequest &request,
                                              int team, int wins, const std::vector<int> &set);

// For tests: whether the team (a position in the view), with `wins` of its
// remaining games won and the rest lost, can miss the first k places
// (Goal::Miss) or be passed (Goal::Passed), by splitting the rivals level
// or better into those ahead and those level and replaying the sort; open
// where that cannot tell.
Answer TopSplitsAnswer(const Season &season, const RaceRequest &request, int team, Goal goal, int k,
                       int wins);

} // namespace penarin::race
