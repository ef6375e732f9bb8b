#include "race/race.h"

#include "race/integerprogram.h"
#include "race/racemodel.h"
#include "race/rivalsets.h"
#include "season/cellsfunction.h"
#include "season/conditioncode.h"
#include "standings/judgment.h"
#include "standings/standings.h"
#include "standings/viewstandings.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <set>

namespace penarin::race {

namespace {

using Term = IntegerProgram::Term;

int simulated(const Season &season, const OneBased<std::int16_t> SimRecord::*field, int team,
              int opponent)
{
    return SimulatedCount(season, field, team, opponent);
}

// The steps of the condition walk that can apply in the scope: codes 3 to 6
// only in official games, codes above 10 never, and nothing after End.
std::vector<int> effectiveSteps(const std::vector<std::int16_t> &conditions, int scope)
{
    std::vector<int> steps;
    for (const int code : conditions) {
        if (code == ConditionCode::End) {
            break;
        }
        if (code >= ConditionCode::LeaguePct && code <= ConditionCode::InterleagueWins &&
            scope != ScopeOfficial) {
            continue;
        }
        if (code < ConditionCode::Secondary || code > ConditionCode::UserRankC) {
            continue;
        }
        steps.push_back(code);
        // A previous-year rank always ends the walk: a smaller value wins,
        // anything else stops it.
        if (code >= ConditionCode::GridOrder) {
            break;
        }
    }
    return steps;
}

// The view's teams in the order the standings list them before sorting.
const std::vector<int> &listedTeams(const RaceRequest &request)
{
    return request.ListOrder.empty() ? request.Teams : request.ListOrder;
}

std::optional<RaceModel> buildModel(const Season &season, const RaceRequest &request,
                                    bool &scheduleMismatch)
{
    RaceModel model;
    model.byWins = request.Judgment == 1;
    const int scope = request.GameScope;
    model.steps = effectiveSteps(request.Conditions, scope);
    model.gameCountRule = request.GameCountRule;
    model.pairwiseExact =
        request.GameCountRule == 0 && std::find(model.steps.begin(), model.steps.end(),
                                                ConditionCode::Series) == model.steps.end();
    std::map<int, int> position;
    std::int64_t played = 0;
    std::int64_t drawn = 0;
    for (int team : request.Teams) {
        if (!season.Teams.contains(team) || position.count(team) != 0) {
            continue;
        }
        position.emplace(team, static_cast<int>(model.teams.size()));
        const TeamTotalsResult totals = TeamTotals(season, team, scope);
        const TeamTotalsResult league = TeamTotals(season, team, ScopeLeague);
        const TeamTotalsResult inter = TeamTotals(season, team, ScopeInterleague);
        const TeamRecord &record = season.team(team);
        Participant p;
        p.teamNo = team;
        p.wins = totals.Wins;
        p.losses = totals.Losses;
        p.draws = totals.Draws;
        p.leagueWins = league.Wins;
        p.leagueLosses = league.Losses;
        p.interWins = inter.Wins;
        p.interLosses = inter.Losses;
        p.fixedRanks = {team, record.UserRankA, record.UserRankB, record.UserRankC};
        if (scope == ScopeInterleague) {
            p.seriesDrawFactor = season.Interleague.IntDrawReplay;
        } else {
            p.seriesDrawFactor =
                request.DivisionView ? record.DivisionDrawReplay : record.LeagueDrawReplay;
        }
        played += totals.Wins + totals.Losses + totals.Draws;
        drawn += totals.Draws;
        model.teams.push_back(p);
    }
    model.drawRate = played > 0 ? static_cast<double>(drawn) / static_cast<double>(played) : 0.0;
    for (int team : listedTeams(request)) {
        if (const auto at = position.find(team); at != position.end()) {
            model.listOrder.push_back(at->second);
        }
    }
    std::vector<int> listed = model.listOrder;
    std::sort(listed.begin(), listed.end());
    if (listed.size() != model.teams.size() ||
        std::adjacent_find(listed.begin(), listed.end()) != listed.end()) {
        model.listOrder.clear();
    }
    std::vector<int> teams;
    for (const Participant &p : model.teams) {
        teams.push_back(p.teamNo);
    }
    const std::optional<RemainingSchedule> remaining = RemainingCardsOf(season, teams, scope);
    if (!remaining) {
        return std::nullopt;
    }
    scheduleMismatch = remaining->Mismatch;
    for (const RemainingCard &c : remaining->Cards) {
        Card card;
        card.teamA = c.TeamA;
        card.teamB = c.TeamB;
        const auto a = position.find(card.teamA);
        const auto b = position.find(card.teamB);
        card.viewA = a == position.end() ? -1 : a->second;
        card.viewB = b == position.end() ? -1 : b->second;
        card.games = c.Games;
        card.draws = c.Draws;
        card.interleague = c.Interleague;
        model.cards.push_back(card);
        for (int v : {card.viewA, card.viewB}) {
            if (v >= 0) {
                model.teams[static_cast<std::size_t>(v)].remaining += card.games;
            }
        }
    }
    // The series as the standings read it: the season's card, real results
    // plus simulated ones in simulation mode, whatever the scope.
    const int count = static_cast<int>(model.teams.size());
    model.seriesBase.assign(count, std::vector<std::int64_t>(count, 0));
    for (int a = 0; a < count; ++a) {
        const int teamA = model.teams[a].teamNo;
        const TeamRecord &me = season.team(teamA);
        for (int b = 0; b < count; ++b) {
            if (a == b) {
                continue;
            }
            const int teamB = model.teams[b].teamNo;
            const std::int64_t wins =
                me.CardWins[teamB] + simulated(season, &SimRecord::Wins, teamA, teamB);
            const std::int64_t draws =
                me.CardDraws[teamB] + simulated(season, &SimRecord::Draws, teamA, teamB);
            model.seriesBase[a][b] =
                2 * wins + draws * model.teams[a].seriesDrawFactor - me.CardGames[teamB];
        }
    }
    return model;
}

// An affine expression over the program's variables.
struct Expr
{
    std::int64_t constant = 0;
    std::vector<Term> terms;

    void add(int variable, std::int64_t coefficient) { terms.push_back({variable, coefficient}); }
    [[nodiscard]] Expr scaled(std::int64_t factor) const
    {
        Expr out{constant * factor, terms};
        for (Term &t : out.terms) {
            t.coefficient *= factor;
        }
        return out;
    }
    [[nodiscard]] Expr minus(const Expr &other) const
    {
        Expr out = *this;
        out.constant -= other.constant;
        for (const Term &t : other.terms) {
            out.terms.push_back({t.variable, -t.coefficient});
        }
        return out;
    }
    [[nodiscard]] Expr plus(std::int64_t value) const
    {
        Expr out = *this;
        out.constant += value;
        return out;
    }
};

// The terms with one coefficient per variable, so the bounds below are the
// true extremes (a team's wins and losses may read the same variable).
std::vector<Term> merged(std::vector<Term> terms)
{
    std::sort(terms.begin(), terms.end(),
              [](const Term &a, const Term &b) { return a.variable < b.variable; });
    std::vector<Term> out;
    for (const Term &t : terms) {
        if (!out.empty() && out.back().variable == t.variable) {
            out.back().coefficient += t.coefficient;
        } else {
            out.push_back(t);
        }
    }
    return out;
}

std::int64_t lowest(const IntegerProgram &ip, const Expr &e)
{
    std::int64_t value = e.constant;
    for (const Term &t : merged(e.terms)) {
        value += t.coefficient * (t.coefficient > 0 ? ip.lower(t.variable) : ip.upper(t.variable));
    }
    return value;
}

std::int64_t highest(const IntegerProgram &ip, const Expr &e)
{
    std::int64_t value = e.constant;
    for (const Term &t : merged(e.terms)) {
        value += t.coefficient * (t.coefficient > 0 ? ip.upper(t.variable) : ip.lower(t.variable));
    }
    return value;
}

// e >= rhs whenever the binary `on` is 1 (big-M with the tightest M the
// variable bounds allow).
void atLeastWhen(IntegerProgram &ip, int on, const Expr &given, std::int64_t givenRhs)
{
    // Integer terms with a common factor g: e >= rhs is e / g >= rhs / g
    // rounded up, which the solver's relaxation cannot meet halfway (a
    // percentage without draws is a multiple of the games' total).
    Expr e{0, merged(given.terms)};
    std::int64_t rhs = givenRhs - given.constant;
    std::int64_t g = 0;
    for (const Term &t : e.terms) {
        g = std::gcd(g, t.coefficient < 0 ? -t.coefficient : t.coefficient);
    }
    if (g > 1) {
        for (Term &t : e.terms) {
            t.coefficient /= g;
        }
        rhs = rhs >= 0 ? (rhs + g - 1) / g : -((-rhs) / g);
    }
    const std::int64_t low = lowest(ip, e);
    if (low >= rhs) {
        return;
    }
    if (highest(ip, e) < rhs) {
        ip.setUpper(on, 0);
        return;
    }
    const std::int64_t bigM = rhs - low;
    std::vector<Term> terms = e.terms;
    terms.push_back({on, -bigM});
    ip.addAtLeast(std::move(terms), rhs - e.constant - bigM);
}

// One linear condition e >= bound; a conjunction of them is one way a
// comparison can come out, and a list of such ways is a disjunction.
struct Lin
{
    Expr e;
    std::int64_t bound = 0;
};
using Conjunction = std::vector<Lin>;
using Disjunction = std::vector<Conjunction>;

Conjunction atLeast(const Expr &e, std::int64_t bound)
{
    return {{e, bound}};
}

Conjunction equalTo(const Expr &e, std::int64_t value)
{
    return {{e, value}, {e.scaled(-1), -value}};
}

// The three ways one step of the comparison of a first team with a second
// can come out: the first ahead, the two level (the walk goes on), or the
// walk stopped without the first ahead.
struct ThreeWay
{
    Disjunction ahead;
    Disjunction level;
    Disjunction behind;

    [[nodiscard]] ThreeWay reversed() const { return {behind, level, ahead}; }
};

// An integer difference d: ahead when d >= 1, level at 0, behind below.
ThreeWay byDifference(const Expr &d)
{
    return {{atLeast(d, 1)}, {equalTo(d, 0)}, {atLeast(d.scaled(-1), 1)}};
}

// A step the model does not follow (a percentage of one part of the season
// against another team's, which is not linear): any way is allowed, and
// the standings decide when the outcome is checked.
ThreeWay unconstrained()
{
    return {{{}}, {{}}, {{}}};
}

// A percentage W / (W + L) against a fixed record a - b, by cross
// multiplication, with the standings' rule that a record without a decided
// game has percentage 0.
ThreeWay percentageAgainst(const Expr &wins, const Expr &losses, std::int64_t a, std::int64_t b)
{
    if (a == 0) {
        // The fixed side's percentage is 0.
        return {{atLeast(wins, 1)}, {atLeast(wins.scaled(-1), 0)}, {}};
    }
    const Expr cross = wins.scaled(b).minus(losses.scaled(a));
    Conjunction level = equalTo(cross, 0);
    level.push_back({wins, 1});
    return {
        {atLeast(cross, 1)}, {level}, {atLeast(cross.scaled(-1), 1), atLeast(wins.scaled(-1), 0)}};
}

// Every conjunction of one side with one of the other.
Disjunction both(const Disjunction &x, const Disjunction &y)
{
    Disjunction out;
    for (const Conjunction &cx : x) {
        for (const Conjunction &cy : y) {
            Conjunction c = cx;
            c.insert(c.end(), cy.begin(), cy.end());
            out.push_back(std::move(c));
        }
    }
    return out;
}

// What a rival must do relative to the team for a question, on the
// measure alone (loose) or with the tie-break walk.
enum class Relation
{
    NotBehind, // the team does not end strictly ahead of the rival
    Ahead,     // the rival ends strictly ahead of the team
    Behind,    // the team ends strictly ahead of the rival
    NotAhead,  // the rival does not end strictly ahead of the team
};

// How a problem judges the rivals level with the team on the measure.
enum class Judged
{
    Measure,              // not at all: level counts as whatever the question needs
    Pairwise,             // by the tie-break walk between the team and each rival
    AnyOrderWhenMixed,    // as Pairwise, but any way at all where a sort may cycle
    AnyOrderWhenTwoLevel, // looser still: wherever two rivals are level up to the series
};

// A rival's wins and losses in a part of its games, each between bounds,
// with the fewest games of it that can end decided.
struct RecordBox
{
    std::int64_t winsLow;
    std::int64_t winsHigh;
    std::int64_t lossesLow;
    std::int64_t lossesHigh;
    std::int64_t decidedLow;

    [[nodiscard]] RecordBox shifted(std::int64_t wins, std::int64_t losses) const
    {
        return {winsLow + wins, winsHigh + wins, lossesLow + losses, lossesHigh + losses,
                decidedLow + wins + losses};
    }
};

using Point = std::pair<std::int64_t, std::int64_t>;

Relation relationFor(Goal goal)
{
    switch (goal) {
    case Goal::Miss:
        return Relation::NotBehind;
    case Goal::Passed:
        return Relation::Ahead;
    case Goal::ReachAlone:
        return Relation::Behind;
    case Goal::ReachShared:
        break;
    }
    return Relation::NotAhead;
}

// How many rivals must stand in the goal's relation: k of them to keep
// the team out, all but k - 1 to let it in.
int neededFor(Goal goal, int rivals, int k)
{
    return goal == Goal::Miss || goal == Goal::Passed ? k : rivals - (k - 1);
}

bool goalHolds(Goal goal, const Placing &placing, int k)
{
    const int last = placing.Rank + placing.Shared - 1;
    switch (goal) {
    case Goal::Miss:
        return last > k;
    case Goal::Passed:
        return placing.Rank > k;
    case Goal::ReachAlone:
        return last <= k;
    case Goal::ReachShared:
        break;
    }
    return placing.Rank <= k;
}

// Ranks complete outcomes with the standings' own ordering: a working copy
// of the season in simulation mode, to which an outcome is added and from
// which it is taken back again.
class Ranker
{
public:
    Ranker(const Season &season, const RaceRequest &request) : m_season(season), m_request(request)
    {
        if (m_season.SimMode == 0 || m_season.SimResults.size() != m_season.TeamCount()) {
            m_season.resetSimResults();
        }
        m_season.SimMode = 1;
        m_season.GameScope = request.GameScope;
        m_judgment.Judgment = static_cast<std::int16_t>(request.Judgment);
        m_judgment.Conditions = request.Conditions;
        m_list = listedTeams(request);
    }

    // Placings in the order of the request's teams.
    std::vector<Placing> rank(const Certificate &outcome)
    {
        enter(outcome, 1);
        const int scope = m_request.GameScope;
        ViewTotals totals = TotalViewTeams(m_season, m_list);
        const int count = totals.Rows.size();
        AheadTables tables;
        BuildAheadTables(tables, AheadTables::TablesRead(m_judgment.Conditions, scope), m_season,
                         JudgmentView{scope, m_request.DivisionView}, totals.Rows, count,
                         totals.LeagueRows, totals.InterRows);
        const JudgmentOrder order(m_judgment, tables, scope);
        const OrderSettings settings{2, 0, m_request.GameCountRule};
        OrderRows(totals.Rows, count, settings, &order);
        NumberRanks(totals.Rows, count, settings, &order);
        enter(outcome, -1);
        std::vector<Placing> out;
        for (int team : m_request.Teams) {
            Placing p;
            for (int r = 1; r <= count; ++r) {
                if (totals.Rows[r].TeamNo == team) {
                    p.Rank = totals.Rows[r].Rank;
                }
            }
            p.Shared = 0;
            for (int r = 1; r <= count; ++r) {
                p.Shared += totals.Rows[r].Rank == p.Rank ? 1 : 0;
            }
            out.push_back(p);
        }
        return out;
    }

private:
    void enter(const Certificate &outcome, int sign)
    {
        for (const CardOutcome &o : outcome) {
            auto add = [sign](std::int16_t &cell, int value) {
                cell = static_cast<std::int16_t>(cell + sign * value);
            };
            add(m_season.SimResults[o.Team].Wins[o.Opponent], o.Wins);
            add(m_season.SimResults[o.Team].Losses[o.Opponent], o.Losses);
            add(m_season.SimResults[o.Team].Draws[o.Opponent], o.Draws);
            add(m_season.SimResults[o.Opponent].Wins[o.Team], o.Losses);
            add(m_season.SimResults[o.Opponent].Losses[o.Team], o.Wins);
            add(m_season.SimResults[o.Opponent].Draws[o.Team], o.Draws);
        }
    }

    Season m_season;
    const RaceRequest &m_request;
    JudgmentSet m_judgment;
    std::vector<int> m_list;
};

// -1, 0 or 1 as the first record's measure is below, level with or above
// the second's. A record without decided games has percentage 0.
int compareMeasure(bool byWins, std::int64_t w1, std::int64_t l1, std::int64_t w2, std::int64_t l2)
{
    if (byWins) {
        return w1 < w2 ? -1 : (w1 > w2 ? 1 : 0);
    }
    const std::int64_t d1 = w1 + l1 == 0 ? 1 : w1 + l1;
    const std::int64_t d2 = w2 + l2 == 0 ? 1 : w2 + l2;
    const std::int64_t left = w1 * d2;
    const std::int64_t right = w2 * d1;
    return left < right ? -1 : (left > right ? 1 : 0);
}

// Time the solver may still take, and the flag that stops everything.
struct Budget
{
    std::chrono::milliseconds perProblem;
    std::chrono::steady_clock::time_point deadline;
    const std::atomic<bool> *stop = nullptr;
    int calls = 0;

    // The limit of the next problem; zero when time is up.
    [[nodiscard]] std::chrono::milliseconds next() const
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        return std::max(std::chrono::milliseconds(0), std::min(perProblem, left));
    }
    [[nodiscard]] bool stopped() const { return stop != nullptr && stop->load(); }
};

// How far one problem may search: `work` (see IntegerProgram::
// setWorkLimit) ends it at the same point on any machine under any load,
// so that no answer depends on how busy the machine was; `time` only
// guards against a search whose steps are unusually slow.
struct Cap
{
    std::int64_t work = 0; // 0: none
    std::chrono::milliseconds time = std::chrono::milliseconds::max();
};

// The most ways a rival's card with the team may end for its record to be
// stated apart for each (see tightenLevelOrBetter): 25 games with draws.
constexpr std::int64_t MostWays = 351;

// The outcomes the solver ranges over, for one team whose own final record
// is fixed.
class Problem
{
public:
    Problem(const RaceModel &model, int team, int wins, int losses)
        : m_model(model), m_team(team), m_wins(wins), m_losses(losses)
    {
        const int count = static_cast<int>(model.teams.size());
        m_totalWins.resize(count);
        m_totalLosses.resize(count);
        m_leagueWins.resize(count);
        m_leagueLosses.resize(count);
        m_interWins.resize(count);
        m_interLosses.resize(count);
        m_series = model.seriesBase;
        m_seriesTerms.assign(count, std::vector<Expr>(count));
        for (int i = 0; i < count; ++i) {
            const Participant &p = model.teams[i];
            m_totalWins[i].constant = p.wins;
            m_totalLosses[i].constant = p.losses;
            m_leagueWins[i].constant = p.leagueWins;
            m_leagueLosses[i].constant = p.leagueLosses;
            m_interWins[i].constant = p.interWins;
            m_interLosses[i].constant = p.interLosses;
        }
        for (const Card &card : model.cards) {
            const int winsA = m_ip.addVariable(0, card.games);
            if (card.draws) {
                const int winsB = m_ip.addVariable(0, card.games);
                m_ip.addAtMost({{winsA, 1}, {winsB, 1}}, card.games);
                credit(card, card.viewA, winsA, 1, 0, winsB, 1, 0);
                credit(card, card.viewB, winsB, 1, 0, winsA, 1, 0);
                m_cardVariables.push_back({winsA, winsB});
            } else {
                // Without draws the other side's wins are what is left.
                credit(card, card.viewA, winsA, 1, 0, winsA, -1, card.games);
                credit(card, card.viewB, winsA, -1, card.games, winsA, 1, 0);
                m_cardVariables.push_back({winsA, -1});
            }
            if (card.viewA >= 0 && card.viewB >= 0) {
                addSeries(card, winsA, m_cardVariables.back().second);
            }
        }
        fixTotal(m_totalWins[team], wins);
        fixTotal(m_totalLosses[team], losses);
        // Decided games in each part at the end, where no draw can change them.
        m_leagueDecided.resize(count);
        m_interDecided.resize(count);
        for (int i = 0; i < count; ++i) {
            const Participant &p = model.teams[i];
            m_leagueDecided[i] = p.leagueWins + p.leagueLosses;
            m_interDecided[i] = p.interWins + p.interLosses;
        }
        for (const Card &card : model.cards) {
            for (int v : {card.viewA, card.viewB}) {
                if (v < 0) {
                    continue;
                }
                auto &decided = card.interleague ? m_interDecided[v] : m_leagueDecided[v];
                if (card.draws) {
                    decided.reset();
                } else if (decided) {
                    *decided += card.games;
                }
            }
        }
    }

    // At least `needed` rivals stand in `relation` to the team, judged by
    // the measure alone (a relaxation of the standings' order), with the
    // tie-break walk pair by pair, or with the walk where the order of a
    // group level on the measure may go any way once the team both beats
    // and trails members of it (see Judged).
    void require(Relation relation, int needed, Judged judged,
                 const std::vector<int> *only = nullptr)
    {
        const int count = static_cast<int>(m_model.teams.size());
        if (needed <= 0) {
            return;
        }
        const bool withConditions = judged != Judged::Measure;
        std::optional<Expr> mixed;
        if (judged == Judged::AnyOrderWhenMixed || judged == Judged::AnyOrderWhenTwoLevel) {
            mixed = mixedGroup(judged == Judged::AnyOrderWhenTwoLevel);
        }
        std::vector<Term> chosen;
        for (int r = 0; r < count; ++r) {
            if (r == m_team) {
                continue;
            }
            const int on = m_ip.addVariable(0, 1);
            given(on, r, only);
            if (needed == count - 1) {
                m_ip.setLower(on, 1);
            }
            Disjunction ways = relationWays(relation, r, withConditions);
            if (mixed) {
                for (Conjunction c : rivalStep(0, r).level) {
                    c.push_back({*mixed, 1});
                    ways.push_back(std::move(c));
                }
            }
            force(on, ways);
            chosen.push_back({on, 1});
        }
        m_ip.addAtLeast(std::move(chosen), needed);
    }

    // At least `needed` rivals strictly ahead of (or behind) the team on the
    // measure alone.
    void requireStrictly(Relation relation, int needed, const std::vector<int> *only = nullptr)
    {
        const int count = static_cast<int>(m_model.teams.size());
        std::vector<Term> chosen;
        for (int r = 0; r < count; ++r) {
            if (r == m_team) {
                continue;
            }
            const int on = m_ip.addVariable(0, 1);
            given(on, r, only);
            const ThreeWay primary = rivalStep(0, r);
            force(on, relation == Relation::Ahead ? primary.ahead : primary.behind);
            chosen.push_back({on, 1});
        }
        m_ip.addAtLeast(std::move(chosen), needed);
    }

    // A binary that may be 1 only when the team beats one rival level with
    // it on the measure and trails another (or is left level with one by
    // every condition): only then can the standings' sort, which compares
    // rows one pair at a time, place the team in a way the pairs alone do
    // not tell (a cycle of head-to-head series, say). With the games-played
    // rule in force it may always be 1.
    // With `loose`, the cycle is not followed: two rivals level with the
    // team up to the series, one it does not trail and one that does not
    // trail it, are enough. A problem without the cycle's binary per pair
    // of rivals, which proves "no outcome" far faster.
    Expr mixedGroup(bool loose)
    {
        const int mixed = m_ip.addVariable(0, 1);
        Expr out;
        out.add(mixed, 1);
        if (m_gameCountRule != 0) {
            return out;
        }
        // A place the pairs do not tell needs a cycle through the team in
        // the group level with it up to the series: a rival s it does not
        // trail on the series, a rival t that does not trail it, and s not
        // trailing t.
        const int count = static_cast<int>(m_model.teams.size());
        std::vector<int> notTrailed(count, -1);  // s: level so far, the team not behind
        std::vector<int> notTrailing(count, -1); // t: level so far, t not behind the team
        std::vector<Term> levelledOnes;
        for (int r = 0; r < count; ++r) {
            if (r == m_team) {
                continue;
            }
            Disjunction level = rivalStep(0, r).level;
            for (const int code : m_model.steps) {
                if (code == ConditionCode::Series) {
                    break;
                }
                level = both(level, rivalStep(code, r).level);
            }
            notTrailed[r] = m_ip.addVariable(0, 1);
            force(notTrailed[r], both(level, {atLeast(series(m_team, r), 0)}));
            notTrailing[r] = m_ip.addVariable(0, 1);
            force(notTrailing[r], both(level, {atLeast(series(r, m_team), 0)}));
            if (loose) {
                const int levelled = m_ip.addVariable(0, 1);
                force(levelled, level);
                m_ip.addAtMost({{notTrailed[r], 1}, {levelled, -1}}, 0);
                m_ip.addAtMost({{notTrailing[r], 1}, {levelled, -1}}, 0);
                levelledOnes.push_back({levelled, 1});
            }
        }
        if (loose) {
            std::vector<Term> s{{mixed, -1}};
            std::vector<Term> t{{mixed, -1}};
            for (int r = 0; r < count; ++r) {
                if (r != m_team) {
                    s.push_back({notTrailed[r], 1});
                    t.push_back({notTrailing[r], 1});
                }
            }
            m_ip.addAtLeast(std::move(s), 0);
            m_ip.addAtLeast(std::move(t), 0);
            levelledOnes.push_back({mixed, -2});
            m_ip.addAtLeast(std::move(levelledOnes), 0);
            return out;
        }
        std::vector<Term> cycles{{mixed, -1}};
        for (int a = 0; a < count; ++a) {
            for (int b = 0; b < count; ++b) {
                if (a == b || a == m_team || b == m_team) {
                    continue;
                }
                const int cycle = m_ip.addVariable(0, 1);
                m_ip.addAtMost({{cycle, 1}, {notTrailed[a], -1}}, 0);
                m_ip.addAtMost({{cycle, 1}, {notTrailing[b], -1}}, 0);
                atLeastWhen(m_ip, cycle, series(a, b), 0);
                cycles.push_back({cycle, 1});
            }
        }
        m_ip.addAtLeast(std::move(cycles), 0);
        return out;
    }

    void setGameCountRule(int rule) { m_gameCountRule = rule; }

    // The card's games end as in `result` (the card's entry of an outcome).
    void fixCard(std::size_t c, const CardOutcome &result)
    {
        const auto [a, b] = m_cardVariables[c];
        m_ip.setLower(a, result.Wins);
        m_ip.setUpper(a, result.Wins);
        if (b >= 0) {
            m_ip.setLower(b, result.Losses);
            m_ip.setUpper(b, result.Losses);
        }
    }

    // Rival r ends with this record.
    void giveRecord(int r, std::int64_t wins, std::int64_t losses)
    {
        fixTotal(m_totalWins[r], wins);
        fixTotal(m_totalLosses[r], losses);
    }

    // One way a set of series goes: (first, second, way), the way as
    // `first` reads it: 0 led, 1 level, 2 trailed.
    using SeriesWays = std::vector<std::array<int, 3>>;

    // Excludes every outcome in which the series of each of the pairs goes
    // the way it went in the outcome found last; with no pairs, every
    // outcome.
    void excludeSeries(const std::vector<std::pair<int, int>> &pairs)
    {
        SeriesWays went;
        for (const auto &[a, b] : pairs) {
            went.push_back({a, b, seriesWent(a, b)});
        }
        excludeSeriesWays(went);
    }

    // Excludes every outcome in which every series of `ways` goes its way.
    void excludeSeriesWays(const SeriesWays &ways)
    {
        std::vector<Term> same;
        for (const auto &[first, second, way] : ways) {
            same.push_back({seriesWay(first, second)[static_cast<std::size_t>(way)], 1});
        }
        const auto count = static_cast<std::int64_t>(same.size());
        m_ip.addAtMost(std::move(same), count - 1);
    }

    // Whether the series of `first` against `second` can still go `way`
    // (as in SeriesWays) within the bounds of the games left.
    [[nodiscard]] bool seriesCanGo(int first, int second, int way) const
    {
        const Expr lead = series(first, second);
        switch (way) {
        case 0:
            return highest(m_ip, lead) >= 1;
        case 1:
            return lowest(m_ip, lead) <= 0 && highest(m_ip, lead) >= 0;
        default:
            return lowest(m_ip, lead) <= -1;
        }
    }

    // At least one of `choices` holds: every series of it goes its way.
    void requireOneOf(const std::vector<SeriesWays> &choices)
    {
        std::vector<Term> any;
        for (const SeriesWays &choice : choices) {
            const int on = m_ip.addVariable(0, 1);
            for (const auto &[first, second, way] : choice) {
                m_ip.addAtMost(
                    {{on, 1}, {seriesWay(first, second)[static_cast<std::size_t>(way)], -1}}, 0);
            }
            any.push_back({on, 1});
        }
        m_ip.addAtLeast(std::move(any), 1);
    }

    // Whether the two teams' readings of their series are always opposite
    // (one leads by what the other trails by), so that one tells the other.
    [[nodiscard]] bool seriesMirrored(int first, int second) const
    {
        const Expr sum = series(first, second).minus(series(second, first).scaled(-1));
        const std::vector<Term> terms = merged(sum.terms);
        return sum.constant == 0 && std::all_of(terms.begin(), terms.end(),
                                                [](const Term &t) { return t.coefficient == 0; });
    }

    // The way the series of `first` against `second` went in the outcome
    // found last, numbered as in SeriesWays.
    [[nodiscard]] int seriesWent(int first, int second) const
    {
        const std::int64_t lead = valueOf(series(first, second));
        return lead > 0 ? 0 : (lead == 0 ? 1 : 2);
    }

    // Excludes every outcome in which the rivals of `top` end with exactly
    // the records given (`wins`, `losses` per view team) and every other
    // rival ends behind the team on the measure.
    void excludeTopRecords(const std::vector<int> &top, const std::vector<std::int64_t> &wins,
                           const std::vector<std::int64_t> &losses)
    {
        std::vector<Term> someOther;
        for (int r = 0; r < static_cast<int>(m_model.teams.size()); ++r) {
            if (r == m_team) {
                continue;
            }
            const int other = m_ip.addVariable(0, 1);
            if (std::find(top.begin(), top.end(), r) != top.end()) {
                const Expr &w = m_totalWins[r];
                const Expr &l = m_totalLosses[r];
                force(other, {atLeast(w, wins[r] + 1), atLeast(w.scaled(-1), 1 - wins[r]),
                              atLeast(l, losses[r] + 1), atLeast(l.scaled(-1), 1 - losses[r])});
            } else {
                const ThreeWay step = rivalStep(0, r);
                Disjunction notBehind = step.ahead;
                notBehind.insert(notBehind.end(), step.level.begin(), step.level.end());
                force(other, notBehind);
            }
            someOther.push_back({other, 1});
        }
        m_ip.addAtLeast(std::move(someOther), 1);
    }

    // For a question about the rivals of `set` only, judged on the measure
    // or pair by pair: each of them wins its games against the rest, which
    // helps it on every step of the walk, and the games among the rest go
    // one way, as they matter to nobody.
    void membersBeatTheOthers(const std::vector<int> &set)
    {
        auto in = [&](int v) { return std::find(set.begin(), set.end(), v) != set.end(); };
        for (std::size_t c = 0; c < m_model.cards.size(); ++c) {
            const Card &card = m_model.cards[c];
            if (card.viewA == m_team || card.viewB == m_team) {
                continue;
            }
            if (in(card.viewA) && in(card.viewB)) {
                continue;
            }
            const auto [a, b] = m_cardVariables[c];
            const bool bWinsAll = in(card.viewB);
            m_ip.setLower(a, bWinsAll ? 0 : card.games);
            m_ip.setUpper(a, bWinsAll ? 0 : card.games);
            if (b >= 0) {
                m_ip.setLower(b, bWinsAll ? card.games : 0);
                m_ip.setUpper(b, bWinsAll ? card.games : 0);
            }
        }
    }

    // Where the rivals that must stand in the relation are given, rival
    // r's binary is fixed: 1 for a listed rival, 0 for the others.
    void given(int on, int r, const std::vector<int> *only)
    {
        if (only != nullptr) {
            const bool listed = std::find(only->begin(), only->end(), r) != only->end();
            (listed ? m_ip.setLower(on, 1) : m_ip.setUpper(on, 0));
        }
    }

    // Each rival of `set` ends level with the team or better on the
    // percentage: b W - a L >= 0 (1 where level will not do) for the team's
    // a - b. Stated as the integer points that meet it rather than the line
    // itself, and apart for each way the rival's games against the team can
    // end: those games are what the team's fixed record shares out among
    // the rivals, and a relaxation that may give a rival a fraction of one
    // of them meets with fractions what whole games cannot. Without this
    // the solver may branch for seconds on a set that cannot make it. The
    // ways are joined as the convex hull of their union, with a continuous
    // share of each, so no branching is added.
    void tightenLevelOrBetter(const std::vector<int> &set, LevelRecord level)
    {
        if (m_model.byWins || m_wins == 0) {
            return;
        }
        const Participant &me = m_model.teams[m_team];
        const std::int64_t lossesLeft = m_losses - me.losses;
        const std::int64_t drawsLeft = me.remaining - (m_wins - me.wins) - lossesLeft;
        for (const int r : set) {
            const TeamCard card = teamCardOf(r);
            const Expr otherWins = m_totalWins[r].minus(card.wins);
            const Expr otherLosses = m_totalLosses[r].minus(card.losses);
            const RecordBox others{lowest(m_ip, otherWins), highest(m_ip, otherWins),
                                   lowest(m_ip, otherLosses), highest(m_ip, otherLosses),
                                   lowest(m_ip, otherWins.minus(otherLosses.scaled(-1)))};
            std::vector<Term> shares;
            std::vector<Term> cardWins = card.wins.terms;
            std::vector<Term> cardLosses = card.losses.terms;
            std::vector<Term> wins = m_totalWins[r].terms;
            std::vector<Term> losses = m_totalLosses[r].terms;
            for (std::int64_t won = 0; won <= card.games; ++won) {
                for (std::int64_t lost = 0; won + lost <= card.games; ++lost) {
                    const std::int64_t drawn = card.games - won - lost;
                    if ((!card.draws && drawn != 0) || won > lossesLeft || drawn > drawsLeft) {
                        continue;
                    }
                    const std::vector<Point> hull = recordHull(others.shifted(won, lost), level);
                    if (hull.empty()) {
                        continue;
                    }
                    const int share = m_ip.addContinuousVariable(0, 1);
                    const Way way = addWay(hull, others.shifted(won, lost), share);
                    shares.push_back({share, 1});
                    cardWins.push_back({share, -won});
                    cardLosses.push_back({share, -lost});
                    wins.push_back({way.wins, -1});
                    losses.push_back({way.losses, -1});
                }
            }
            if (shares.empty()) {
                m_ip.addAtMost({}, -1); // no record of it is good enough
                continue;
            }
            m_ip.addRow(std::move(shares), 1, 1);
            m_ip.addRow(std::move(cardWins), -card.wins.constant, -card.wins.constant);
            m_ip.addRow(std::move(cardLosses), -card.losses.constant, -card.losses.constant);
            m_ip.addRow(std::move(wins), -m_totalWins[r].constant, -m_totalWins[r].constant);
            m_ip.addRow(std::move(losses), -m_totalLosses[r].constant, -m_totalLosses[r].constant);
        }
    }

    // A rival's wins and losses on its card with the team: nothing where
    // none are left, or where the two share more than one card (then the
    // card is not told apart from the rival's other games).
    struct TeamCard
    {
        Expr wins;
        Expr losses;
        std::int64_t games = 0;
        bool draws = false;
    };

    [[nodiscard]] TeamCard teamCardOf(int r) const
    {
        TeamCard out;
        int found = 0;
        for (std::size_t c = 0; c < m_model.cards.size(); ++c) {
            const Card &card = m_model.cards[c];
            const bool rivalFirst = card.viewA == r && card.viewB == m_team;
            if (!rivalFirst && !(card.viewA == m_team && card.viewB == r)) {
                continue;
            }
            const auto [a, b] = m_cardVariables[c];
            const Expr winsA = variable(a);
            const Expr winsB = b >= 0 ? variable(b) : winsA.scaled(-1).plus(card.games);
            out = {rivalFirst ? winsA : winsB, rivalFirst ? winsB : winsA, card.games, card.draws};
            ++found;
        }
        // Each way of the card adds a handful of rows; a card with many
        // games left (early in a long season, or a hostile file) is not
        // worth the size, and its rival keeps one hull.
        const std::int64_t ways = out.draws ? (out.games + 1) * (out.games + 2) / 2 : out.games + 1;
        return found == 1 && ways <= MostWays ? out : TeamCard{};
    }

    // The records of the box that stand level with the team or better as
    // `level` says, as the vertices of their upper hull (for each number
    // of wins the most losses), left to right; empty when there are none.
    [[nodiscard]] std::vector<Point> recordHull(const RecordBox &box, LevelRecord level) const
    {
        std::vector<Point> hull;
        for (std::int64_t wins = box.winsLow; wins <= box.winsHigh; ++wins) {
            const bool levelCounts = level == LevelRecord::Counts ||
                                     (level == LevelRecord::UnlessFewerWins && wins >= m_wins);
            const std::int64_t room = m_losses * wins - (levelCounts ? 0 : 1);
            const std::int64_t most = std::min(
                box.lossesHigh, room >= 0 ? room / m_wins : -((-room + m_wins - 1) / m_wins));
            if (most < std::max(box.lossesLow, box.decidedLow - wins)) {
                continue;
            }
            // Drop points on or under the chord of their neighbours.
            while (hull.size() >= 2) {
                const auto [w1, l1] = hull[hull.size() - 2];
                const auto [w2, l2] = hull.back();
                if ((l2 - l1) * (wins - w1) > (most - l1) * (w2 - w1)) {
                    break;
                }
                hull.pop_back();
            }
            hull.emplace_back(wins, most);
        }
        return hull;
    }

    // One way of a rival's card with the team, taken with continuous weight
    // `share`: the rival's record under it (scaled by the share) lies in the
    // hull and the box, scaled alike.
    struct Way
    {
        int wins;
        int losses;
    };

    Way addWay(const std::vector<Point> &hull, const RecordBox &box, int share)
    {
        std::int64_t lossesMost = 0;
        for (const auto &[w, l] : hull) {
            lossesMost = std::max(lossesMost, l);
        }
        const int w = m_ip.addContinuousVariable(0, hull.back().first);
        const int l = m_ip.addContinuousVariable(0, lossesMost);
        m_ip.addAtLeast({{w, 1}, {share, -hull.front().first}}, 0);
        m_ip.addAtMost({{w, 1}, {share, -hull.back().first}}, 0);
        m_ip.addAtLeast({{l, 1}, {share, -box.lossesLow}}, 0);
        m_ip.addAtMost({{l, 1}, {share, -lossesMost}}, 0);
        m_ip.addAtLeast({{w, 1}, {l, 1}, {share, -box.decidedLow}}, 0);
        for (std::size_t i = 1; i < hull.size(); ++i) {
            // (W2 - W1) L - (L2 - L1) W <= (W2 - W1) L1 - (L2 - L1) W1
            const auto [w1, l1] = hull[i - 1];
            const auto [w2, l2] = hull[i];
            m_ip.addAtMost(
                {{l, w2 - w1}, {w, -(l2 - l1)}, {share, -((w2 - w1) * l1 - (l2 - l1) * w1)}}, 0);
        }
        return {w, l};
    }

    // Excludes exactly the outcome found last.
    void exclude()
    {
        std::vector<Term> away;
        for (const auto &[a, b] : m_cardVariables) {
            for (int v : {a, b}) {
                if (v < 0) {
                    continue;
                }
                const std::int64_t value = m_ip.value(v);
                if (value < m_ip.upper(v)) {
                    const int up = m_ip.addVariable(0, 1);
                    atLeastWhen(m_ip, up, variable(v), value + 1);
                    away.push_back({up, 1});
                }
                if (value > m_ip.lower(v)) {
                    const int down = m_ip.addVariable(0, 1);
                    atLeastWhen(m_ip, down, variable(v).scaled(-1), 1 - value);
                    away.push_back({down, 1});
                }
            }
        }
        m_ip.addAtLeast(std::move(away), 1);
    }

    IntegerProgram::Outcome solve(Budget &budget, Cap cap = {})
    {
        const std::chrono::milliseconds limit = std::min(budget.next(), cap.time);
        if (budget.stopped()) {
            return IntegerProgram::Outcome::Stopped;
        }
        if (limit.count() == 0) {
            return IntegerProgram::Outcome::TimedOut;
        }
        ++budget.calls;
        m_ip.setStopFlag(budget.stop);
        m_ip.setWorkLimit(cap.work);
        return m_ip.solve(limit);
    }

    // Asks the solver for the most ordinary outcome that still answers the
    // question: each team's wins in its remaining games close to what its
    // record so far suggests, and no more draws than the rate so far.
    std::optional<Certificate> ordinary(Budget &budget, Cap cap)
    {
        std::vector<Term> objective;
        const int count = static_cast<int>(m_model.teams.size());
        std::int64_t allRemaining = 0;
        for (int v = 0; v < count; ++v) {
            const Participant &p = m_model.teams[v];
            allRemaining += p.remaining;
            if (v == m_team || p.remaining == 0) {
                continue;
            }
            const double share =
                p.wins + p.losses > 0 ? static_cast<double>(p.wins) / (p.wins + p.losses) : 0.5;
            // Tenths of a win, so a fractional expectation stays exact.
            const auto expected = static_cast<std::int64_t>(
                std::llround(10.0 * p.remaining * (1.0 - m_model.drawRate) * share));
            const Expr tenths = m_totalWins[v].plus(-p.wins).scaled(10);
            const int deviation = m_ip.addVariable(0, 10LL * p.remaining + 10);
            std::vector<Term> over = tenths.terms;
            over.push_back({deviation, -1});
            m_ip.addAtMost(over, expected - tenths.constant);
            std::vector<Term> under = tenths.scaled(-1).terms;
            under.push_back({deviation, -1});
            m_ip.addAtMost(under, -expected + tenths.constant);
            objective.push_back({deviation, 1});
        }
        // Draws of the outcome: the games of each card that neither side won.
        Expr draws;
        for (std::size_t c = 0; c < m_model.cards.size(); ++c) {
            const Card &card = m_model.cards[c];
            const auto [a, b] = m_cardVariables[c];
            if (b >= 0) {
                draws.constant += card.games;
                draws.add(a, -1);
                draws.add(b, -1);
            }
        }
        if (!draws.terms.empty()) {
            // The cards count each game once; a team's remaining games
            // count it twice over the two sides.
            const auto allowed =
                static_cast<std::int64_t>(std::llround(m_model.drawRate * allRemaining / 2.0));
            const int excess = m_ip.addVariable(0, IntegerProgram::NoLimit);
            std::vector<Term> row = draws.terms;
            row.push_back({excess, -1});
            m_ip.addAtMost(row, allowed - draws.constant);
            // An extra draw costs more than any shift of wins.
            objective.push_back({excess, 100});
            for (const Term &t : draws.terms) {
                objective.push_back({t.variable, t.coefficient});
            }
        }
        if (objective.empty()) {
            return std::nullopt;
        }
        m_ip.setObjective(std::move(objective));
        if (solve(budget, cap) != IntegerProgram::Outcome::Feasible) {
            return std::nullopt;
        }
        return readOutcome();
    }

    Certificate readOutcome() const
    {
        Certificate out;
        for (std::size_t c = 0; c < m_model.cards.size(); ++c) {
            const Card &card = m_model.cards[c];
            const auto [a, b] = m_cardVariables[c];
            const int winsA = static_cast<int>(m_ip.value(a));
            const int winsB = b >= 0 ? static_cast<int>(m_ip.value(b)) : card.games - winsA;
            out.push_back({card.teamA, card.teamB, winsA, winsB, card.games - winsA - winsB});
        }
        std::sort(out.begin(), out.end(), [](const CardOutcome &x, const CardOutcome &y) {
            return std::pair(x.Team, x.Opponent) < std::pair(y.Team, y.Opponent);
        });
        return out;
    }

    // The records rival r can end with level with the team on the
    // percentage, where there is at most one; not told where there are
    // more (or where the wins are the measure).
    [[nodiscard]] std::optional<std::vector<Point>> fewLevelRecords(int r) const
    {
        if (m_model.byWins || m_wins == 0) {
            return std::nullopt;
        }
        const auto [low, high] = levelMultiples(r);
        if (low > high) {
            return std::vector<Point>{};
        }
        return low == high ? std::optional(std::vector<Point>{levelRecord(low)}) : std::nullopt;
    }

private:
    // Three binaries, one for each way, exactly one of them 1: the way
    // that holds.
    std::array<int, 3> exactly(const ThreeWay &ways)
    {
        std::array<int, 3> out{};
        std::vector<Term> one;
        for (std::size_t side = 0; side < 3; ++side) {
            out[side] = m_ip.addVariable(0, 1);
            force(out[side], side == 0 ? ways.ahead : (side == 1 ? ways.level : ways.behind));
            one.push_back({out[side], 1});
        }
        m_ip.addRow(std::move(one), 1, 1);
        return out;
    }

    // The binaries of the series of `first` against `second` (made when
    // first needed).
    std::array<int, 3> seriesWay(int first, int second)
    {
        const auto [at, fresh] = m_seriesWays.try_emplace({first, second});
        if (fresh) {
            at->second = exactly(byDifference(series(first, second)));
        }
        return at->second;
    }

    // An expression's value in the outcome found last.
    [[nodiscard]] std::int64_t valueOf(const Expr &e) const
    {
        std::int64_t value = e.constant;
        for (const Term &t : e.terms) {
            value += t.coefficient * m_ip.value(t.variable);
        }
        return value;
    }

    static Expr variable(int v)
    {
        Expr e;
        e.add(v, 1);
        return e;
    }

    void credit(const Card &card, int view, int winsVar, std::int64_t winsCoef,
                std::int64_t winsConst, int lossVar, std::int64_t lossCoef, std::int64_t lossConst)
    {
        if (view < 0) {
            return;
        }
        for (auto [w, l] : {std::pair{&m_totalWins, &m_totalLosses},
                            card.interleague ? std::pair{&m_interWins, &m_interLosses}
                                             : std::pair{&m_leagueWins, &m_leagueLosses}}) {
            (*w)[view].add(winsVar, winsCoef);
            (*w)[view].constant += winsConst;
            (*l)[view].add(lossVar, lossCoef);
            (*l)[view].constant += lossConst;
        }
    }

    // The remaining games of a card between two view teams move both
    // series: 2 per win and f per draw, as in seriesBase.
    void addSeries(const Card &card, int winsA, int winsB)
    {
        const int a = card.viewA;
        const int b = card.viewB;
        const std::int64_t fa = m_model.teams[a].seriesDrawFactor;
        const std::int64_t fb = m_model.teams[b].seriesDrawFactor;
        Expr &ab = m_seriesTerms[a][b];
        Expr &ba = m_seriesTerms[b][a];
        if (winsB >= 0) {
            // Draws are games - winsA - winsB.
            ab.add(winsA, 2 - fa);
            ab.add(winsB, -fa);
            ab.constant += fa * card.games;
            ba.add(winsB, 2 - fb);
            ba.add(winsA, -fb);
            ba.constant += fb * card.games;
        } else {
            ab.add(winsA, 2);
            ba.add(winsA, -2);
            ba.constant += 2LL * card.games;
        }
    }

    void fixTotal(const Expr &e, std::int64_t value)
    {
        m_ip.addRow(e.terms, value - e.constant, value - e.constant);
    }

    [[nodiscard]] Expr series(int a, int b) const
    {
        return m_seriesTerms[a][b].plus(m_series[a][b]);
    }

    // A step of the walk comparing rival r (first) with the team (second).
    ThreeWay rivalStep(int code, int r) const
    {
        const Expr &w = m_totalWins[r];
        const Expr &l = m_totalLosses[r];
        const bool pctMeasure = (code == 0) != m_model.byWins; // code 0: the primary measure
        switch (code) {
        case 0:
        case ConditionCode::Secondary:
            return pctMeasure ? levelRecordsNamed(percentageAgainst(w, l, m_wins, m_losses), r)
                              : byDifference(w.plus(-m_wins));
        case ConditionCode::Series:
            return byDifference(series(r, m_team));
        case ConditionCode::LeaguePct:
            return partPercentage(m_leagueWins, m_leagueDecided, r, m_team);
        case ConditionCode::LeaguePct + 2:
            return partPercentage(m_interWins, m_interDecided, r, m_team);
        case ConditionCode::LeaguePct + 1:
            return byDifference(m_leagueWins[r].minus(m_leagueWins[m_team]));
        case ConditionCode::InterleagueWins:
            return byDifference(m_interWins[r].minus(m_interWins[m_team]));
        default:
            return fixedRank(code, r, m_team);
        }
    }

    // A percentage level with the team's a - b is a record on the line
    // b W = a L, and within the records rival r can reach there are seldom
    // more than one: with that record named, a rival the solver makes level
    // is level in whole games at once, not at a fraction of a game along
    // the line (which it otherwise branches on, wins and losses in turn).
    [[nodiscard]] ThreeWay levelRecordsNamed(ThreeWay step, int r) const
    {
        if (m_wins == 0) {
            return step;
        }
        const auto [low, high] = levelMultiples(r);
        if (low > high) {
            step.level.clear();
        } else if (low == high) {
            const Point record = levelRecord(low);
            Conjunction exact = equalTo(m_totalWins[r], record.first);
            const Conjunction losses = equalTo(m_totalLosses[r], record.second);
            exact.insert(exact.end(), losses.begin(), losses.end());
            step.level = {exact};
        }
        return step;
    }

    // The records level with the team's a - b on the percentage are
    // t (a, b) / gcd(a, b) for t >= 1: the range of t that rival r's bounds
    // on its wins, losses and decided games allow (empty when low > high).
    [[nodiscard]] std::pair<std::int64_t, std::int64_t> levelMultiples(int r) const
    {
        const Expr &w = m_totalWins[r];
        const Expr &l = m_totalLosses[r];
        const Expr decided = w.minus(l.scaled(-1));
        const Point unit = levelRecord(1);
        std::int64_t low = 1;
        std::int64_t high = std::numeric_limits<std::int64_t>::max();
        auto within = [&](const Expr &e, std::int64_t per) {
            if (per == 0) {
                if (lowest(m_ip, e) > 0) {
                    high = 0;
                }
                return;
            }
            low = std::max(low, (std::max<std::int64_t>(lowest(m_ip, e), 0) + per - 1) / per);
            high = std::min(high, highest(m_ip, e) < 0 ? -1 : highest(m_ip, e) / per);
        };
        within(w, unit.first);
        within(l, unit.second);
        within(decided, unit.first + unit.second);
        return {low, high};
    }

    [[nodiscard]] Point levelRecord(std::int64_t t) const
    {
        const std::int64_t g = std::gcd(m_wins, m_losses);
        return {t * (m_wins / g), t * (m_losses / g)};
    }

    // The same step with the team first and rival r second.
    ThreeWay teamStep(int code, int r) const
    {
        switch (code) {
        case ConditionCode::Series:
            return byDifference(series(m_team, r));
        case ConditionCode::LeaguePct + 1:
            return byDifference(m_leagueWins[m_team].minus(m_leagueWins[r]));
        case ConditionCode::InterleagueWins:
            return byDifference(m_interWins[m_team].minus(m_interWins[r]));
        default:
            break;
        }
        if (code >= ConditionCode::GridOrder) {
            return fixedRank(code, m_team, r);
        }
        return rivalStep(code, r).reversed();
    }

    // Percentages of one part of the season (league or interleague games),
    // first against second. Linear only where both teams' decided games in
    // that part are known (no remaining game of it can end drawn).
    ThreeWay partPercentage(const std::vector<Expr> &wins,
                            const std::vector<std::optional<std::int64_t>> &decided, int first,
                            int second) const
    {
        if (!decided[first] || !decided[second]) {
            return unconstrained();
        }
        const std::int64_t df = *decided[first];
        const std::int64_t ds = *decided[second];
        if (df == 0 && ds == 0) {
            return {{}, {{}}, {}};
        }
        if (df == 0) {
            // The first team's percentage is 0.
            return {{}, {atLeast(wins[second].scaled(-1), 0)}, {atLeast(wins[second], 1)}};
        }
        if (ds == 0) {
            return {{atLeast(wins[first], 1)}, {atLeast(wins[first].scaled(-1), 0)}, {}};
        }
        return byDifference(wins[first].scaled(ds).minus(wins[second].scaled(df)));
    }

    // A previous-year rank: the smaller value is ahead; otherwise the walk
    // stops (never level).
    ThreeWay fixedRank(int code, int first, int second) const
    {
        const std::size_t which = static_cast<std::size_t>(code - ConditionCode::GridOrder);
        const bool ahead =
            m_model.teams[first].fixedRanks[which] < m_model.teams[second].fixedRanks[which];
        return ahead ? ThreeWay{{{}}, {}, {}} : ThreeWay{{}, {}, {{}}};
    }

    // The ways the relation can hold for rival r: the measure apart, or
    // level on it and then the walk.
    Disjunction relationWays(Relation relation, int r, bool withConditions) const
    {
        const bool teamFirst = relation == Relation::NotBehind || relation == Relation::Behind;
        const bool firstAhead = relation == Relation::Ahead || relation == Relation::Behind;
        const ThreeWay primary = teamFirst ? teamStep(0, r) : rivalStep(0, r);
        Disjunction ways = firstAhead ? primary.ahead : primary.behind;
        const Disjunction tied = withConditions ? tieWays(relation, r) : primary.level;
        ways.insert(ways.end(), tied.begin(), tied.end());
        return ways;
    }

    // The ways the relation can hold for rival r level with the team on the
    // measure: along the walk, the first step that is not level decides.
    Disjunction tieWays(Relation relation, int r) const
    {
        const bool teamFirst = relation == Relation::NotBehind || relation == Relation::Behind;
        const bool firstAhead = relation == Relation::Ahead || relation == Relation::Behind;
        auto step = [&](int code) { return teamFirst ? teamStep(code, r) : rivalStep(code, r); };
        Disjunction ways;
        Disjunction levelSoFar = step(0).level;
        for (const int code : m_model.steps) {
            const ThreeWay next = step(code);
            for (Conjunction &c : both(levelSoFar, firstAhead ? next.ahead : next.behind)) {
                ways.push_back(std::move(c));
            }
            levelSoFar = both(levelSoFar, next.level);
            if (levelSoFar.empty()) {
                break;
            }
        }
        // Level all the way: the first team is not ahead.
        if (!firstAhead) {
            for (Conjunction &c : levelSoFar) {
                ways.push_back(std::move(c));
            }
        }
        return ways;
    }

    // Makes one of `ways` hold whenever `on` is 1.
    void force(int on, const Disjunction &ways)
    {
        Disjunction possible;
        for (const Conjunction &c : ways) {
            Conjunction needed;
            bool impossible = false;
            for (const Lin &lin : c) {
                if (highest(m_ip, lin.e) < lin.bound) {
                    impossible = true;
                    break;
                }
                if (lowest(m_ip, lin.e) < lin.bound) {
                    needed.push_back(lin);
                }
            }
            if (impossible) {
                continue;
            }
            if (needed.empty()) {
                return; // holds whatever happens
            }
            possible.push_back(std::move(needed));
        }
        if (possible.empty()) {
            m_ip.setUpper(on, 0);
            return;
        }
        if (possible.size() == 1) {
            for (const Lin &lin : possible.front()) {
                atLeastWhen(m_ip, on, lin.e, lin.bound);
            }
            return;
        }
        std::vector<Term> any{{on, -1}};
        for (const Conjunction &c : possible) {
            const int way = m_ip.addVariable(0, 1);
            any.push_back({way, 1});
            for (const Lin &lin : c) {
                atLeastWhen(m_ip, way, lin.e, lin.bound);
            }
        }
        m_ip.addAtLeast(std::move(any), 0);
    }

    const RaceModel &m_model;
    int m_team;
    std::int64_t m_wins;
    std::int64_t m_losses;
    IntegerProgram m_ip;
    std::vector<Expr> m_totalWins;
    std::vector<Expr> m_totalLosses;
    std::vector<Expr> m_leagueWins;
    std::vector<Expr> m_leagueLosses;
    std::vector<Expr> m_interWins;
    std::vector<Expr> m_interLosses;
    std::vector<std::optional<std::int64_t>> m_leagueDecided;
    std::vector<std::optional<std::int64_t>> m_interDecided;
    std::vector<std::vector<std::int64_t>> m_series;
    std::vector<std::vector<Expr>> m_seriesTerms;
    std::vector<std::pair<int, int>> m_cardVariables;
    // Per pair of view teams (first, second): binaries for the first
    // leading the series, level and trailing.
    std::map<std::pair<int, int>, std::array<int, 3>> m_seriesWays;
    int m_gameCountRule = 0;
};

// Whether `outcome` plays out every remaining game of the model exactly
// once and leaves the team with exactly `wins` and `losses`, in exact
// integer arithmetic: the solver works in floating point.
bool playsOut(const RaceModel &model, int team, std::int64_t teamWins, std::int64_t teamLosses,
              const Certificate &outcome)
{
    if (outcome.size() != model.cards.size()) {
        return false;
    }
    std::int64_t wins = model.teams[team].wins;
    std::int64_t losses = model.teams[team].losses;
    const int teamNo = model.teams[team].teamNo;
    for (const CardOutcome &o : outcome) {
        if (o.Wins < 0 || o.Losses < 0 || o.Draws < 0) {
            return false;
        }
        wins += o.Team == teamNo ? o.Wins : (o.Opponent == teamNo ? o.Losses : 0);
        losses += o.Team == teamNo ? o.Losses : (o.Opponent == teamNo ? o.Wins : 0);
    }
    for (const Card &card : model.cards) {
        const auto it = std::find_if(outcome.begin(), outcome.end(), [&](const CardOutcome &o) {
            return o.Team == card.teamA && o.Opponent == card.teamB;
        });
        if (it == outcome.end() || it->Wins + it->Losses + it->Draws != card.games ||
            (!card.draws && it->Draws != 0)) {
            return false;
        }
    }
    return wins == teamWins && losses == teamLosses;
}

// The answer of a question asked in parts that together are the question:
// "yes" once a part says so, open where a part is open, "no" when every
// part says no.
struct Parts
{
    Answer answer = Answer::No;

    // Takes one part's answer; true once the question is answered "yes".
    bool take(Answer part)
    {
        if (part == Answer::Yes || answer == Answer::Yes) {
            answer = Answer::Yes;
        } else if (part == Answer::Unknown) {
            answer = Answer::Unknown;
        }
        return answer == Answer::Yes;
    }
};

Answer negate(Answer a)
{
    return a == Answer::Unknown ? a : (a == Answer::Yes ? Answer::No : Answer::Yes);
}

// How often an outcome the model offers may fail the standings' own check
// before the question is left open. The model follows the standings except
// where it cannot (a percentage in one part of the season, a cycle of
// head-to-head series, the games-played rule); there it offers outcomes
// the standings then judge.
constexpr int MostRejections = 24;

// The work of making certificates ordinary; what it finds is only a nicer
// example, so the answers never depend on it. The objective search seldom
// proves its optimum and its first points are already ordinary, so a long
// search mostly waits. A large view's problems need longer to reach a
// first ordinary point. Limits on work, like the analysis's own, so that
// the examples too are the same under load; the time is only a guard.
// Each state's search for the fewest wins takes a few steps at most, as the
// pass could otherwise cost far more than the answers.
constexpr Cap OrdinaryLimit{400'000, std::chrono::milliseconds{400}};
constexpr Cap OrdinaryLimitLarge{1'000'000, std::chrono::milliseconds{1000}};
constexpr int OrdinarySteps = 6;

// The search allowed the measure-only problem of getting in and the
// strict-measure problem asked before the tie-break model (about 60 ms).
// They only shorten the way: one that runs out leaves the question to the
// tie-break model, which answers it exactly. Some of them are far harder
// for the solver than the tie-break problem of the same question (seconds
// against milliseconds, where the strict measure has no way and the
// presolver cannot see it).
constexpr Cap ShortcutLimit{600'000, std::chrono::milliseconds{600}};

// The search among outcomes that need a cycle of head-to-head series:
// outcomes the standings may reject, and the limit of each problem.
constexpr int CycleRejections = 4;
// How many pairs of rivals that can end with the team's record are asked
// about one by one (see twoLevel).
constexpr std::size_t MostLevelPairs = 10;
// About a second of search; the time, five times that, is only a guard.
constexpr Cap CycleLimit{10'000'000, std::chrono::milliseconds{5000}};
constexpr std::size_t SmallView = 8;
// How many ways of the series among a level group are tried near the
// outcomes the standings rejected, for one question (see
// rearrangeLevelGames).
constexpr int MostRearrangements = 96;
// How many problems may go to trying every way the series can go with the
// records at the top given, for one question (see exhaustTopRecords).
constexpr int MostExhaustionProblems = 16;
// The most members of a set split by which end level (2^n problems).
constexpr std::size_t MostLevelSplitMembers = 6;
// How many replays of the sort the splits of the top may take in one
// question, and the most sets of ways of the series (those that put the
// team where asked, or those that do not) one split may give the solver.
constexpr int MostSortReplays = 20000;
constexpr std::size_t MostLeadingWays = 256;
// The most rivals ahead of the team whose every order is replayed (5! = 120).
constexpr std::size_t MostOrdersAbove = 5;
// How many more outcomes a split whose ways are too many to follow may try.
constexpr int MostWaysOfAnOpenSplit = 8;
// The most rivals level with the team or better that are split every way
// into ahead and level (2^n splits).
constexpr std::size_t MostTopSplitMembers = 7;

// Sets of rivals left to the solver one by one, at most; with more the
// question goes to the solver whole.
constexpr std::size_t MostOpenSets = 48;

class TeamAnalysis
{
public:
    TeamAnalysis(const RaceModel &model, int team, Budget &budget, Ranker &ranker)
        : m_model(model), m_team(team), m_budget(budget), m_ranker(ranker),
          m_meetings(model.teams.size(), 0)
    {
        for (const Card &card : model.cards) {
            if (card.viewA == team && card.viewB >= 0) {
                m_meetings[card.viewB] += card.games;
            } else if (card.viewB == team && card.viewA >= 0) {
                m_meetings[card.viewA] += card.games;
            }
        }
    }

    // The states of the team for k places. The magic number is decided here
    // only where it needs no search (sure already, or not even winning out
    // is enough); searchMagic does the rest.
    RaceState analyse(int k)
    {
        RaceState s;
        m_tieBreak = false;
        const int remaining = m_model.teams[m_team].remaining;

        s.Sure = negate(ask(Goal::Miss, 0, k, nullptr));
        s.SureUnlessTied =
            s.Sure == Answer::Yes ? Answer::Yes : negate(ask(Goal::Passed, 0, k, nullptr));

        // Winning out is the team's best chance: each of its wins lifts it
        // and lowers an opponent.
        Certificate reach;
        s.Possible = ask(Goal::ReachAlone, remaining, k, &reach);
        if (s.Possible == Answer::Yes) {
            s.PossibleWithTie = Answer::Yes;
            s.Reach = std::move(reach);
        } else {
            s.PossibleWithTie = ask(Goal::ReachShared, remaining, k, &reach);
            if (s.PossibleWithTie == Answer::Yes) {
                // What the example is called must be what the standings make
                // of it: where getting in alone was left open, the example
                // may still need no tie, and then it settles that too.
                const Participant &me = m_model.teams[m_team];
                if (s.Possible == Answer::Unknown &&
                    accept(Goal::ReachAlone, k, me.wins + remaining, me.losses, reach)) {
                    s.Possible = Answer::Yes;
                }
                s.ReachNeedsTie = s.Possible != Answer::Yes;
                s.Reach = std::move(reach);
            }
        }

        if (s.Sure == Answer::Yes) {
            s.OwnPower = Answer::Yes;
            s.MagicDecided = true;
            s.Magic = 0;
        } else {
            Certificate failure;
            s.OwnPower = negate(ask(Goal::Miss, remaining, k, &failure));
            if (s.OwnPower == Answer::No) {
                s.WinOutFailure = std::move(failure);
                s.MagicDecided = true; // not even winning out is enough
            }
        }
        s.TieBreakApplied = m_tieBreak;
        return s;
    }

    // The least number of wins that makes the team sure of k places, for a
    // state analyse left undecided. `enoughWith`: a number of wins already
    // known to be enough (the title's magic serves every k, as first place
    // is within the top k).
    void searchMagic(RaceState &s, int k, std::optional<int> enoughWith = std::nullopt)
    {
        if (s.MagicDecided || s.OwnPower != Answer::Yes || s.Sure != Answer::No) {
            return;
        }
        m_tieBreak = false;
        const int remaining = m_model.teams[m_team].remaining;
        // With m wins and the rest lost the team can still miss exactly when
        // it can with at least m wins, so "misses" is monotone in m: search
        // for the first m at which it no longer can. An outcome found on the
        // way also shows how many wins the team had in it, which may settle
        // several steps at once.
        int missing = 0; // the team can miss with this many wins
        int enough = std::min(remaining, enoughWith.value_or(remaining)); // it cannot miss
        while (enough - missing > 1) {
            const int middle = missing + (enough - missing) / 2;
            const Answer a = ask(Goal::Miss, middle, k, nullptr);
            if (a == Answer::Unknown) {
                return;
            }
            (a == Answer::Yes ? missing : enough) = middle;
        }
        s.MagicDecided = true;
        s.Magic = enough;
        s.TieBreakApplied = s.TieBreakApplied || m_tieBreak;
    }

    // For tests: the pair-by-pair question of `set` for the team missing
    // the first |set| places with `wins` more wins, as one problem and split.
    std::pair<Answer, Answer> pairwiseSetBothWays(int wins, const std::vector<int> &set)
    {
        const Participant &me = m_model.teams[m_team];
        const int k = static_cast<int>(set.size());
        const Question q{Goal::Miss, k, me.wins + wins, me.losses + me.remaining - wins, k};
        freshQuestion();
        Problem pairwise = pairwiseOf(q, set);
        const Answer one = search(pairwise, q, nullptr);
        freshQuestion();
        return {one, byLevelMembers(q, set, nullptr)};
    }

    // For tests: whether the team, with `wins` more wins, can miss the
    // first k places (or be passed), asked of byTopSplits alone with every
    // k rivals a set.
    Answer topSplits(Goal goal, int k, int wins)
    {
        const Participant &me = m_model.teams[m_team];
        const Question q{goal, k, me.wins + wins, me.losses + me.remaining - wins, k};
        std::vector<int> rivals;
        for (int r = 0; r < static_cast<int>(m_model.teams.size()); ++r) {
            if (r != m_team) {
                rivals.push_back(r);
            }
        }
        std::vector<std::vector<int>> sets;
        for (unsigned chosen = 0; chosen < (1U << rivals.size()); ++chosen) {
            if (std::popcount(chosen) == k) {
                std::vector<int> set;
                for (std::size_t m = 0; m < rivals.size(); ++m) {
                    if (((chosen >> m) & 1U) != 0) {
                        set.push_back(rivals[m]);
                    }
                }
                sets.push_back(std::move(set));
            }
        }
        freshQuestion();
        return byTopSplits(q, sets, nullptr);
    }

private:
    // Is there an outcome in which the team wins `wins` of its remaining
    // games and loses the rest, and `goal` holds as the standings rank it?
    Answer ask(Goal goal, int wins, int k, Certificate *certificate)
    {
        if (m_budget.stopped()) {
            return Answer::Unknown;
        }
        freshQuestion();
        const Participant &me = m_model.teams[m_team];
        const std::int64_t finalWins = me.wins + wins;
        const std::int64_t finalLosses = me.losses + me.remaining - wins;
        const int rivals = static_cast<int>(m_model.teams.size()) - 1;
        const int needed = neededFor(goal, rivals, k);
        if (needed > rivals) {
            return Answer::No;
        }
        if (needed <= 0) {
            // Nobody has to do anything: any outcome answers.
            return confirmSome(goal, wins, k, certificate);
        }
        if (goal == Goal::Miss || goal == Goal::Passed) {
            // One rival at a time first: a rival that cannot draw level on
            // the measure even at its best never counts, and one whose best
            // outcome already puts the team out is the whole answer.
            std::vector<int> able;
            for (int r = 0; r <= rivals; ++r) {
                if (r == m_team) {
                    continue;
                }
                const auto [rivalWins, rivalLosses] = bestOf(r, wins);
                if (compareMeasure(m_model.byWins, rivalWins, rivalLosses, finalWins,
                                   finalLosses) >= 0) {
                    able.push_back(r);
                }
            }
            if (static_cast<int>(able.size()) < k) {
                return Answer::No;
            }
            if (k == 1) {
                for (int r : able) {
                    Certificate outcome = bestOutcomeFor(r, wins);
                    if (accept(goal, k, finalWins, finalLosses, outcome)) {
                        return found(std::move(outcome), certificate, goal, k, finalWins,
                                     finalLosses);
                    }
                }
            }
        }
        const Question question{goal, k, finalWins, finalLosses, needed};
        // Where the sets could not tell, the whole problems below still
        // may (see wholeLimit).
        Cap limit;
        bool levelKnown = false; // some rivals can draw level, none is known ahead
        if (goal == Goal::Miss || goal == Goal::Passed) {
            if (const std::optional<Answer> settled =
                    bySets(question, wins, certificate, levelKnown)) {
                return *settled;
            }
            if (k <= RivalSets::MostMembers) {
                limit = wholeLimit();
            }
        }
        // The measure alone first: when even that leaves no way, the
        // conditions cannot make one; an outcome it finds often settles
        // the question already.
        if (!levelKnown) {
            Problem loose = problemFor(question, Judged::Measure);
            // Its "no" is what proves a team safe near its magic number, so a
            // miss question gives it the full time; for getting in, the
            // tie-break problem usually answers at once where this one is slow.
            const bool missing = goal == Goal::Miss || goal == Goal::Passed;
            const IntegerProgram::Outcome measureOnly =
                missing ? loose.solve(m_budget, limit) : loose.solve(m_budget, ShortcutLimit);
            if (measureOnly == IntegerProgram::Outcome::Infeasible) {
                return Answer::No;
            }
            if (measureOnly == IntegerProgram::Outcome::Stopped ||
                (missing && measureOnly == IntegerProgram::Outcome::TimedOut)) {
                return Answer::Unknown;
            }
            if (Certificate outcome;
                measureOnly == IntegerProgram::Outcome::Feasible &&
                accept(goal, k, finalWins, finalLosses, outcome = loose.readOutcome())) {
                return found(std::move(outcome), certificate, goal, k, finalWins, finalLosses,
                             &loose);
            }
        }
        // A rival strictly better (or worse) on the measure needs no
        // tie-break: this problem has no disjunctions and often answers.
        if (goal != Goal::ReachShared) {
            const Relation strictly = goal == Goal::ReachAlone ? Relation::Behind : Relation::Ahead;
            Problem clear(m_model, m_team, static_cast<int>(finalWins),
                          static_cast<int>(finalLosses));
            clear.requireStrictly(strictly, needed);
            if (clear.solve(m_budget, ShortcutLimit) == IntegerProgram::Outcome::Feasible) {
                if (Certificate outcome = clear.readOutcome();
                    accept(goal, k, finalWins, finalLosses, outcome)) {
                    return found(std::move(outcome), certificate, goal, k, finalWins, finalLosses,
                                 &clear);
                }
            }
        }
        // The measure leaves it to the tie-break conditions: pair by pair
        // first, which is the standings' order wherever the walk cannot
        // cycle; where it can, an answer No is only believed once the
        // problem that lets a mixed group end in any order has none either.
        m_tieBreak = true;
        Problem pairwise = problemFor(question, Judged::Pairwise);
        Answer answer = search(pairwise, question, certificate, MostRejections, limit);
        if (answer == Answer::No && !m_model.pairwiseExact) {
            Problem anyOrder = problemFor(question, Judged::AnyOrderWhenMixed);
            answer = search(anyOrder, question, certificate,
                            limit.work != 0 ? CycleRejections : MostRejections, limit);
        }
        return answer;
    }

    // The searches after a rejected outcome are limited per question.
    void freshQuestion()
    {
        m_rearrangementsLeft = MostRearrangements;
        m_exhaustionsLeft = MostExhaustionProblems;
        m_setsAsked.clear();
    }

    struct Question
    {
        Goal goal;
        int k;
        std::int64_t wins;
        std::int64_t losses;
        int needed;
    };

    Problem problemFor(const Question &q, Judged judged,
                       const std::vector<int> *only = nullptr) const
    {
        Problem problem(m_model, m_team, static_cast<int>(q.wins), static_cast<int>(q.losses));
        problem.setGameCountRule(m_model.gameCountRule);
        problem.require(relationFor(q.goal), q.needed, judged, only);
        return problem;
    }

    // What a level percentage does for a rival judged pair by pair: where
    // the wins come first after it, a rival level with fewer wins is behind.
    [[nodiscard]] LevelRecord pairwiseLevel() const
    {
        return !m_model.steps.empty() && m_model.steps.front() == ConditionCode::Secondary
                   ? LevelRecord::UnlessFewerWins
                   : LevelRecord::Counts;
    }

    // The limit of a problem over the whole schedule where the sets leave a
    // question to the tie-break conditions. In a large view such problems
    // seldom answer late once they have not answered early, and a short
    // limit keeps one question from holding up every answer after it; a
    // small view's problems are small and get the full time.
    [[nodiscard]] Cap wholeLimit() const
    {
        return m_model.teams.size() > SmallView ? CycleLimit : Cap{};
    }

    // "Can k rivals finish ahead of the team (or level with it)?" by sets of
    // k rivals: the bounds of RivalSets rule out most sets, a construction
    // answers for most of the others, and the solver is asked about the
    // few sets left, each with its members given, which it decides far
    // faster than the choice among all rivals. No answer when the sets are
    // too many or too large, or when a problem ran out of time; then
    // `levelKnown` says whether some set was found to draw level.
    std::optional<Answer> bySets(const Question &q, int wins, Certificate *certificate,
                                 bool &levelKnown)
    {
        if (q.k > RivalSets::MostMembers) {
            return std::nullopt;
        }
        std::optional<Answer> answer;
        // On the measure a rival's twin with a better record stands for it,
        // which leaves few sets early in a season, when many rivals have
        // the same games left: when none of those can even draw level, no
        // set can.
        std::optional<std::vector<std::vector<int>>> open =
            openSets(q, wins, certificate, true, answer);
        if (answer || !open) {
            return answer;
        }
        bool anyLevel = false;
        for (const std::vector<int> &set : *open) {
            switch (measureOf(q, set, certificate, answer)) {
            case Given::None:
                continue;
            case Given::Level:
                anyLevel = true;
                break;
            case Given::Answered:
            case Given::Open:
                return answer;
            }
            break;
        }
        if (!anyLevel) {
            return Answer::No; // no set of k rivals can even draw level
        }
        // The tie-break conditions can tell twins apart.
        open = openSets(q, wins, certificate, false, answer);
        if (answer || !open) {
            return answer;
        }
        // What is left can only draw level with the team: the conditions
        // decide, set by set, as in ask, each set as soon as it is known to
        // draw level, and every set pair by pair before the cycles of any:
        // one that puts the team out answers at once, where the cycles of
        // another set could only be searched at length and mostly to no end.
        m_tieBreak = true;
        std::vector<std::vector<int>> level;
        std::vector<std::size_t> cycles;
        for (const std::vector<int> &set : *open) {
            switch (measureOf(q, set, certificate, answer)) {
            case Given::None:
                continue;
            case Given::Level:
                break;
            case Given::Answered:
            case Given::Open:
                levelKnown = !level.empty();
                return answer;
            }
            level.push_back(set);
            levelKnown = true;
            // Pair by pair, which is the standings' order unless a cycle of
            // series can form: split by the members that end level first,
            // whose problems have no choice on the measure left and mostly
            // answer at once, then as one problem where the splits cannot.
            Answer byPairs = byLevelMembers(q, set, certificate);
            if (byPairs == Answer::Unknown && !m_budget.stopped()) {
                Problem pairwise = pairwiseOf(q, set);
                byPairs = search(pairwise, q, certificate, MostRejections, wholeLimit());
            }
            if (byPairs != Answer::No) {
                return byPairs == Answer::Yes ? byPairs : std::optional<Answer>();
            }
            if (!m_model.pairwiseExact) {
                cycles.push_back(level.size() - 1);
            }
        }
        if (!cycles.empty()) {
            if (const Answer a = byTopSplits(q, level, certificate); a != Answer::Unknown) {
                return a;
            }
            if (m_budget.stopped()) {
                return std::nullopt;
            }
        }
        bool cycleOpen = false;
        for (const std::size_t c : cycles) {
            const std::vector<int> &set = level[c];
            // Where one can, first the looser problem without the cycles,
            // whose "no" is as good and far quicker.
            switch (twoLevel(q, set)) {
            case IntegerProgram::Outcome::Infeasible:
                continue;
            case IntegerProgram::Outcome::Stopped:
                return std::nullopt;
            case IntegerProgram::Outcome::TimedOut:
            case IntegerProgram::Outcome::Feasible:
                break;
            }
            Problem anyOrder = problemFor(q, Judged::AnyOrderWhenMixed, &set);
            anyOrder.tightenLevelOrBetter(set, LevelRecord::Counts);
            // Its outcomes need a cycle, which the standings' sort may or
            // may not follow in the list order: when the first few fail
            // that check, more of the same seldom differ, and the question
            // is left open rather than searched to the deadline. In a large
            // view the other sets are still asked, as one of them may put
            // the team out; the problem over the whole schedule would only
            // meet the same cycles again.
            const Answer a = search(anyOrder, q, certificate, CycleRejections, CycleLimit);
            if (a == Answer::Yes) {
                return a;
            }
            if (a == Answer::Unknown && (m_budget.stopped() || wholeLimit().work == 0)) {
                return std::nullopt;
            }
            cycleOpen = cycleOpen || a == Answer::Unknown;
        }
        return cycleOpen ? Answer::Unknown : Answer::No;
    }

    // The question once more where the series can cycle, by what the
    // standings' sort reads: in an outcome in which the team misses (or is
    // passed), the rivals level with it or better on the measure are some
    // `top` whose every k of them is one of `sets`, and every other rival is
    // behind it. Each of those rivals is either strictly ahead or level with
    // the one record it can be level with; the rivals ahead are picked
    // first, in some order, and then the sort reads only the series among
    // the level ones (see ReplaySort). So for each such top and each split
    // of it into ahead and level, the sort is replayed through every order
    // of the rivals ahead and every way those series can go: where no way
    // puts the team out, no outcome of that split does, without a solver
    // call; where some do, the solver is asked for an outcome with the
    // split's records and one of those ways. Open where a rival may be level
    // with more than one record, or where the tops or the replays are too
    // many.
    Answer byTopSplits(const Question &q, const std::vector<std::vector<int>> &sets,
                       Certificate *certificate)
    {
        if (m_model.listOrder.empty() || m_model.gameCountRule != 0 || q.losses == 0 ||
            readsOnePart()) {
            return Answer::Unknown;
        }
        // The tops, by size: a top one larger is one whose every top one
        // smaller is known.
        std::set<std::vector<int>> layer;
        for (std::vector<int> set : sets) {
            std::sort(set.begin(), set.end());
            layer.insert(std::move(set));
        }
        std::vector<std::vector<int>> tops(layer.begin(), layer.end());
        const int count = static_cast<int>(m_model.teams.size());
        while (!layer.empty()) {
            std::set<std::vector<int>> larger;
            for (const std::vector<int> &top : layer) {
                for (int r = top.back() + 1; r < count; ++r) {
                    std::vector<int> grown = top;
                    grown.push_back(r);
                    bool known = r != m_team;
                    for (std::size_t drop = 0; known && drop + 1 < grown.size(); ++drop) {
                        std::vector<int> smaller = grown;
                        smaller.erase(smaller.begin() + static_cast<std::ptrdiff_t>(drop));
                        known = layer.count(smaller) != 0;
                    }
                    if (known) {
                        larger.insert(std::move(grown));
                    }
                }
            }
            if (!larger.empty() && larger.begin()->size() > MostTopSplitMembers) {
                return Answer::Unknown;
            }
            tops.insert(tops.end(), larger.begin(), larger.end());
            layer = std::move(larger);
        }
        const Problem probe(m_model, m_team, static_cast<int>(q.wins), static_cast<int>(q.losses));
        std::vector<std::vector<char>> mirrored(static_cast<std::size_t>(count),
                                                std::vector<char>(static_cast<std::size_t>(count)));
        for (int a = 0; a < count; ++a) {
            for (int b = 0; b < count; ++b) {
                mirrored[a][b] = a != b && probe.seriesMirrored(a, b) ? 1 : 0;
            }
        }
        int replaysLeft = MostSortReplays;
        Parts parts;
        for (const std::vector<int> &top : tops) {
            if (parts.take(splitsOfTop(q, top, probe, mirrored, replaysLeft, certificate))) {
                return Answer::Yes;
            }
            if (m_budget.stopped()) {
                return Answer::Unknown;
            }
        }
        return parts.answer;
    }

    // One top of byTopSplits, split every way into rivals ahead and level.
    Answer splitsOfTop(const Question &q, const std::vector<int> &top, const Problem &probe,
                       const std::vector<std::vector<char>> &mirrored, int &replaysLeft,
                       Certificate *certificate)
    {
        std::vector<std::optional<Point>> levelAt;
        for (const int r : top) {
            const std::optional<std::vector<Point>> records = probe.fewLevelRecords(r);
            if (!records) {
                return Answer::Unknown;
            }
            levelAt.push_back(records->empty() ? std::nullopt : std::optional(records->front()));
        }
        const auto count = static_cast<std::size_t>(m_model.teams.size());
        std::vector<int> others;
        for (int r = 0; r < static_cast<int>(count); ++r) {
            if (r != m_team && std::find(top.begin(), top.end(), r) == top.end()) {
                others.push_back(r);
            }
        }
        std::vector<int> rows = top; // the team and its rivals level or better
        rows.push_back(m_team);
        Parts parts;
        for (unsigned split = 0; split < (1U << top.size()); ++split) {
            // The replay reads the records of the level rivals, only that
            // the rivals ahead are ahead, and only that the others are behind.
            std::vector<std::int64_t> wins(count, 0);
            std::vector<std::int64_t> losses(count, 1);
            wins[m_team] = q.wins;
            losses[m_team] = q.losses;
            std::vector<int> level;
            std::vector<int> ahead;
            bool possible = true;
            for (std::size_t m = 0; m < top.size(); ++m) {
                const auto r = static_cast<std::size_t>(top[m]);
                if (((split >> m) & 1U) == 0) {
                    ahead.push_back(top[m]);
                    wins[r] = q.wins + q.losses + 1;
                    losses[r] = 0;
                } else if (levelAt[m]) {
                    level.push_back(top[m]);
                    wins[r] = levelAt[m]->first;
                    losses[r] = levelAt[m]->second;
                } else {
                    possible = false;
                }
            }
            if (!possible) {
                continue;
            }
            // The split's records first, which mostly cannot be had at all
            // (the rivals ahead stated per way of their card with the team,
            // as for a set strictly ahead): then the sort need not be replayed.
            Problem problem(m_model, m_team, static_cast<int>(q.wins), static_cast<int>(q.losses));
            for (const int r : level) {
                problem.giveRecord(r, wins[static_cast<std::size_t>(r)],
                                   losses[static_cast<std::size_t>(r)]);
            }
            if (!ahead.empty()) {
                problem.requireStrictly(Relation::Ahead, static_cast<int>(ahead.size()), &ahead);
                problem.tightenLevelOrBetter(ahead, LevelRecord::Excluded);
            }
            if (!others.empty()) {
                problem.requireStrictly(Relation::Behind, static_cast<int>(others.size()), &others);
            }
            const IntegerProgram::Outcome records = problem.solve(m_budget, ShortcutLimit);
            if (records == IntegerProgram::Outcome::Infeasible) {
                continue;
            }
            if (records != IntegerProgram::Outcome::Feasible) {
                parts.take(Answer::Unknown);
                continue;
            }
            if (Certificate outcome = problem.readOutcome();
                accept(q.goal, q.k, q.wins, q.losses, outcome)) {
                return found(std::move(outcome), certificate, q.goal, q.k, q.wins, q.losses);
            }
            // The order the rivals ahead are picked in follows from their
            // records, which the replay does not know: every order is
            // followed, unless k of them already leave the team out.
            std::vector<std::vector<int>> orders{ahead};
            if (static_cast<int>(ahead.size()) < q.k) {
                if (ahead.size() > MostOrdersAbove) {
                    parts.take(Answer::Unknown);
                    continue;
                }
                while (std::next_permutation(ahead.begin(), ahead.end())) {
                    orders.push_back(ahead);
                }
            }
            std::vector<Problem::SeriesWays> leading;
            std::vector<Problem::SeriesWays> failing;
            std::vector<std::vector<int>> ways(count, std::vector<int>(count, -1));
            int all = 0;
            if (!followTheSort(probe, q, SortRecords{wins, losses, rows, mirrored, ahead}, orders,
                               ways, leading, failing, replaysLeft, all)) {
                // Too many ways to follow: where about as many lead as fail,
                // a few more outcomes of the split, each with the series
                // among the level group gone another way, soon show one.
                std::vector<int> group = level;
                group.push_back(m_team);
                std::vector<std::pair<int, int>> pairs;
                for (const int a : group) {
                    for (const int b : group) {
                        if (a != b) {
                            pairs.emplace_back(a, b);
                        }
                    }
                }
                problem.excludeSeries(pairs);
                int left = std::min(m_rearrangementsLeft, MostWaysOfAnOpenSplit);
                const int given = left;
                bool exhausted = false;
                std::optional<Certificate> other =
                    eachWayOfTheSeries(problem, q, pairs, left, exhausted);
                m_rearrangementsLeft -= given - left;
                if (other) {
                    return found(std::move(*other), certificate, q.goal, q.k, q.wins, q.losses);
                }
                parts.take(Answer::Unknown);
                continue;
            }
            if (leading.empty()) {
                continue; // no outcome of this split puts the team out
            }
            // The ways that lead, or the fewer that do not, as rows.
            if (leading.size() <= failing.size()) {
                problem.requireOneOf(leading);
            } else {
                for (const Problem::SeriesWays &fails : failing) {
                    problem.excludeSeriesWays(fails);
                }
            }
            // An outcome the standings reject picked the rivals ahead in
            // another order than the way of the series it follows needs.
            if (parts.take(
                    search(problem, q, certificate, CycleRejections, ShortcutLimit, false))) {
                return Answer::Yes;
            }
            if (m_budget.stopped()) {
                return Answer::Unknown;
            }
        }
        return parts.answer;
    }

    // Whether a condition reads the league or interleague games alone,
    // which the records of a whole season do not tell.
    [[nodiscard]] bool readsOnePart() const
    {
        return std::any_of(m_model.steps.begin(), m_model.steps.end(), [](int code) {
            return code >= ConditionCode::LeaguePct && code <= ConditionCode::InterleagueWins;
        });
    }

    // A set's question judged pair by pair, which is the standings' order
    // unless a cycle of series can form. Its members win their games
    // against the rest, which helps them on every step of the walk.
    [[nodiscard]] Problem pairwiseOf(const Question &q, const std::vector<int> &set) const
    {
        Problem pairwise = problemFor(q, Judged::Pairwise, &set);
        pairwise.membersBeatTheOthers(set);
        pairwise.tightenLevelOrBetter(set, pairwiseLevel());
        return pairwise;
    }

    // The pair-by-pair problem of a set, split by which members
    // end level with the team on the percentage: where each member has one
    // record it can be level with, a member is either strictly ahead or has
    // that very record, and each split is a problem without choices on the
    // measure (the one problem had to find whole records on the level line
    // for several members at once, and at times ran out of work doing so).
    // The splits together are the one problem, so their "no" is its "no".
    Answer byLevelMembers(const Question &q, const std::vector<int> &set, Certificate *certificate)
    {
        if (set.size() > MostLevelSplitMembers) {
            return Answer::Unknown;
        }
        const Problem probe(m_model, m_team, static_cast<int>(q.wins), static_cast<int>(q.losses));
        std::vector<std::vector<Point>> level;
        unsigned canBeLevel = 0;
        for (const int r : set) {
            std::optional<std::vector<Point>> records = probe.fewLevelRecords(r);
            if (!records) {
                return Answer::Unknown;
            }
            canBeLevel |= records->empty() ? 0U : 1U << level.size();
            level.push_back(std::move(*records));
        }
        Parts parts;
        for (unsigned split = 0; split < (1U << set.size()); ++split) {
            if ((split & ~canBeLevel) != 0) {
                continue; // a member that cannot be level is not split on
            }
            Problem problem(m_model, m_team, static_cast<int>(q.wins), static_cast<int>(q.losses));
            std::vector<int> levelled;
            std::vector<int> ahead;
            for (std::size_t m = 0; m < set.size(); ++m) {
                if (((split >> m) & 1U) == 0) {
                    ahead.push_back(set[m]);
                } else {
                    levelled.push_back(set[m]);
                    problem.giveRecord(set[m], level[m].front().first, level[m].front().second);
                }
            }
            problem.setGameCountRule(m_model.gameCountRule);
            problem.membersBeatTheOthers(set);
            problem.requireStrictly(Relation::Ahead, static_cast<int>(ahead.size()), &ahead);
            problem.require(relationFor(q.goal), static_cast<int>(levelled.size()),
                            Judged::Pairwise, &levelled);
            if (parts.take(search(problem, q, certificate, MostRejections, ShortcutLimit))) {
                return Answer::Yes;
            }
            if (m_budget.stopped()) {
                return Answer::Unknown;
            }
        }
        return parts.answer;
    }

    // The looser problem of a set, without the cycles: two rivals level
    // with the team up to the series. Where that means the team's very
    // record (the wins come before the series), it is asked once for each
    // pair of rivals that can end with that record, each pair's records
    // given: the relaxation of the one problem that leaves the pair open
    // lets fractions of many rivals be level, and seldom answers.
    IntegerProgram::Outcome twoLevel(const Question &q, const std::vector<int> &set)
    {
        std::vector<int> matching;
        const bool recordGiven = q.wins > 0 && levelUpToSeriesIsRecord();
        for (int r = 0; recordGiven && r < static_cast<int>(m_model.teams.size()); ++r) {
            const Participant &p = m_model.teams[r];
            const std::int64_t wins = q.wins - p.wins;
            const std::int64_t losses = q.losses - p.losses;
            if (r != m_team && wins >= 0 && losses >= 0 && wins + losses <= p.remaining) {
                matching.push_back(r);
            }
        }
        const std::size_t pairs = matching.size() * (matching.size() - 1) / 2;
        if (!recordGiven || pairs > MostLevelPairs) {
            Problem loose = problemFor(q, Judged::AnyOrderWhenTwoLevel, &set);
            loose.tightenLevelOrBetter(set, LevelRecord::Counts);
            return loose.solve(m_budget, CycleLimit);
        }
        for (std::size_t i = 0; i < matching.size(); ++i) {
            for (std::size_t j = i + 1; j < matching.size(); ++j) {
                Problem loose = problemFor(q, Judged::AnyOrderWhenTwoLevel, &set);
                loose.giveRecord(matching[i], q.wins, q.losses);
                loose.giveRecord(matching[j], q.wins, q.losses);
                loose.tightenLevelOrBetter(set, LevelRecord::Counts);
                if (const IntegerProgram::Outcome o = loose.solve(m_budget, CycleLimit);
                    o != IntegerProgram::Outcome::Infeasible) {
                    return o;
                }
            }
        }
        return IntegerProgram::Outcome::Infeasible;
    }

    // Whether two teams level on every step before the series have the
    // same record: the wins come before it, so both the percentage and the
    // wins are level.
    [[nodiscard]] bool levelUpToSeriesIsRecord() const
    {
        for (const int code : m_model.steps) {
            if (code == ConditionCode::Series) {
                return false;
            }
            if (code == ConditionCode::Secondary) {
                return true;
            }
        }
        return false;
    }

    // The sets of k rivals the bounds allow and the construction did not
    // settle, once no set was found strictly ahead on the solver's word;
    // none when there were too many, or when `answer` was found on the way.
    std::optional<std::vector<std::vector<int>>> openSets(const Question &q, int wins,
                                                          Certificate *certificate, bool twins,
                                                          std::optional<Answer> &answer)
    {
        // The sets the bounds allow and the construction did not settle;
        // false when there were too many.
        auto candidates = [&](bool strictly, std::vector<std::vector<int>> &open) {
            const RivalSets sets(m_model, m_team, wins, strictly, twins);
            bool tooMany = false;
            sets.forEach(q.k, [&](const std::vector<int> &set) {
                if (std::optional<Certificate> outcome = sets.construct(set);
                    outcome && accept(q.goal, q.k, q.wins, q.losses, *outcome)) {
                    answer = found(std::move(*outcome), certificate, q.goal, q.k, q.wins, q.losses);
                    return true;
                }
                tooMany = open.size() == MostOpenSets;
                if (!tooMany) {
                    open.push_back(set);
                }
                return tooMany || m_budget.stopped();
            });
            return !tooMany && !m_budget.stopped();
        };
        std::vector<std::vector<int>> strictOpen;
        const bool allStrict = candidates(true, strictOpen);
        std::vector<std::vector<int>> levelOpen;
        if (answer || !candidates(false, levelOpen) || answer) {
            return std::nullopt;
        }
        // Strictly ahead first (no tie-break needed). The pass without twins
        // meets most sets of the pass with them again, and a set's problems
        // do not depend on the pass.
        for (const std::vector<int> &set :
             allStrict ? strictOpen : std::vector<std::vector<int>>{}) {
            if (!m_setsAsked.emplace(std::pair(true, set), true).second) {
                continue;
            }
            Problem problem(m_model, m_team, static_cast<int>(q.wins), static_cast<int>(q.losses));
            problem.requireStrictly(Relation::Ahead, q.k, &set);
            problem.membersBeatTheOthers(set);
            problem.tightenLevelOrBetter(set, LevelRecord::Excluded);
            const Given g = solveGiven(problem, q, certificate, answer);
            if (g == Given::Answered || g == Given::Open) {
                return std::nullopt;
            }
        }
        return levelOpen;
    }

    // What an outcome of a problem with its set given came to.
    enum class Given
    {
        None,     // no outcome
        Level,    // the set can draw level (or the problem ran out of work)
        Answered, // `answer` found
        Open      // stopped
    };

    // A problem with its set given: its outcome is the answer when the
    // standings rank it as asked. Such problems only shorten the way: the
    // tie-break problem of a set decides it, so one that runs out of work
    // leaves the set to it.
    Given solveGiven(Problem &problem, const Question &q, Certificate *certificate,
                     std::optional<Answer> &answer)
    {
        switch (problem.solve(m_budget, ShortcutLimit)) {
        case IntegerProgram::Outcome::Infeasible:
            return Given::None;
        case IntegerProgram::Outcome::TimedOut:
            return Given::Level;
        case IntegerProgram::Outcome::Stopped:
            return Given::Open;
        case IntegerProgram::Outcome::Feasible:
            break;
        }
        if (Certificate c = problem.readOutcome(); accept(q.goal, q.k, q.wins, q.losses, c)) {
            answer = found(std::move(c), certificate, q.goal, q.k, q.wins, q.losses);
            return Given::Answered;
        }
        return Given::Level;
    }

    // Whether every rival of `set` can end level with the team or better on
    // the measure, asked once a question.
    Given measureOf(const Question &q, const std::vector<int> &set, Certificate *certificate,
                    std::optional<Answer> &answer)
    {
        if (const auto asked = m_setsAsked.find(std::pair(false, set));
            asked != m_setsAsked.end()) {
            return asked->second ? Given::Level : Given::None;
        }
        Problem problem = problemFor(q, Judged::Measure, &set);
        problem.membersBeatTheOthers(set);
        problem.tightenLevelOrBetter(set, LevelRecord::Counts);
        const Given g = solveGiven(problem, q, certificate, answer);
        if (g == Given::None || g == Given::Level) {
            m_setsAsked.emplace(std::pair(false, set), g == Given::Level);
        }
        return g;
    }

    // Outcomes of the problem, each checked by the standings, until one
    // answers the question or there are none; with `lookNear`, each
    // rejected one is first looked at again with its level games played
    // out other ways and its records at the top tried every way.
    Answer search(Problem &problem, const Question &q, Certificate *certificate,
                  int rejections = MostRejections, Cap cap = {}, bool lookNear = true)
    {
        for (int attempt = 0; attempt < rejections; ++attempt) {
            switch (problem.solve(m_budget, cap)) {
            case IntegerProgram::Outcome::Infeasible:
                return Answer::No;
            case IntegerProgram::Outcome::TimedOut:
            case IntegerProgram::Outcome::Stopped:
                return Answer::Unknown;
            case IntegerProgram::Outcome::Feasible:
                break;
            }
            Certificate outcome = problem.readOutcome();
            if (accept(q.goal, q.k, q.wins, q.losses, outcome)) {
                return found(std::move(outcome), certificate, q.goal, q.k, q.wins, q.losses,
                             &problem);
            }
            if (!lookNear) {
                problem.exclude();
                continue;
            }
            if (std::optional<Certificate> other = rearrangeLevelGames(q, outcome)) {
                return found(std::move(*other), certificate, q.goal, q.k, q.wins, q.losses);
            }
            bool exhausted = false;
            if (std::optional<Certificate> other = exhaustTopRecords(q, outcome, exhausted)) {
                return found(std::move(*other), certificate, q.goal, q.k, q.wins, q.losses);
            }
            if (exhausted) {
                problem.excludeTopRecords(topOf(q, outcome), records(outcome).first,
                                          records(outcome).second);
            }
            problem.exclude();
        }
        return Answer::Unknown;
    }

    // Near an outcome the standings rejected: every team's record as it
    // is, and the games among the teams level with the team on the measure
    // played out another way. That changes only the series among them,
    // which is where the standings' sort may place a level group in another
    // order than the problem could tell. Each way the series can go is
    // tried once, up to MostRearrangements for all the rejected outcomes of
    // one question; the first outcome the standings accept.
    std::optional<Certificate> rearrangeLevelGames(const Question &q, const Certificate &outcome)
    {
        const auto [wins, losses] = records(outcome);
        const int count = static_cast<int>(m_model.teams.size());
        std::vector<int> level;
        for (int v = 0; v < count; ++v) {
            if (compareMeasure(m_model.byWins, wins[v], losses[v], q.wins, q.losses) == 0) {
                level.push_back(v);
            }
        }
        if (level.size() < 3) {
            return std::nullopt;
        }
        auto in = [&](int v) { return std::find(level.begin(), level.end(), v) != level.end(); };
        Problem problem(m_model, m_team, static_cast<int>(q.wins), static_cast<int>(q.losses));
        for (std::size_t c = 0; c < m_model.cards.size(); ++c) {
            const Card &card = m_model.cards[c];
            if (!in(card.viewA) || !in(card.viewB)) {
                const auto result =
                    std::find_if(outcome.begin(), outcome.end(), [&](const CardOutcome &o) {
                        return o.Team == card.teamA && o.Opponent == card.teamB;
                    });
                if (result == outcome.end()) {
                    return std::nullopt;
                }
                problem.fixCard(c, *result);
            }
        }
        std::vector<std::pair<int, int>> pairs;
        for (std::size_t x = 0; x < level.size(); ++x) {
            problem.giveRecord(level[x], wins[level[x]], losses[level[x]]);
            for (std::size_t y = x + 1; y < level.size(); ++y) {
                pairs.emplace_back(level[x], level[y]);
            }
        }
        bool exhausted = false;
        return eachWayOfTheSeries(problem, q, pairs, m_rearrangementsLeft, exhausted);
    }

    // The problem's outcomes one way of the series of `pairs` at a time,
    // each checked by the standings, while `left` lasts: the first the
    // standings accept. `exhausted` when no way was left untried.
    std::optional<Certificate> eachWayOfTheSeries(Problem &problem, const Question &q,
                                                  const std::vector<std::pair<int, int>> &pairs,
                                                  int &left, bool &exhausted)
    {
        while (left > 0) {
            --left;
            switch (problem.solve(m_budget, ShortcutLimit)) {
            case IntegerProgram::Outcome::Infeasible:
                exhausted = true;
                return std::nullopt;
            case IntegerProgram::Outcome::TimedOut:
            case IntegerProgram::Outcome::Stopped:
                return std::nullopt;
            case IntegerProgram::Outcome::Feasible:
                break;
            }
            Certificate other = problem.readOutcome();
            if (accept(q.goal, q.k, q.wins, q.losses, other)) {
                return other;
            }
            problem.excludeSeries(pairs);
        }
        return std::nullopt;
    }

    // The team and the rivals level with it or better on the measure in an
    // outcome.
    [[nodiscard]] std::vector<int> topOf(const Question &q, const Certificate &outcome) const
    {
        const auto [wins, losses] = records(outcome);
        std::vector<int> top;
        for (int v = 0; v < static_cast<int>(m_model.teams.size()); ++v) {
            if (compareMeasure(m_model.byWins, wins[v], losses[v], q.wins, q.losses) >= 0) {
                top.push_back(v);
            }
        }
        return top;
    }

    // Once the records of the team and of every rival level with it or
    // better are given, and every other rival is behind, the standings'
    // order depends only on the series between teams the conditions leave
    // level up to the series: the sort meets them in an order that follows
    // from the list and the records alone. So when no way those series can
    // go, over all outcomes with these records, answers the question, none
    // of those outcomes does, and `exhausted` says so; an outcome that does
    // answer is returned. Not where a condition reads the league or
    // interleague games alone, which the records do not fix.
    std::optional<Certificate> exhaustTopRecords(const Question &q, const Certificate &outcome,
                                                 bool &exhausted)
    {
        for (const int code : m_model.steps) {
            if (code >= ConditionCode::LeaguePct && code <= ConditionCode::InterleagueWins) {
                return std::nullopt;
            }
        }
        // Not a structured binding: the lambda below reads both.
        const std::pair<std::vector<std::int64_t>, std::vector<std::int64_t>> held =
            records(outcome);
        const std::vector<std::int64_t> &wins = held.first;
        const std::vector<std::int64_t> &losses = held.second;
        const std::vector<int> top = topOf(q, outcome);
        std::vector<int> others;
        for (int v = 0; v < static_cast<int>(m_model.teams.size()); ++v) {
            if (std::find(top.begin(), top.end(), v) == top.end()) {
                others.push_back(v);
            }
        }
        // Pairs the conditions walk to the series: level on the measure and
        // on every step before it.
        auto levelUpToSeries = [&](int a, int b) {
            if (compareMeasure(m_model.byWins, wins[a], losses[a], wins[b], losses[b]) != 0) {
                return false;
            }
            for (const int code : m_model.steps) {
                if (code == ConditionCode::Series) {
                    return true;
                }
                if (code == ConditionCode::Secondary &&
                    compareMeasure(!m_model.byWins, wins[a], losses[a], wins[b], losses[b]) != 0) {
                    return false;
                }
                if (code >= ConditionCode::GridOrder) {
                    return false; // the walk ends at a fixed order
                }
            }
            return false;
        };
        // Each side reads a series with its own draw rule, so both readings
        // are part of the way it goes.
        std::vector<std::pair<int, int>> pairs;
        for (std::size_t x = 0; x < top.size(); ++x) {
            for (std::size_t y = x + 1; y < top.size(); ++y) {
                if (levelUpToSeries(top[x], top[y])) {
                    pairs.emplace_back(top[x], top[y]);
                    pairs.emplace_back(top[y], top[x]);
                }
            }
        }
        Problem problem(m_model, m_team, static_cast<int>(q.wins), static_cast<int>(q.losses));
        for (const int v : top) {
            problem.giveRecord(v, wins[v], losses[v]);
        }
        problem.requireStrictly(Relation::Behind, static_cast<int>(others.size()), &others);
        return eachWayOfTheSeries(problem, q, pairs, m_exhaustionsLeft, exhausted);
    }

    // The ways the series the sort reads can go, as far as the bounds of the
    // games left allow, followed through the replay of the sort with the
    // rivals ahead picked in each of `orders`, as sets of ways (each
    // giving the series read on its way there): those after which the goal
    // holds in some order go to `leading`, those after which it fails in
    // every order to `failing`. Together they are every way the series can
    // go. Where every way of a series read ends alike, the ways below it
    // are given as one, without that series. `all`: 1 every way from here
    // leads, -1 every way fails, 0 some of each. False when the replays
    // allowed ran out, or both lists grew too long.
    bool followTheSort(const Problem &problem, const Question &q, const SortRecords &input,
                       const std::vector<std::vector<int>> &orders,
                       std::vector<std::vector<int>> &ways,
                       std::vector<Problem::SeriesWays> &leading,
                       std::vector<Problem::SeriesWays> &failing, int &replaysLeft, int &all) const
    {
        auto held = [&] {
            Problem::SeriesWays known;
            for (const int a : input.top) {
                for (const int b : input.top) {
                    if (ways[a][b] >= 0) {
                        known.push_back({a, b, ways[a][b]});
                    }
                }
            }
            return known;
        };
        SortReplay needs;
        bool holds = false;
        for (const std::vector<int> &order : orders) {
            if (--replaysLeft < 0) {
                return false;
            }
            const SortRecords ordered{input.wins, input.losses, input.top, input.mirrored, order};
            const SortReplay replay = ReplaySort(m_model, m_team, q.goal, q.k, ordered, ways);
            holds = replay.verdict == SortReplay::Verdict::Holds;
            if (holds) {
                break;
            }
            if (replay.verdict == SortReplay::Verdict::Needs && needs.first < 0) {
                needs = replay;
            }
        }
        if (holds || needs.first < 0) {
            (holds ? leading : failing).push_back(held());
            all = holds ? 1 : -1;
            return true;
        }
        const std::size_t leadingBefore = leading.size();
        const std::size_t failingBefore = failing.size();
        bool everyLeads = true;
        bool everyFails = true;
        for (int way = 0; way < 3; ++way) {
            if (!problem.seriesCanGo(needs.first, needs.second, way)) {
                continue;
            }
            ways[needs.first][needs.second] = way;
            int below = 0;
            const bool followed = followTheSort(problem, q, input, orders, ways, leading, failing,
                                                replaysLeft, below);
            ways[needs.first][needs.second] = -1;
            if (!followed) {
                return false;
            }
            everyLeads = everyLeads && below == 1;
            everyFails = everyFails && below == -1;
        }
        all = everyLeads ? 1 : (everyFails ? -1 : 0);
        if (all != 0) {
            std::vector<Problem::SeriesWays> &same = all == 1 ? leading : failing;
            same.resize(all == 1 ? leadingBefore : failingBefore);
            same.push_back(held());
        }
        return leading.size() <= MostLeadingWays || failing.size() <= MostLeadingWays;
    }

    // For a question every outcome answers: the team's games as fixed, the
    // rest from the solver, checked all the same.
    Answer confirmSome(Goal goal, int wins, int k, Certificate *certificate)
    {
        const Participant &me = m_model.teams[m_team];
        const std::int64_t finalWins = me.wins + wins;
        const std::int64_t finalLosses = me.losses + me.remaining - wins;
        Problem any(m_model, m_team, static_cast<int>(finalWins), static_cast<int>(finalLosses));
        if (any.solve(m_budget) != IntegerProgram::Outcome::Feasible) {
            return Answer::Unknown;
        }
        Certificate outcome = any.readOutcome();
        if (!accept(goal, k, finalWins, finalLosses, outcome)) {
            return Answer::Unknown;
        }
        return found(std::move(outcome), certificate, goal, k, finalWins, finalLosses, &any);
    }

    bool accept(Goal goal, int k, std::int64_t wins, std::int64_t losses,
                const Certificate &outcome)
    {
        if (!playsOut(m_model, m_team, wins, losses, outcome)) {
            return false;
        }
        const Placing placing = m_ranker.rank(outcome)[static_cast<std::size_t>(m_team)];
        const bool holds = goalHolds(goal, placing, k);
        // The measure alone would leave the team sharing the places of all
        // rivals level with it; where the standings answer otherwise, a
        // tie-break had its say.
        if (holds != goalHolds(goal, measurePlacing(outcome), k)) {
            m_tieBreak = true;
        }
        return holds;
    }

    // The final wins and losses of every view team in an outcome.
    [[nodiscard]] std::pair<std::vector<std::int64_t>, std::vector<std::int64_t>>
    records(const Certificate &outcome) const
    {
        const int count = static_cast<int>(m_model.teams.size());
        std::vector<std::int64_t> wins(count);
        std::vector<std::int64_t> losses(count);
        for (int i = 0; i < count; ++i) {
            wins[i] = m_model.teams[i].wins;
            losses[i] = m_model.teams[i].losses;
        }
        for (const CardOutcome &o : outcome) {
            for (int i = 0; i < count; ++i) {
                const int teamNo = m_model.teams[i].teamNo;
                wins[i] += o.Team == teamNo ? o.Wins : (o.Opponent == teamNo ? o.Losses : 0);
                losses[i] += o.Team == teamNo ? o.Losses : (o.Opponent == teamNo ? o.Wins : 0);
            }
        }
        return {wins, losses};
    }

    [[nodiscard]] Placing measurePlacing(const Certificate &outcome) const
    {
        const int count = static_cast<int>(m_model.teams.size());
        const auto [wins, losses] = records(outcome);
        Placing p{1, 1};
        for (int r = 0; r < count; ++r) {
            if (r == m_team) {
                continue;
            }
            const int c =
                compareMeasure(m_model.byWins, wins[r], losses[r], wins[m_team], losses[m_team]);
            p.Rank += c > 0 ? 1 : 0;
            p.Shared += c == 0 ? 1 : 0;
        }
        return p;
    }

    // An outcome that answers the question (made ordinary later, once every
    // answer is known: see makeOrdinary).
    static Answer found(Certificate outcome, Certificate *certificate, Goal, int, std::int64_t,
                        std::int64_t, Problem * = nullptr)
    {
        if (certificate != nullptr) {
            *certificate = std::move(outcome);
        }
        return Answer::Yes;
    }

public:
    // Replaces the state's outcomes by the most ordinary ones that still
    // prove the same, each checked by the standings again. Only a nicer
    // example: the answers do not depend on it.
    void makeOrdinary(RaceState &s, int k, Budget &budget, Cap cap)
    {
        const Participant &me = m_model.teams[m_team];
        const int rivals = static_cast<int>(m_model.teams.size()) - 1;
        // The rivals strictly behind (or ahead of) the team on the measure
        // in the outcome found: asked to stand there again, they need no
        // tie-break and no choice, a problem the solver answers at once in
        // any size of league. Empty when the outcome needed a tie.
        auto apart = [&](const Certificate &outcome, Relation relation, int needed) {
            const auto [wins, losses] = records(outcome);
            std::vector<int> set;
            for (int r = 0; r <= rivals; ++r) {
                const int c = r == m_team ? 0
                                          : compareMeasure(m_model.byWins, wins[r], losses[r],
                                                           wins[m_team], losses[m_team]);
                if (relation == Relation::Behind ? c < 0 : c > 0) {
                    set.push_back(r);
                }
            }
            if (static_cast<int>(set.size()) < needed) {
                set.clear();
            }
            return set;
        };
        auto problemWith = [&](Goal goal, int wins, const std::vector<int> &set) {
            const std::int64_t finalWins = me.wins + wins;
            const std::int64_t finalLosses = me.losses + me.remaining - wins;
            if (set.empty()) {
                return problemFor({goal, k, finalWins, finalLosses, neededFor(goal, rivals, k)},
                                  Judged::Pairwise);
            }
            Problem problem(m_model, m_team, static_cast<int>(finalWins),
                            static_cast<int>(finalLosses));
            problem.requireStrictly(goal == Goal::Miss ? Relation::Ahead : Relation::Behind,
                                    static_cast<int>(set.size()), &set);
            return problem;
        };
        auto improve = [&](std::optional<Certificate> &certificate, Goal goal, int wins,
                           const std::vector<int> &set) {
            if (!certificate || budget.stopped()) {
                return;
            }
            const std::int64_t finalWins = me.wins + wins;
            const std::int64_t finalLosses = me.losses + me.remaining - wins;
            Problem problem = problemWith(goal, wins, set);
            if (std::optional<Certificate> better = problem.ordinary(budget, cap);
                better && accept(goal, k, finalWins, finalLosses, *better)) {
                certificate = std::move(*better);
            }
        };
        // The team need not win out to get in: the fewest wins that still
        // do it (more wins never hurt, so a binary search finds them) make
        // the most ordinary season for the team itself.
        const Goal reach = s.ReachNeedsTie ? Goal::ReachShared : Goal::ReachAlone;
        const std::vector<int> behind =
            s.Reach && reach == Goal::ReachAlone
                ? apart(*s.Reach, Relation::Behind, neededFor(reach, rivals, k))
                : std::vector<int>{};
        const double share =
            me.wins + me.losses > 0 ? static_cast<double>(me.wins) / (me.wins + me.losses) : 0.5;
        // Its own pace: no fewer wins than its record so far suggests.
        const int pace =
            std::clamp(static_cast<int>(std::lround(me.remaining * share)), 0, me.remaining);
        int enough = me.remaining;
        int notEnough = pace - 1;
        for (int step = 0;
             s.Reach && enough - notEnough > 1 && step < OrdinarySteps && !budget.stopped();
             ++step) {
            const int middle = notEnough + (enough - notEnough) / 2;
            const std::int64_t finalWins = me.wins + middle;
            const std::int64_t finalLosses = me.losses + me.remaining - middle;
            Problem problem = problemWith(reach, middle, behind);
            Certificate outcome;
            const bool gets =
                problem.solve(budget, cap) == IntegerProgram::Outcome::Feasible &&
                accept(reach, k, finalWins, finalLosses, outcome = problem.readOutcome());
            (gets ? enough : notEnough) = middle;
            if (gets) {
                s.Reach = std::move(outcome); // fewer wins, already more ordinary
            }
        }
        improve(s.Reach, reach, enough, behind);
        improve(s.WinOutFailure, Goal::Miss, me.remaining,
                s.WinOutFailure ? apart(*s.WinOutFailure, Relation::Ahead, k) : std::vector<int>{});
    }

private:
    // Of the team's losses, how many rival r can take: all their meetings,
    // as far as the team loses that many.
    [[nodiscard]] int rivalTakes(int r, int wins) const
    {
        return std::min(m_meetings[r], m_model.teams[m_team].remaining - wins);
    }

    // Rival r's best final record when the team wins `wins` of its remaining
    // games: r wins every game it has left except the meetings the team must
    // win. Most wins and fewest losses at once, so it is the best on either
    // measure.
    [[nodiscard]] std::pair<std::int64_t, std::int64_t> bestOf(int r, int wins) const
    {
        const Participant &rival = m_model.teams[r];
        const int takes = rivalTakes(r, wins);
        return {rival.wins + rival.remaining - m_meetings[r] + takes,
                rival.losses + m_meetings[r] - takes};
    }

    // The outcome behind bestOf(r, wins): the team wins its other games
    // first, so that r can have as many of its losses as they play.
    [[nodiscard]] Certificate bestOutcomeFor(int r, int wins) const
    {
        int teamWinsLeft = wins - (m_meetings[r] - rivalTakes(r, wins));
        int meetingWinsLeft = rivalTakes(r, wins);
        Certificate out;
        for (const Card &card : m_model.cards) {
            CardOutcome o{card.teamA, card.teamB, card.games, 0, 0};
            auto side = [&](int favoured, int winsOfFavoured) {
                const int w = std::min(card.games, winsOfFavoured);
                o.Wins = favoured == card.viewA ? w : card.games - w;
                o.Losses = card.games - o.Wins;
                return w;
            };
            const bool hasTeam = card.viewA == m_team || card.viewB == m_team;
            const bool hasRival = card.viewA == r || card.viewB == r;
            if (hasTeam && hasRival) {
                meetingWinsLeft -= side(r, meetingWinsLeft);
            } else if (hasRival) {
                side(r, card.games);
            } else if (hasTeam) {
                teamWinsLeft -= side(m_team, teamWinsLeft);
            }
            out.push_back(o);
        }
        std::sort(out.begin(), out.end(), [](const CardOutcome &x, const CardOutcome &y) {
            return std::pair(x.Team, x.Opponent) < std::pair(y.Team, y.Opponent);
        });
        return out;
    }

    const RaceModel &m_model;
    int m_team;
    Budget &m_budget;
    Ranker &m_ranker;
    std::vector<int> m_meetings;  // remaining games of each team against this one
    bool m_tieBreak = false;      // a question since the last reset needed the conditions
    int m_rearrangementsLeft = 0; // for the question being asked (see rearrangeLevelGames)
    int m_exhaustionsLeft = 0;    // for the question being asked (see exhaustTopRecords)
    // The sets openSets and measureOf gave the solver in the question being
    // asked, with whether the set's measure problem left it level
    // (strictly: true).
    std::map<std::pair<bool, std::vector<int>>, bool> m_setsAsked;
};

// The request the standings rank with: the teams as the model holds them.
RaceRequest rankedBy(const RaceRequest &request, const RaceModel &model)
{
    RaceRequest ranked = request;
    ranked.Teams.clear();
    for (const Participant &p : model.teams) {
        ranked.Teams.push_back(p.teamNo);
    }
    return ranked;
}
} // namespace

int DrawCount(const Certificate &certificate)
{
    int draws = 0;
    for (const CardOutcome &o : certificate) {
        draws += o.Draws;
    }
    return draws;
}

RaceRequest RaceRequestForView(const Season &season, const PublishedStandings &published,
                               const ViewRequest &view, int topK, int gameCountRule)
{
    RaceRequest request;
    request.TopK = topK;
    request.GameCountRule = gameCountRule;
    request.GameScope = published.GameScope;
    for (const StandingsRow &row : published.Rows) {
        request.Teams.push_back(row.TeamNo);
    }
    const std::vector<int> listed = ViewTeams(season);
    request.ListOrder = listed;
    if (!listed.empty()) {
        request.DivisionView =
            request.GameScope != ScopeInterleague && view.DivisionSelectorIndex > 0;
        const JudgmentSet judgment =
            JudgmentInForce(season, listed.front(), request.GameScope, request.DivisionView);
        request.Judgment = judgment.Judgment;
        request.Conditions = judgment.Conditions;
    }
    return request;
}

std::vector<Placing> RankOutcome(const Season &season, const RaceRequest &request,
                                 const Certificate &outcome)
{
    Ranker ranker(season, request);
    return ranker.rank(outcome);
}

RaceAnalysis AnalyzeRace(const Season &season, const RaceRequest &request)
{
    // The window runs analyses on a pooled worker thread, which may end
    // later without ever solving again: the solver's memory for this thread
    // goes back on every way out.
    struct ReleaseAtEnd
    {
        ~ReleaseAtEnd() { ReleaseSolverThreadMemory(); }
    } release;
    RaceAnalysis analysis;
    analysis.TopK = std::max(1, request.TopK);
    const std::optional<RaceModel> model = buildModel(season, request, analysis.ScheduleMismatch);
    if (!model) {
        analysis.Status = RaceStatus::ScheduleInconsistent;
        return analysis;
    }
    // The placings are read in the order of the model's teams, which is the
    // request's with unknown and repeated teams left out.
    const RaceRequest ranked = rankedBy(request, *model);
    Ranker ranker(season, ranked);
    Budget budget{request.TimeLimit, std::chrono::steady_clock::now() + request.TotalTimeLimit,
                  request.Stop};
    const int teamCount = static_cast<int>(model->teams.size());
    auto report = [&] {
        analysis.SolverCalls = budget.calls;
        analysis.Stopped = budget.stopped();
        if (request.Progress && !analysis.Stopped) {
            request.Progress(analysis);
        }
    };
    // The title column first, team by team (it rarely needs the solver),
    // then each team's top-k answers, so the window can show them as they
    // come.
    for (int t = 0; t < teamCount; ++t) {
        TeamAnalysis team(*model, t, budget, ranker);
        TeamRace race;
        race.TeamNo = model->teams[t].teamNo;
        race.Title = team.analyse(1);
        team.searchMagic(race.Title, 1);
        analysis.Teams.push_back(std::move(race));
        analysis.TitlesDone = t + 1;
        report();
    }
    for (int t = 0; t < teamCount; ++t) {
        TeamAnalysis team(*model, t, budget, ranker);
        TeamRace &race = analysis.Teams[static_cast<std::size_t>(t)];
        if (analysis.TopK == 1) {
            race.Top = race.Title;
        } else {
            race.Top = team.analyse(analysis.TopK);
            team.searchMagic(race.Top, analysis.TopK, race.Title.Magic);
        }
        analysis.TopsDone = t + 1;
        report();
    }
    // Every answer is in; now the outcomes offered as proof become the most
    // ordinary ones that prove the same, the title's first. A failed or
    // cut-off step only leaves a less ordinary outcome, so the pass runs on
    // short limits of its own, and each state gets its share rather than
    // the first ones all of it.
    const bool large = model->teams.size() > SmallView;
    Cap perProblem = large ? OrdinaryLimitLarge : OrdinaryLimit;
    perProblem.time = std::min(request.TimeLimit, perProblem.time);
    int polishCalls = 0;
    for (const bool title : {true, false}) {
        for (int t = 0; t < teamCount && request.OrdinaryCertificates; ++t) {
            TeamAnalysis team(*model, t, budget, ranker);
            TeamRace &race = analysis.Teams[static_cast<std::size_t>(t)];
            if (!title && analysis.TopK == 1) {
                race.Top = race.Title;
                continue;
            }
            Budget share{perProblem.time,
                         std::min(budget.deadline, std::chrono::steady_clock::now() +
                                                       (OrdinarySteps + 2) * perProblem.time),
                         request.Stop};
            if (title || !race.Title.Reach || race.Title.ReachNeedsTie) {
                team.makeOrdinary(title ? race.Title : race.Top, title ? 1 : analysis.TopK, share,
                                  perProblem);
            } else {
                // Winning the title alone puts the team in the first k: the
                // title's ordinary outcome serves, only the failure is left.
                race.Top.Reach.reset();
                team.makeOrdinary(race.Top, analysis.TopK, share, perProblem);
                race.Top.Reach = race.Title.Reach;
                race.Top.ReachNeedsTie = false;
            }
            polishCalls += share.calls;
        }
    }
    analysis.SolverCalls = budget.calls + polishCalls;
    analysis.Stopped = budget.stopped();
    return analysis;
}
void ApplyCertificate(Season &season, const Certificate &certificate)
{
    if (season.SimMode == 0 || season.SimResults.size() != season.TeamCount()) {
        season.resetSimResults();
    }
    season.SimMode = 1;
    auto add = [](std::int16_t count, int more) { return static_cast<std::int16_t>(count + more); };
    for (const CardOutcome &o : certificate) {
        CardState card = ReadCardState(season, o.Team, o.Opponent);
        card.simWins = add(card.simWins, o.Wins);
        card.simLosses = add(card.simLosses, o.Losses);
        card.simDraws = add(card.simDraws, o.Draws);
        WriteCardState(season, o.Team, o.Opponent, card);
    }
}

Text RaceMark(const RaceState &state)
{
    if (state.Sure == Answer::Yes) {
        return u"確定";
    }
    if (state.PossibleWithTie == Answer::No) {
        return u"消滅";
    }
    // Only a tie the standings leave level can put the team in, or keep it
    // out (it can be caught level but never passed).
    if (state.Possible == Answer::No ||
        (state.Sure == Answer::No && state.SureUnlessTied == Answer::Yes)) {
        return u"同率次第";
    }
    if (state.OwnPower == Answer::Yes) {
        return u"自力";
    }
    if (state.Possible == Answer::Yes && state.OwnPower == Answer::No) {
        return u"他力";
    }
    return u"不明";
}

bool EveryRivalCanStandLevel(const RaceModel &model, int team, int wins,
                             const std::vector<int> &set, LevelRecord level)
{
    const Participant &p = model.teams[static_cast<std::size_t>(team)];
    Problem problem(model, team, p.wins + wins, p.losses + p.remaining - wins);
    const int size = static_cast<int>(set.size());
    if (level == LevelRecord::Excluded) {
        problem.requireStrictly(Relation::Ahead, size, &set);
    } else {
        problem.require(Relation::NotBehind, size, Judged::Measure, &set);
    }
    problem.tightenLevelOrBetter(set, level);
    Budget budget{std::chrono::seconds(30),
                  std::chrono::steady_clock::now() + std::chrono::seconds(30)};
    return problem.solve(budget) == IntegerProgram::Outcome::Feasible;
}

namespace {

// One team's analysis of a request's view, for the test hooks below.
template <typename Ask, typename Result>
Result askOneTeam(const Season &season, const RaceRequest &request, int team, Result open, Ask ask)
{
    bool mismatch = false;
    const std::optional<RaceModel> model = buildModel(season, request, mismatch);
    if (!model) {
        return open;
    }
    const RaceRequest ranked = rankedBy(request, *model);
    Ranker ranker(season, ranked);
    Budget budget{std::chrono::seconds(30),
                  std::chrono::steady_clock::now() + std::chrono::seconds(30)};
    TeamAnalysis analysis(*model, team, budget, ranker);
    return ask(analysis);
}

} // namespace

std::pair<Answer, Answer> PairwiseSetBothWays(const Season &season, const RaceRequest &request,
                                              int team, int wins, const std::vector<int> &set)
{
    return askOneTeam(season, request, team, std::pair(Answer::Unknown, Answer::Unknown),
                      [&](TeamAnalysis &a) { return a.pairwiseSetBothWays(wins, set); });
}

Answer TopSplitsAnswer(const Season &season, const RaceRequest &request, int team, Goal goal, int k,
                       int wins)
{
    return askOneTeam(season, request, team, Answer::Unknown,
                      [&](TeamAnalysis &a) { return a.topSplits(goal, k, wins); });
}

SortReplay ReplaySort(const RaceModel &model, int team, Goal goal, int k,
                      const SortRecords &records, const std::vector<std::vector<int>> &ways)
{
    const int count = static_cast<int>(model.teams.size());
    std::vector<char> isTop(static_cast<std::size_t>(count), 0);
    for (const int v : records.top) {
        isTop[static_cast<std::size_t>(v)] = 1;
    }
    SortReplay needs{SortReplay::Verdict::Needs};
    // The conditions' walk between two rows level on the measure.
    auto putFirst = [&](int a, int b) -> std::optional<bool> {
        for (const int code : model.steps) {
            if (code == ConditionCode::Secondary) {
                const int c = compareMeasure(!model.byWins, records.wins[a], records.losses[a],
                                             records.wins[b], records.losses[b]);
                if (c != 0) {
                    return c > 0;
                }
            } else if (code == ConditionCode::Series) {
                const int way = ways[a][b] < 0 && records.mirrored[a][b] != 0 && ways[b][a] >= 0
                                    ? 2 - ways[b][a]
                                    : ways[a][b];
                if (way < 0) {
                    needs.first = a;
                    needs.second = b;
                    return std::nullopt;
                }
                if (way != 1) {
                    return way == 0;
                }
            } else {
                const auto which = static_cast<std::size_t>(code - ConditionCode::GridOrder);
                return model.teams[a].fixedRanks[which] < model.teams[b].fixedRanks[which];
            }
        }
        return false;
    };
    // Rows behind the team on the measure are never chosen while a row of
    // the top is left, and the team's places are known before the first of
    // them is placed, so how they compare with each other does not matter.
    auto ahead = [&](int a, int b) -> std::optional<bool> {
        if (isTop[a] == 0 && isTop[b] == 0) {
            return false;
        }
        const int c = compareMeasure(model.byWins, records.wins[a], records.losses[a],
                                     records.wins[b], records.losses[b]);
        return c != 0 ? std::optional<bool>(c > 0) : putFirst(a, b);
    };
    auto decide = [](bool holds) {
        return SortReplay{holds ? SortReplay::Verdict::Holds : SortReplay::Verdict::Fails};
    };
    // Missing (or getting in) by the last place the team shares, or by its rank.
    const bool byLastPlace = goal == Goal::Miss || goal == Goal::ReachAlone;
    const bool missing = goal == Goal::Miss || goal == Goal::Passed;
    std::vector<int> rows = model.listOrder;
    int rank = 0;
    int teamRank = 0; // 0 until the team's row is placed
    int first = 0;
    // Each step picks the next of the rivals ahead and swaps it into its
    // place.
    for (const int v : records.above) {
        std::swap(rows[static_cast<std::size_t>(first)],
                  *std::find(rows.begin() + first, rows.end(), v));
        ++first;
    }
    rank = first;
    if (byLastPlace && first >= k) {
        return decide(missing);
    }
    for (int i = first; i < count; ++i) {
        int best = i;
        for (int j = i + 1; j < count; ++j) {
            const std::optional<bool> moves = ahead(rows[j], rows[best]);
            if (!moves) {
                return needs;
            }
            best = *moves ? j : best;
        }
        std::swap(rows[i], rows[best]);
        if (i == 0) {
            rank = 1;
        } else {
            const std::optional<bool> below = ahead(rows[i - 1], rows[i]);
            if (!below) {
                return needs;
            }
            rank = *below ? i + 1 : rank;
        }
        if (rows[i] == team) {
            teamRank = rank;
            if (!byLastPlace) {
                return decide((teamRank > k) == missing);
            }
        }
        const int placed = i + 1;
        if (teamRank == 0) {
            if (placed >= k && byLastPlace) {
                return decide(missing); // k rows placed, none of them the team
            }
        } else if (rank != teamRank) {
            return decide((i > k) == missing); // the team's last place is row i
        } else if (placed > k) {
            return decide(missing);
        }
    }
    return decide((count > k) == missing);
}

std::optional<RaceModel> BuildRaceModel(const Season &season, const RaceRequest &request,
                                        bool &scheduleMismatch)
{
    return buildModel(season, request, scheduleMismatch);
}

} // namespace penarin::race
