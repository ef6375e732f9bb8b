#include "race/race.h"

#include "race/integerprogram.h"
#include "season/cellsfunction.h"
#include "standings/judgment.h"
#include "standings/standings.h"
#include "standings/viewstandings.h"

#include <algorithm>
#include <map>

namespace penarin::race {

namespace {

using Term = IntegerProgram::Term;

// The remaining games of one card that counts for a team of the view.
struct Card
{
    int teamA = 0; // the lower team number
    int teamB = 0;
    int viewA = -1; // position in the view, -1 for a team outside it
    int viewB = -1;
    int games = 0;
    bool draws = false; // a remaining game may end drawn (draws are not replayed)
};

struct Participant
{
    int teamNo = 0;
    int wins = 0;
    int losses = 0;
    int remaining = 0; // summed over its cards
};

// What the remaining games may do, before any question is asked.
struct RaceModel
{
    std::vector<Participant> teams;
    std::vector<Card> cards;
    bool byWins = false;
};

// A card counts for the view's scope exactly when the standings count its
// results: league games in the league scope, interleague games in the
// interleague scope, and both in the official scope when interleague
// results count at all.
bool cardCounts(const Season &season, int scope, const TeamRecord &me, const TeamRecord &them)
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

// The draw rule the standings apply to the card (the team's own settings,
// as TeamTotals reads them): 1 means a drawn game uses up a scheduled game,
// so a remaining game can end drawn.
bool drawsPossible(const Season &season, const TeamRecord &me, const TeamRecord &them)
{
    if (me.League != them.League) {
        return season.Interleague.IntDrawReplay == 1;
    }
    if (me.Division != 0 && me.Division == them.Division) {
        return me.DivisionDrawReplay == 1;
    }
    return me.LeagueDrawReplay == 1;
}

std::optional<RaceModel> buildModel(const Season &season, const RaceRequest &request,
                                    bool &scheduleMismatch)
{
    RaceModel model;
    model.byWins = request.Judgment == 1;
    const int scope = request.GameScope;
    std::map<int, int> position;
    for (int team : request.Teams) {
        if (!season.Teams.contains(team) || position.count(team) != 0) {
            continue;
        }
        position.emplace(team, static_cast<int>(model.teams.size()));
        const TeamTotalsResult totals = TeamTotals(season, team, scope);
        model.teams.push_back({team, totals.Wins, totals.Losses, 0});
    }
    std::map<std::pair<int, int>, int> seen; // pair of team numbers -> remaining games
    for (const Participant &participant : model.teams) {
        const int team = participant.teamNo;
        const TeamRecord &me = season.team(team);
        for (int other = 1; other <= season.TeamCount(); ++other) {
            if (other == team || me.CardGames[other] < 0) {
                continue;
            }
            const TeamRecord &them = season.team(other);
            if (!cardCounts(season, scope, me, them)) {
                continue;
            }
            const int remaining = TeamTotals(season, team, scope, other).Remaining;
            if (remaining < 0) {
                return std::nullopt;
            }
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
            if (remaining == 0) {
                continue;
            }
            Card card;
            card.teamA = key.first;
            card.teamB = key.second;
            const auto a = position.find(card.teamA);
            const auto b = position.find(card.teamB);
            card.viewA = a == position.end() ? -1 : a->second;
            card.viewB = b == position.end() ? -1 : b->second;
            card.games = remaining;
            card.draws = drawsPossible(season, me, them);
            model.cards.push_back(card);
        }
    }
    for (const Card &card : model.cards) {
        for (int v : {card.viewA, card.viewB}) {
            if (v >= 0) {
                model.teams[v].remaining += card.games;
            }
        }
    }
    for (const Participant &p : model.teams) {
        if (TeamTotals(season, p.teamNo, scope).Remaining != p.remaining) {
            scheduleMismatch = true;
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
void atLeastWhen(IntegerProgram &ip, int on, const Expr &e, std::int64_t rhs)
{
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

void atMostWhen(IntegerProgram &ip, int on, const Expr &e, std::int64_t rhs)
{
    atLeastWhen(ip, on, e.scaled(-1), -rhs);
}

// How a rival's final measure must stand to the team's fixed final record.
enum class Relation
{
    AtLeast, // level or better
    Above,   // strictly better
    AtMost,  // level or worse
    Below    // strictly worse
};

// Whether `outcome` plays out every remaining game of the model, leaves the
// team with exactly `wins` and `losses`, and puts at least `needed` rivals
// in `relation` to it, all in exact integer arithmetic.
bool confirms(const RaceModel &model, int team, std::int64_t wins, std::int64_t losses,
              const Certificate &outcome, Relation relation, int needed);

// Time the solver may still take: each problem gets its own limit, and the
// whole analysis a deadline, after which the answers left open are Unknown.
struct Budget
{
    std::chrono::milliseconds perProblem;
    std::chrono::steady_clock::time_point deadline;
    int calls = 0;

    // The limit of the next problem; zero when time is up.
    [[nodiscard]] std::chrono::milliseconds next() const
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        return std::max(std::chrono::milliseconds(0), std::min(perProblem, left));
    }
};

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
        for (int i = 0; i < count; ++i) {
            m_totalWins[i].constant = model.teams[i].wins;
            m_totalLosses[i].constant = model.teams[i].losses;
        }
        for (const Card &card : model.cards) {
            const int winsA = m_ip.addVariable(0, card.games);
            if (card.draws) {
                const int winsB = m_ip.addVariable(0, card.games);
                m_ip.addAtMost({{winsA, 1}, {winsB, 1}}, card.games);
                credit(card.viewA, winsA, 1, 0, winsB, 1, 0);
                credit(card.viewB, winsB, 1, 0, winsA, 1, 0);
                m_cardVariables.push_back({winsA, winsB});
            } else {
                // Without draws the other side's wins are what is left.
                credit(card.viewA, winsA, 1, 0, winsA, -1, card.games);
                credit(card.viewB, winsA, -1, card.games, winsA, 1, 0);
                m_cardVariables.push_back({winsA, -1});
            }
        }
        fixTotal(m_totalWins[team], wins);
        fixTotal(m_totalLosses[team], losses);
    }

    // At least `needed` rivals stand in `relation` to the team.
    Answer exists(Relation relation, int needed, Budget &budget, Certificate *certificate)
    {
        const int count = static_cast<int>(m_model.teams.size());
        if (needed > count - 1) {
            return Answer::No;
        }
        if (needed > 0) {
            std::vector<Term> chosen;
            for (int r = 0; r < count; ++r) {
                if (r != m_team) {
                    const int on = m_ip.addVariable(0, 1);
                    require(relation, r, on);
                    chosen.push_back({on, 1});
                    if (needed == count - 1) {
                        m_ip.setLower(on, 1);
                    }
                }
            }
            m_ip.addAtLeast(std::move(chosen), needed);
        }
        const std::chrono::milliseconds limit = budget.next();
        if (limit.count() == 0) {
            return Answer::Unknown;
        }
        ++budget.calls;
        switch (m_ip.solve(limit)) {
        case IntegerProgram::Outcome::Infeasible:
            return Answer::No;
        case IntegerProgram::Outcome::TimedOut:
            return Answer::Unknown;
        case IntegerProgram::Outcome::Feasible:
            break;
        }
        Certificate found = readOutcome();
        // The solver works in floating point; its point is accepted only
        // when exact integer arithmetic agrees that it answers the question.
        if (!confirms(m_model, m_team, m_wins, m_losses, found, relation, needed)) {
            return Answer::Unknown;
        }
        if (certificate != nullptr) {
            *certificate = std::move(found);
        }
        return Answer::Yes;
    }

private:
    void credit(int view, int winsVar, std::int64_t winsCoef, std::int64_t winsConst, int lossVar,
                std::int64_t lossCoef, std::int64_t lossConst)
    {
        if (view < 0) {
            return;
        }
        m_totalWins[view].add(winsVar, winsCoef);
        m_totalWins[view].constant += winsConst;
        m_totalLosses[view].add(lossVar, lossCoef);
        m_totalLosses[view].constant += lossConst;
    }

    void fixTotal(const Expr &e, std::int64_t value)
    {
        m_ip.addRow(e.terms, value - e.constant, value - e.constant);
    }

    // Makes `relation` hold for rival r whenever `on` is 1.
    void require(Relation relation, int r, int on)
    {
        const Expr &w = m_totalWins[r];
        if (m_model.byWins) {
            switch (relation) {
            case Relation::AtLeast:
                return atLeastWhen(m_ip, on, w, m_wins);
            case Relation::Above:
                return atLeastWhen(m_ip, on, w, m_wins + 1);
            case Relation::AtMost:
                return atMostWhen(m_ip, on, w, m_wins);
            case Relation::Below:
                return atMostWhen(m_ip, on, w, m_wins - 1);
            }
        }
        // Percentages compared by cross-multiplication against the team's
        // fixed record: pr >= pt  <=>  Wr * Lt - Wt * Lr >= 0, with care where
        // a side has no decided game (its percentage is 0, not undefined).
        const Expr cross = w.scaled(m_losses).minus(m_totalLosses[r].scaled(m_wins));
        if (m_wins == 0) {
            // The team's percentage is 0: everyone is level or better, and
            // better means having won a game.
            switch (relation) {
            case Relation::AtLeast:
                return;
            case Relation::Above:
                return atLeastWhen(m_ip, on, w, 1);
            case Relation::AtMost:
                return atMostWhen(m_ip, on, w, 0);
            case Relation::Below:
                m_ip.setUpper(on, 0);
                return;
            }
        }
        switch (relation) {
        case Relation::AtLeast:
            // A rival without a win has percentage 0, below the team's.
            atLeastWhen(m_ip, on, w, 1);
            return atLeastWhen(m_ip, on, cross, 0);
        case Relation::Above:
            return atLeastWhen(m_ip, on, cross, 1);
        case Relation::AtMost:
            return atMostWhen(m_ip, on, cross, 0);
        case Relation::Below:
            if (lowest(m_ip, w) >= 1) {
                return atMostWhen(m_ip, on, cross, -1);
            }
            // Below by the cross product, or without a win at all (which
            // covers a rival left without any decided game).
            const int byCross = m_ip.addVariable(0, 1);
            const int winless = m_ip.addVariable(0, 1);
            m_ip.addAtLeast({{byCross, 1}, {winless, 1}, {on, -1}}, 0);
            atMostWhen(m_ip, byCross, cross, -1);
            atMostWhen(m_ip, winless, w, 0);
            return;
        }
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

    const RaceModel &m_model;
    int m_team;
    int m_wins;
    int m_losses;
    IntegerProgram m_ip;
    std::vector<Expr> m_totalWins;
    std::vector<Expr> m_totalLosses;
    std::vector<std::pair<int, int>> m_cardVariables;
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

bool holds(Relation relation, int comparison)
{
    switch (relation) {
    case Relation::AtLeast:
        return comparison >= 0;
    case Relation::Above:
        return comparison > 0;
    case Relation::AtMost:
        return comparison <= 0;
    case Relation::Below:
        return comparison < 0;
    }
    return false;
}

bool confirms(const RaceModel &model, int team, std::int64_t teamWins, std::int64_t teamLosses,
              const Certificate &outcome, Relation relation, int needed)
{
    const int count = static_cast<int>(model.teams.size());
    if (outcome.size() != model.cards.size()) {
        return false;
    }
    std::vector<std::int64_t> wins(count);
    std::vector<std::int64_t> losses(count);
    std::map<int, int> position;
    for (int i = 0; i < count; ++i) {
        wins[i] = model.teams[i].wins;
        losses[i] = model.teams[i].losses;
        position.emplace(model.teams[i].teamNo, i);
    }
    for (std::size_t c = 0; c < outcome.size(); ++c) {
        const CardOutcome &o = outcome[c];
        if (o.Wins < 0 || o.Losses < 0 || o.Draws < 0) {
            return false;
        }
        if (const auto a = position.find(o.Team); a != position.end()) {
            wins[a->second] += o.Wins;
            losses[a->second] += o.Losses;
        }
        if (const auto b = position.find(o.Opponent); b != position.end()) {
            wins[b->second] += o.Losses;
            losses[b->second] += o.Wins;
        }
    }
    for (std::size_t c = 0; c < model.cards.size(); ++c) {
        const Card &card = model.cards[c];
        const auto it = std::find_if(outcome.begin(), outcome.end(), [&](const CardOutcome &o) {
            return o.Team == card.teamA && o.Opponent == card.teamB;
        });
        if (it == outcome.end() || it->Wins + it->Losses + it->Draws != card.games ||
            (!card.draws && it->Draws != 0)) {
            return false;
        }
    }
    if (wins[team] != teamWins || losses[team] != teamLosses) {
        return false;
    }
    int satisfied = 0;
    for (int r = 0; r < count; ++r) {
        if (r != team && holds(relation, compareMeasure(model.byWins, wins[r], losses[r],
                                                        wins[team], losses[team]))) {
            ++satisfied;
        }
    }
    return satisfied >= needed;
}

Answer negate(Answer a)
{
    return a == Answer::Unknown ? a : (a == Answer::Yes ? Answer::No : Answer::Yes);
}

class TeamAnalysis
{
public:
    TeamAnalysis(const RaceModel &model, int team, Budget &budget)
        : m_model(model), m_team(team), m_budget(budget), m_meetings(model.teams.size(), 0)
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
        const int rivals = static_cast<int>(m_model.teams.size()) - 1;
        const int remaining = m_model.teams[m_team].remaining;

        s.Sure = negate(fails(0, Relation::AtLeast, k, nullptr));
        s.SureUnlessTied =
            s.Sure == Answer::Yes ? Answer::Yes : negate(fails(0, Relation::Above, k, nullptr));

        // Getting in: at most k - 1 rivals level or better, that is at
        // least rivals - (k - 1) strictly worse. Winning out is the team's
        // best chance: each of its wins lifts it and lowers an opponent.
        Certificate reach;
        s.Possible = winsOut(Relation::Below, rivals - (k - 1), &reach);
        if (s.Possible == Answer::Yes) {
            s.PossibleWithTie = Answer::Yes;
            s.Reach = std::move(reach);
        } else {
            s.PossibleWithTie = winsOut(Relation::AtMost, rivals - (k - 1), &reach);
            if (s.PossibleWithTie == Answer::Yes) {
                s.Reach = std::move(reach);
                s.ReachNeedsTie = true;
            }
        }

        if (s.Sure == Answer::Yes) {
            s.OwnPower = Answer::Yes;
            s.MagicDecided = true;
            s.Magic = 0;
            return s;
        }
        Certificate failure;
        s.OwnPower = negate(fails(remaining, Relation::AtLeast, k, &failure));
        if (s.OwnPower == Answer::No) {
            s.WinOutFailure = std::move(failure);
            s.MagicDecided = true; // not even winning out is enough
        }
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
        const int remaining = m_model.teams[m_team].remaining;
        // With m wins and the rest lost the team can still miss exactly when
        // it can with at least m wins, so "misses" is monotone in m: search
        // for the first m at which it no longer can.
        int missing = 0; // the team can miss with this many wins
        int enough = std::min(remaining, enoughWith.value_or(remaining)); // it cannot miss
        while (enough - missing > 1) {
            const int middle = missing + (enough - missing) / 2;
            const Answer a = fails(middle, Relation::AtLeast, k, nullptr);
            if (a == Answer::Unknown) {
                return;
            }
            (a == Answer::Yes ? missing : enough) = middle;
        }
        s.MagicDecided = true;
        s.Magic = enough;
    }

private:
    // Some outcome in which the team wins `wins` of its remaining games and
    // loses the rest (the worst way to reach that many wins) leaves at least
    // k rivals in `relation`.
    Answer fails(int wins, Relation relation, int k, Certificate *certificate)
    {
        const Participant &me = m_model.teams[m_team];
        const std::int64_t finalWins = me.wins + wins;
        const std::int64_t finalLosses = me.losses + me.remaining - wins;
        // One rival at a time first: a rival that cannot get there even at
        // its best never counts, and for k = 1 any rival that can is the
        // whole answer, so the solver is left the joint questions only.
        int able = 0;
        int first = -1;
        for (int r = 0; r < static_cast<int>(m_model.teams.size()); ++r) {
            if (r == m_team) {
                continue;
            }
            const auto [rivalWins, rivalLosses] = bestOf(r, wins);
            if (holds(relation, compareMeasure(m_model.byWins, rivalWins, rivalLosses, finalWins,
                                               finalLosses))) {
                ++able;
                first = first < 0 ? r : first;
            }
        }
        if (able < k) {
            return Answer::No;
        }
        if (k == 1) {
            Certificate outcome = bestOutcomeFor(first, wins);
            if (confirms(m_model, m_team, finalWins, finalLosses, outcome, relation, 1)) {
                if (certificate != nullptr) {
                    *certificate = std::move(outcome);
                }
                return Answer::Yes;
            }
        }
        Problem problem(m_model, m_team, static_cast<int>(finalWins),
                        static_cast<int>(finalLosses));
        return problem.exists(relation, k, m_budget, certificate);
    }

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

    Answer winsOut(Relation relation, int needed, Certificate *certificate)
    {
        const Participant &me = m_model.teams[m_team];
        Problem problem(m_model, m_team, me.wins + me.remaining, me.losses);
        return problem.exists(relation, needed, m_budget, certificate);
    }

    const RaceModel &m_model;
    int m_team;
    Budget &m_budget;
    std::vector<int> m_meetings; // remaining games of each team against this one
};

} // namespace

RaceRequest RaceRequestForView(const Season &season, const PublishedStandings &published,
                               const ViewRequest &view, int topK)
{
    RaceRequest request;
    request.TopK = topK;
    request.GameScope = published.GameScope;
    for (const StandingsRow &row : published.Rows) {
        request.Teams.push_back(row.TeamNo);
    }
    const std::vector<int> listed = ViewTeams(season);
    if (!listed.empty()) {
        const bool divisionView =
            request.GameScope != ScopeInterleague && view.DivisionSelectorIndex > 0;
        request.Judgment =
            JudgmentInForce(season, listed.front(), request.GameScope, divisionView).Judgment;
    }
    return request;
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
    Budget budget{request.TimeLimit, std::chrono::steady_clock::now() + request.TotalTimeLimit};
    // Every team's states first, the magic searches after: the searches take
    // most of the time, so a time limit leaves magic numbers open rather than
    // whole rows.
    const int teamCount = static_cast<int>(model->teams.size());
    for (int t = 0; t < teamCount; ++t) {
        TeamAnalysis team(*model, t, budget);
        TeamRace race;
        race.TeamNo = model->teams[t].teamNo;
        race.Title = team.analyse(1);
        if (analysis.TopK != 1) {
            race.Top = team.analyse(analysis.TopK);
        }
        analysis.Teams.push_back(std::move(race));
    }
    for (int t = 0; t < teamCount; ++t) {
        TeamAnalysis team(*model, t, budget);
        TeamRace &race = analysis.Teams[static_cast<std::size_t>(t)];
        team.searchMagic(race.Title, 1);
        if (analysis.TopK == 1) {
            race.Top = race.Title;
        } else {
            team.searchMagic(race.Top, analysis.TopK, race.Title.Magic);
        }
    }
    analysis.SolverCalls = budget.calls;
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
    if (state.Possible == Answer::No) {
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

} // namespace penarin::race
