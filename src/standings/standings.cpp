#include "standings/standings.h"

#include "standings/judgment.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <utility>

namespace penarin {

namespace {

// Which of a team's opponents a card belongs to. Each has its own draw
// replay rule, so the three are summed separately and combined per scope.
enum Category
{
    Interleague = 0,
    Division = 1,
    LeagueOther = 2
};

struct Tally
{
    int wins = 0;
    int losses = 0;
    int draws = 0;
};

Category categoryOf(const TeamRecord &team, const TeamRecord &opponent)
{
    if (opponent.League != team.League) {
        return Interleague;
    }
    if (team.Division != 0 && team.Division == opponent.Division) {
        return Division;
    }
    return LeagueOther;
}

// Quotient that reads 0 where the denominator is 0 instead of failing.
double ratio(int numerator, int denominator)
{
    return denominator == 0 ? 0.0 : static_cast<double>(numerator) / denominator;
}

// Digits of an integer-valued double, without sign. Printed from the value
// itself, so a rounded percentage never shows binary noise such as 0.58299999.
std::string integerDigits(double value)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::fixed, 0);
    if (result.ec != std::errc{}) {
        return "0";
    }
    return std::string(buffer, result.ptr);
}

double primaryOf(const StandingsRow &row, bool byWins)
{
    return byWins ? static_cast<double>(row.Wins) : row.Pct;
}

double secondaryOf(const StandingsRow &row, bool byWins)
{
    return primaryOf(row, !byWins);
}

bool judgmentApplies(const OrderSettings &settings, const JudgmentOrder *judgment)
{
    return settings.SortBasis == 2 && judgment != nullptr;
}

// The basis of ordering by pct or by wins. SortBasis 2 without a judgment
// to consult falls back to pct, the program's default.
bool ordersByWins(const OrderSettings &settings)
{
    return settings.SortBasis == 1;
}

// True when `challenger` must take the place of the current best.
bool challengerWins(const OrderSettings &settings, const StandingsRow &best,
                    const StandingsRow &challenger)
{
    const bool byWins = ordersByWins(settings);
    const double bestPrimary = primaryOf(best, byWins);
    const double challengerPrimary = primaryOf(challenger, byWins);
    if (challengerPrimary > bestPrimary) {
        return true;
    }
    if (bestPrimary > challengerPrimary) {
        return false;
    }
    if (settings.SortTieByOther != 0) {
        const double bestSecondary = secondaryOf(best, byWins);
        const double challengerSecondary = secondaryOf(challenger, byWins);
        if (challengerSecondary > bestSecondary) {
            return true;
        }
        if (bestSecondary > challengerSecondary) {
            return false;
        }
    }
    return CompareGameCount(settings.GameCountRule, best, challenger, true);
}

bool strictlyAhead(const OrderSettings &settings, const StandingsRow &upper,
                   const StandingsRow &lower)
{
    const bool byWins = ordersByWins(settings);
    const double upperPrimary = primaryOf(upper, byWins);
    const double lowerPrimary = primaryOf(lower, byWins);
    if (upperPrimary != lowerPrimary) {
        return upperPrimary > lowerPrimary;
    }
    if (settings.SortTieByOther == 0) {
        return false;
    }
    return secondaryOf(upper, byWins) > secondaryOf(lower, byWins) || upper.TeamNo < lower.TeamNo;
}

// Games behind as "0.0": half the surplus gap, never below zero. A surplus
// gap is a whole number of games, so the text is built without rounding.
std::string gamesBehind(int aheadSurplus, int surplus)
{
    const long gap = static_cast<long>(aheadSurplus) - surplus;
    if (gap <= 0) {
        return "0.0";
    }
    return std::to_string(gap / 2) + (gap % 2 != 0 ? ".5" : ".0");
}

int clampedCount(const OneBased<StandingsRow> &rows, int count)
{
    return count < 0 ? 0 : (count > rows.size() ? rows.size() : count);
}

} // namespace

int SimulatedCount(const Season &season, const OneBased<std::int16_t> SimRecord::*field, int team,
                   int opponent)
{
    if (season.SimMode == 0 || !season.SimResults.contains(team)) {
        return 0;
    }
    const OneBased<std::int16_t> &values = season.SimResults[team].*field;
    return values.contains(opponent) ? values[opponent] : 0;
}

namespace {

// The simulated results a team's totals add: none outside simulation mode,
// so the common case never looks at the simulation tables.
const SimRecord *simulatedRecord(const Season &season, int team)
{
    return season.SimMode != 0 && season.SimResults.contains(team) ? &season.SimResults[team]
                                                                   : nullptr;
}

int simulated(const SimRecord *sim, const OneBased<std::int16_t> SimRecord::*field, int opponent)
{
    if (sim == nullptr) {
        return 0;
    }
    const OneBased<std::int16_t> &values = sim->*field;
    return values.contains(opponent) ? values[opponent] : 0;
}

// Adds my card against `other` to the tally of its category.
void tallyCard(const Season &season, const TeamRecord &me, const SimRecord *sim, int other,
               Tally (&tally)[3])
{
    const TeamRecord &them = season.team(other);
    const Category category = categoryOf(me, them);
    const int factor = category == Interleague ? (season.Interleague.IntCounts == 1 ? 1 : 0) : 1;
    Tally &t = tally[category];
    t.wins += factor * (me.CardWins[other] + simulated(sim, &SimRecord::Wins, other));
    t.losses += factor * (me.CardLosses[other] + simulated(sim, &SimRecord::Losses, other));
    t.draws += factor * (me.CardDraws[other] + simulated(sim, &SimRecord::Draws, other));
}

// Fills out's counts from the tallies of the categories the scope takes in
// and returns the scheduled games those results used up.
int combine(const Season &season, const TeamRecord &me, const Tally (&tally)[3], int scope,
            TeamTotalsResult &out)
{
    // A drawn game uses up a scheduled game only where draws are not replayed
    // (replay index 1).
    const int divisionUsed = tally[Division].draws * me.DivisionDrawReplay;
    const int leagueUsed = tally[LeagueOther].draws * me.LeagueDrawReplay;
    const int interleagueUsed = tally[Interleague].draws * season.Interleague.IntDrawReplay;

    int usedDraws = 0;
    if (scope == ScopeLeague) {
        for (const Category c : {Division, LeagueOther}) {
            out.Wins += tally[c].wins;
            out.Losses += tally[c].losses;
            out.Draws += tally[c].draws;
        }
        usedDraws = divisionUsed + leagueUsed;
    } else if (scope == ScopeInterleague) {
        out.Wins = tally[Interleague].wins;
        out.Losses = tally[Interleague].losses;
        out.Draws = tally[Interleague].draws;
        usedDraws = interleagueUsed;
    } else {
        for (const Category c : {Interleague, Division, LeagueOther}) {
            out.Wins += tally[c].wins;
            out.Losses += tally[c].losses;
            out.Draws += tally[c].draws;
        }
        usedDraws = divisionUsed + leagueUsed + interleagueUsed;
    }
    return out.Wins + out.Losses + usedDraws;
}

int scheduledGames(const Season &season, const TeamRecord &me, int scope)
{
    if (scope == ScopeLeague) {
        return me.LeagueGames;
    }
    if (scope == ScopeInterleague) {
        return me.InterleagueGames;
    }
    return season.Interleague.IntCounts == 1 ? me.OfficialGames : me.LeagueGames;
}

void finish(const Season &season, int remaining, TeamTotalsResult &out)
{
    out.Played = out.Wins + out.Losses + out.Draws;
    out.Remaining = remaining;
    out.ResultsExceedSchedule = season.HasSeason && out.Remaining < 0;
    out.Pct = ratio(out.Wins, out.Wins + out.Losses);
    out.MaxWins = out.Wins + out.Remaining;
    out.MaxLosses = out.Losses + out.Remaining;
    out.MaxPct = ratio(out.MaxWins, out.MaxWins + out.Losses);
    out.MinPct = ratio(out.Wins, out.Wins + out.Losses + out.Remaining);
}

// One team's whole season: every card, each category summed once.
void tallySeason(const Season &season, int team, const TeamRecord &me, Tally (&tally)[3])
{
    const SimRecord *sim = simulatedRecord(season, team);
    const int last = season.TeamCount();
    for (int other = 1; other <= last; ++other) {
        if (other != team) {
            tallyCard(season, me, sim, other, tally);
        }
    }
}

void seasonTotals(const Season &season, const TeamRecord &me, const Tally (&tally)[3], int scope,
                  TeamTotalsResult &out)
{
    out = TeamTotalsResult{};
    const int used = combine(season, me, tally, scope, out);
    finish(season, scheduledGames(season, me, scope) - used, out);
}

} // namespace

void CardTotals(const Season &season, int team, int opponent, int scope, TeamTotalsResult &out)
{
    CardCounter(season, team, scope).count(opponent, out);
}

CardCounter::CardCounter(const Season &season, int team, int scope)
    : m_season(season), m_me(season.team(team)), m_sim(simulatedRecord(season, team)),
      m_scope(scope), m_interleagueFactor(season.Interleague.IntCounts == 1 ? 1 : 0),
      m_drawReplay{season.Interleague.IntDrawReplay, m_me.DivisionDrawReplay, m_me.LeagueDrawReplay}
{
    static_assert(Interleague == 0 && Division == 1 && LeagueOther == 2);
}

// The one category the card belongs to is summed straight from its arrays.
void CardCounter::count(int opponent, TeamTotalsResult &out) const
{
    const Category category = categoryOf(m_me, m_season.team(opponent));
    const bool counted = m_scope == ScopeLeague        ? category != Interleague
                         : m_scope == ScopeInterleague ? category == Interleague
                                                       : true;
    int wins = 0;
    int losses = 0;
    int draws = 0;
    int used = 0;
    if (counted) {
        const int factor = category == Interleague ? m_interleagueFactor : 1;
        wins = factor * (m_me.CardWins[opponent] + simulated(m_sim, &SimRecord::Wins, opponent));
        losses =
            factor * (m_me.CardLosses[opponent] + simulated(m_sim, &SimRecord::Losses, opponent));
        draws = factor * (m_me.CardDraws[opponent] + simulated(m_sim, &SimRecord::Draws, opponent));
        used = wins + losses + draws * m_drawReplay[category];
    }
    out.Wins = wins;
    out.Losses = losses;
    out.Draws = draws;
    const int cardGames = m_me.CardGames[opponent];
    finish(m_season, cardGames < 0 ? 0 : cardGames - used, out);
}

void TeamTotals(const Season &season, int team, int scope, int opponent, TeamTotalsResult &out)
{
    if (team == 0) {
        return;
    }
    out = TeamTotalsResult{};
    if (!season.Teams.contains(team)) {
        return;
    }
    const bool oneCard = opponent != 0 && opponent != team;
    if (oneCard) {
        if (season.Teams.contains(opponent)) {
            CardTotals(season, team, opponent, scope, out);
        }
        return;
    }
    const TeamRecord &me = season.team(team);
    Tally tally[3];
    tallySeason(season, team, me, tally);
    seasonTotals(season, me, tally, scope, out);
}

TeamTotalsResult TeamTotals(const Season &season, int team, int scope, int opponent)
{
    TeamTotalsResult out;
    TeamTotals(season, team, scope, opponent, out);
    return out;
}

void TeamTotalsInScopes(const Season &season, int team, TeamTotalsResult &official,
                        TeamTotalsResult &league, TeamTotalsResult &interleague)
{
    if (!season.Teams.contains(team)) {
        official = league = interleague = TeamTotalsResult{};
        return;
    }
    const TeamRecord &me = season.team(team);
    Tally tally[3];
    tallySeason(season, team, me, tally);
    seasonTotals(season, me, tally, ScopeOfficial, official);
    seasonTotals(season, me, tally, ScopeLeague, league);
    seasonTotals(season, me, tally, ScopeInterleague, interleague);
}

StandingsRow MakeStandingsRow(const Season &season, int team, const TeamTotalsResult &totals)
{
    StandingsRow row;
    static_cast<TeamTotalsResult &>(row) = totals;
    row.TeamNo = team;
    if (season.Teams.contains(team)) {
        const TeamRecord &record = season.team(team);
        row.UserRankA = record.UserRankA;
        row.UserRankB = record.UserRankB;
        row.UserRankC = record.UserRankC;
    }
    row.Surplus = totals.Wins - totals.Losses;
    return row;
}

std::string FormatPct(double value, int digits)
{
    // The scaling and rounding are done in double, the way the figures have
    // always been rounded; only the printing avoids floating point.
    if (digits >= 1) {
        const double m = std::pow(10.0, digits);
        double scaled = std::floor(value * m + 0.5);
        if (!std::isfinite(scaled)) {
            scaled = 0.0;
        }
        std::string text = integerDigits(scaled);
        const auto fraction = static_cast<std::size_t>(digits);
        if (text.size() < fraction + 1) {
            text.insert(0, fraction + 1 - text.size(), '0');
        }
        std::string whole = text.substr(0, text.size() - fraction);
        if (whole == "0") {
            whole.clear(); // ".500", not "0.500"
        }
        return (scaled < 0 ? "-" : "") + whole + "." + text.substr(text.size() - fraction);
    }
    const double m = std::pow(10.0, -digits);
    double rounded = std::floor(value / m + 0.5) * m;
    if (!std::isfinite(rounded)) {
        rounded = 0.0;
    }
    return (rounded < 0 ? "-" : "") + integerDigits(rounded);
}

bool CompareGameCount(int rule, const StandingsRow &upper, const StandingsRow &lower, bool byTeamNo)
{
    switch (rule) {
    case 1:
        return lower.Played < upper.Played;
    case 2:
        return lower.Played > upper.Played;
    default:
        return byTeamNo && lower.TeamNo < upper.TeamNo;
    }
}

void OrderRows(OneBased<StandingsRow> &rows, int count, const OrderSettings &settings,
               const JudgmentOrder *judgment)
{
    count = clampedCount(rows, count);
    const bool useJudgment = judgmentApplies(settings, judgment);
    // A selection sort that exchanges whole rows: the order it leaves equal
    // rows in is part of what the user sees, so it must not become another sort.
    for (int i = 1; i < count; ++i) {
        int best = i;
        for (int j = i + 1; j <= count; ++j) {
            const bool moves = useJudgment ? judgment->challengerMovesUp(rows[best], rows[j],
                                                                         settings.GameCountRule)
                                           : challengerWins(settings, rows[best], rows[j]);
            if (moves) {
                best = j;
            }
        }
        if (best != i) {
            std::swap(rows[i], rows[best]);
        }
    }
}

void NumberRanks(OneBased<StandingsRow> &rows, int count, const OrderSettings &settings,
                 const JudgmentOrder *judgment)
{
    count = clampedCount(rows, count);
    if (count == 0) {
        return;
    }
    const bool useJudgment = judgmentApplies(settings, judgment);
    rows[1].Rank = 1;
    rows[1].BehindLeader = "-";
    rows[1].BehindAbove = "-";
    for (int k = 2; k <= count; ++k) {
        const StandingsRow &above = rows[k - 1];
        StandingsRow &row = rows[k];
        const bool ahead =
            useJudgment ? judgment->strictlyAhead(above, row) : strictlyAhead(settings, above, row);
        row.Rank = ahead ? k : above.Rank;
        row.BehindLeader = gamesBehind(rows[1].Surplus, row.Surplus);
        row.BehindAbove = gamesBehind(above.Surplus, row.Surplus);
    }
}

bool CardCountsInScope(const Season &season, int scope, const TeamRecord &me,
                       const TeamRecord &them)
{
    const bool sameLeague = me.League == them.League;
    switch (scope) {
    case ScopeLeague:
        return sameLeague;
    case ScopeInterleague:
        return !sameLeague;
    default:
        return sameLeague || season.Interleague.IntCounts == 1;
    }
}

bool CardDrawsUseUpGames(const Season &season, const TeamRecord &me, const TeamRecord &them)
{
    if (me.League != them.League) {
        return season.Interleague.IntDrawReplay == 1;
    }
    if (me.Division != 0 && me.Division == them.Division) {
        return me.DivisionDrawReplay == 1;
    }
    return me.LeagueDrawReplay == 1;
}

std::optional<RemainingSchedule> RemainingCardsOf(const Season &season,
                                                  const std::vector<int> &teams, int scope)
{
    RemainingSchedule schedule;
    std::map<std::pair<int, int>, int> seen; // pair of team numbers -> remaining games
    std::map<int, int> summed;
    for (int team : teams) {
        const TeamRecord &me = season.team(team);
        for (int other = 1; other <= season.TeamCount(); ++other) {
            if (other == team || me.CardGames[other] < 0) {
                continue;
            }
            const TeamRecord &them = season.team(other);
            if (!CardCountsInScope(season, scope, me, them)) {
                continue;
            }
            const int remaining = TeamTotals(season, team, scope, other).Remaining;
            if (remaining < 0) {
                return std::nullopt;
            }
            summed[team] += remaining;
            const std::pair<int, int> key{std::min(team, other), std::max(team, other)};
            const auto [it, added] = seen.emplace(key, remaining);
            if (!added) {
                // Both sides of a card between two teams of the view must
                // leave the same games to play.
                if (it->second != remaining) {
                    return std::nullopt;
                }
                continue;
            }
            if (remaining > 0) {
                schedule.Cards.push_back({key.first, key.second, remaining,
                                          CardDrawsUseUpGames(season, me, them),
                                          me.League != them.League});
            }
        }
    }
    for (int team : teams) {
        if (TeamTotals(season, team, scope).Remaining != summed[team]) {
            schedule.Mismatch = true;
        }
    }
    return schedule;
}

} // namespace penarin
