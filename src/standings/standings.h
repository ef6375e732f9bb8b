#pragma once

#include "season/season.h"

#include <optional>
#include <string>
#include <vector>

namespace penarin {

// One team's totals over a game scope, or over one card.
struct TeamTotalsResult
{
    int Wins = 0;
    int Losses = 0;
    int Draws = 0;
    double Pct = 0.0;
    int Played = 0;
    int Remaining = 0;
    double MaxPct = 0.0;
    int MaxWins = 0;
    double MinPct = 0.0;
    int MaxLosses = 0;
    bool ResultsExceedSchedule = false;

    friend bool operator==(const TeamTotalsResult &, const TeamTotalsResult &) = default;
};

// A team's row of the current view: its totals in the view's scope, with
// its rank and the games-behind texts.
struct StandingsRow : TeamTotalsResult
{
    int TeamNo = 0;
    int UserRankA = 0;
    int UserRankB = 0;
    int UserRankC = 0;
    int Rank = 0;
    int Surplus = 0;
    std::string BehindLeader;
    std::string BehindAbove;

    friend bool operator==(const StandingsRow &, const StandingsRow &) = default;
};

// Ordering options of the settings file's "Rank" section.
struct OrderSettings
{
    int SortBasis = 0;      // 0 by pct, 1 by wins, 2 by the championship judgment
    int SortTieByOther = 0; // 1: a tie in the primary measure is decided by the other one
    int GameCountRule = 0;  // 0 ignore, 1 fewer games ranks higher, 2 more games ranks higher
};

// Totals of `team` over `scope` (ScopeOfficial, ScopeLeague, ScopeInterleague).
// opponent 0 (or the team itself) = the whole season, otherwise that one card.
// All outputs are reset on entry; team 0 leaves `out` untouched.
void TeamTotals(const Season &season, int team, int scope, int opponent, TeamTotalsResult &out);
[[nodiscard]] TeamTotalsResult TeamTotals(const Season &season, int team, int scope,
                                          int opponent = 0);

// TeamTotals of one card, for two distinct teams of the season.
void CardTotals(const Season &season, int team, int opponent, int scope, TeamTotalsResult &out);

// CardTotals of one team against one opponent after another. The
// recalculation pass counts every card of every row, so what depends only
// on the team and the scope is looked up once per row, not once per card.
class CardCounter
{
public:
    CardCounter(const Season &season, int team, int scope);
    void count(int opponent, TeamTotalsResult &out) const;

private:
    const Season &m_season;
    const TeamRecord &m_me;
    const SimRecord *m_sim;
    int m_scope;
    int m_interleagueFactor;
    int m_drawReplay[3]; // by the category of the opponent
};

// A team's whole-season totals in the official, league and interleague
// scopes, from one walk over its cards.
void TeamTotalsInScopes(const Season &season, int team, TeamTotalsResult &official,
                        TeamTotalsResult &league, TeamTotalsResult &interleague);

// A simulated count of team against opponent as the totals add it: 0 in
// result mode, and 0 where the simulation tables do not reach the pair.
[[nodiscard]] int SimulatedCount(const Season &season,
                                 const OneBased<std::int16_t> SimRecord::*field, int team,
                                 int opponent);

// Copies a team's totals into a standings row (TeamNo, previous-year ranks, counts).
[[nodiscard]] StandingsRow MakeStandingsRow(const Season &season, int team,
                                            const TeamTotalsResult &totals);

// Percentage text with half-up rounding and no leading zero (".583").
[[nodiscard]] std::string FormatPct(double value, int digits);

// True when `lower` must move above `upper` by the games-played rule.
[[nodiscard]] bool CompareGameCount(int rule, const StandingsRow &upper, const StandingsRow &lower,
                                    bool byTeamNo);

class JudgmentOrder; // the championship-judgment comparison used when SortBasis is 2

// Orders rows 1..count best first (selection sort, whole rows exchanged).
// `judgment` is consulted only when settings.SortBasis is 2.
void OrderRows(OneBased<StandingsRow> &rows, int count, const OrderSettings &settings,
               const JudgmentOrder *judgment = nullptr);

// Fills Rank, BehindLeader and BehindAbove of rows 1..count.
void NumberRanks(OneBased<StandingsRow> &rows, int count, const OrderSettings &settings,
                 const JudgmentOrder *judgment = nullptr);

// Whether the standings count a card's results in `scope`: league games in
// the league scope, interleague games in the interleague scope, and both in
// the official scope when interleague results count at all.
[[nodiscard]] bool CardCountsInScope(const Season &season, int scope, const TeamRecord &me,
                                     const TeamRecord &them);

// The draw rule the standings apply to the card (the team's own settings, as
// TeamTotals reads them): true when a drawn game uses up a scheduled game, so
// a remaining game can end drawn.
[[nodiscard]] bool CardDrawsUseUpGames(const Season &season, const TeamRecord &me,
                                       const TeamRecord &them);

// A card with games left that counts, in a scope, for a team of a view.
struct RemainingCard
{
    int TeamA = 0; // the lower team number
    int TeamB = 0;
    int Games = 0;
    bool Draws = false;       // a remaining game may end drawn (CardDrawsUseUpGames)
    bool Interleague = false; // between teams of different leagues
};

struct RemainingSchedule
{
    std::vector<RemainingCard> Cards;
    // A team's scheduled remaining games differ from the sum of its cards.
    bool Mismatch = false;
};

// Every card with games left that counts in `scope` for a team of `teams`
// (each card once). None when there is nothing to play out: a card with more
// results than games, or a card whose two sides leave different games.
[[nodiscard]] std::optional<RemainingSchedule>
RemainingCardsOf(const Season &season, const std::vector<int> &teams, int scope);

} // namespace penarin
