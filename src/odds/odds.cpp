#include "odds/odds.h"

#include "standings/judgment.h"
#include "standings/standings.h"
#include "standings/viewstandings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>

namespace penarin::odds {

namespace {

// One way the remaining games of a card can end, from the side of its lower
// team number, with its probability (every order of those games together).
struct Ending
{
    int wins = 0;
    int losses = 0;
    int draws = 0;
    double probability = 0.0;
};

struct Card
{
    int teamA = 0; // the lower team number
    int teamB = 0;
    int games = 0;
    bool draws = false;          // a remaining game may end drawn (draws are not replayed)
    std::vector<Ending> endings; // those with a probability above 0
    std::vector<double> cumulative;
};

struct Schedule
{
    std::vector<Card> cards;
    bool mismatch = false;
};

std::vector<int> distinctTeams(const Season &season, const std::vector<int> &teams)
{
    std::vector<int> out;
    for (int team : teams) {
        if (season.Teams.contains(team) && std::find(out.begin(), out.end(), team) == out.end()) {
            out.push_back(team);
        }
    }
    return out;
}

// The remaining games of every card that counts for a team of the view.
// Cards between two teams outside the view change nothing in it.
std::optional<Schedule> remainingCards(const Season &season, const std::vector<int> &teams,
                                       int scope)
{
    const std::optional<RemainingSchedule> remaining = RemainingCardsOf(season, teams, scope);
    if (!remaining) {
        return std::nullopt;
    }
    Schedule schedule;
    schedule.mismatch = remaining->Mismatch;
    for (const RemainingCard &c : remaining->Cards) {
        schedule.cards.push_back({c.TeamA, c.TeamB, c.Games, c.Draws, {}, {}});
    }
    return schedule;
}

// The padded record strength of a team in the view's scope.
double strengthOf(const Season &season, int team, int scope)
{
    const TeamTotalsResult t = TeamTotals(season, team, scope);
    return (t.Wins + 5.0) / (t.Wins + t.Losses + 10.0);
}

// Every (wins, losses, draws) of the card's games with the number of orders
// that give it, times the chance of each game.
void fillEndings(Card &card, double pA, double pB, double pD)
{
    const int g = card.games;
    auto term = [](int count, double p) { return count == 0 ? 0.0 : count * std::log(p); };
    double total = 0.0;
    for (int w = g; w >= 0; --w) {
        for (int l = g - w; l >= 0; --l) {
            const int d = g - w - l;
            if ((d > 0 && (!card.draws || pD <= 0.0)) || (w > 0 && pA <= 0.0) ||
                (l > 0 && pB <= 0.0)) {
                continue;
            }
            const double logWeight = std::lgamma(g + 1.0) - std::lgamma(w + 1.0) -
                                     std::lgamma(l + 1.0) - std::lgamma(d + 1.0) + term(w, pA) +
                                     term(l, pB) + term(d, pD);
            const double p = std::exp(logWeight);
            if (p > 0.0) {
                card.endings.push_back({w, l, d, p});
                total += p;
            }
        }
    }
    double running = 0.0;
    for (Ending &e : card.endings) {
        e.probability /= total;
        running += e.probability;
        card.cumulative.push_back(running);
    }
    card.cumulative.back() = 1.0;
}

std::optional<Schedule> buildSchedule(const Season &season, const OddsRequest &request,
                                      const std::vector<int> &teams, double drawRate)
{
    std::optional<Schedule> schedule = remainingCards(season, teams, request.GameScope);
    if (!schedule) {
        return std::nullopt;
    }
    for (Card &card : schedule->cards) {
        const double pD = card.draws ? drawRate : 0.0;
        double share = 0.5;
        if (request.GameModel == Model::Strength) {
            const double a = strengthOf(season, card.teamA, request.GameScope);
            const double b = strengthOf(season, card.teamB, request.GameScope);
            share = a * (1 - b) / (a * (1 - b) + b * (1 - a));
        }
        fillEndings(card, (1 - pD) * share, (1 - pD) * (1 - share), pD);
    }
    return schedule;
}

// A copy of the season the outcomes are entered into as simulated results,
// and the standings that rank them. One per working thread.
class Ranker
{
public:
    Ranker(const Season &season, const OddsRequest &request, const std::vector<int> &teams,
           const std::vector<Card> &cards)
        : m_teams(listedOrder(season, request, teams)), m_cards(cards),
          m_judgment(request.Judgment), m_view{request.GameScope, request.DivisionView}
    {
        m_season.Header = season.Header;
        m_season.Interleague = season.Interleague;
        m_season.Teams = season.Teams;
        m_season.SimResults = season.SimResults;
        m_season.SimMode = season.SimMode;
        // Results already simulated stay and the outcome comes on top; in
        // result mode the simulation starts empty.
        if (m_season.SimMode == 0 || m_season.SimResults.size() != m_season.TeamCount()) {
            m_season.resetSimResults();
        }
        m_season.SimMode = 1;
        m_season.GameScope = request.GameScope;
        m_order.SortBasis = 2;
        m_order.GameCountRule = request.GameCountRule;
        m_tablesRead = AheadTables::TablesRead(m_judgment.Conditions, request.GameScope);
        for (const Card &card : cards) {
            const SimRecord &a = m_season.SimResults[card.teamA];
            const SimRecord &b = m_season.SimResults[card.teamB];
            m_base.push_back({a.Wins[card.teamB], a.Losses[card.teamB], a.Draws[card.teamB],
                              b.Wins[card.teamA], b.Losses[card.teamA], b.Draws[card.teamA]});
        }
        m_position.assign(static_cast<std::size_t>(m_season.TeamCount()) + 1, -1);
        for (std::size_t i = 0; i < teams.size(); ++i) {
            m_position[static_cast<std::size_t>(teams[i])] = static_cast<int>(i);
        }
        const std::size_t n = teams.size();
        BlockStart.resize(n);
        BlockSize.resize(n);
        Wins.resize(n);
        Losses.resize(n);
        Draws.resize(n);
        Measure.resize(n);
    }

    void enter(std::size_t c, const Ending &e)
    {
        const Card &card = m_cards[c];
        const Base &base = m_base[c];
        SimRecord &a = m_season.SimResults[card.teamA];
        SimRecord &b = m_season.SimResults[card.teamB];
        a.Wins[card.teamB] = static_cast<std::int16_t>(base.aWins + e.wins);
        a.Losses[card.teamB] = static_cast<std::int16_t>(base.aLosses + e.losses);
        a.Draws[card.teamB] = static_cast<std::int16_t>(base.aDraws + e.draws);
        b.Wins[card.teamA] = static_cast<std::int16_t>(base.bWins + e.losses);
        b.Losses[card.teamA] = static_cast<std::int16_t>(base.bLosses + e.wins);
        b.Draws[card.teamA] = static_cast<std::int16_t>(base.bDraws + e.draws);
    }

    // Orders the entered outcome as the grid does with the championship
    // judgment, and reads where each team of the view ends up.
    void rank()
    {
        ViewTotals totals = TotalViewTeams(m_season, m_teams);
        const int count = static_cast<int>(m_teams.size());
        BuildAheadTables(m_tables, m_tablesRead, m_season, m_view, totals.Rows, count,
                         totals.LeagueRows, totals.InterRows, true);
        const JudgmentOrder order(m_judgment, m_tables, m_view.GameScope);
        OrderRows(totals.Rows, count, m_order, &order);
        NumberRanks(totals.Rows, count, m_order, &order);
        int start = 1;
        for (int r = 1; r <= count; ++r) {
            if (r == count || totals.Rows[r + 1].Rank != totals.Rows[r].Rank) {
                for (int s = start; s <= r; ++s) {
                    const StandingsRow &row = totals.Rows[s];
                    const auto i = static_cast<std::size_t>(m_position[row.TeamNo]);
                    BlockStart[i] = start - 1;
                    BlockSize[i] = r - start + 1;
                    Wins[i] = row.Wins;
                    Losses[i] = row.Losses;
                    Draws[i] = row.Draws;
                    Measure[i] = m_judgment.Judgment == 1 ? row.Wins : row.Pct;
                }
                start = r + 1;
            }
        }
    }

    // Per team of the view after rank(): its block of shared places (from
    // 0) and its final record.
    std::vector<int> BlockStart, BlockSize;
    std::vector<double> Wins, Losses, Draws, Measure;

private:
    struct Base
    {
        int aWins, aLosses, aDraws, bWins, bLosses, bDraws;
    };

    static std::vector<int> listedOrder(const Season &season, const OddsRequest &request,
                                        const std::vector<int> &teams)
    {
        std::vector<int> listed = distinctTeams(season, request.Listed);
        std::vector<int> sorted = listed;
        std::vector<int> wanted = teams;
        std::sort(sorted.begin(), sorted.end());
        std::sort(wanted.begin(), wanted.end());
        return sorted == wanted ? listed : teams;
    }

    Season m_season;
    std::vector<int> m_teams; // as the view lists them
    const std::vector<Card> &m_cards;
    JudgmentSet m_judgment;
    JudgmentView m_view;
    OrderSettings m_order;
    unsigned m_tablesRead = 0;
    AheadTables m_tables;
    std::vector<Base> m_base;
    std::vector<int> m_position; // by team number: index in the view, -1 outside
};

// Weighted sums over a block of outcomes. Blocks are fixed by the number of
// outcomes alone and added up in their order, so the totals come out the
// same to the last bit whatever the number of threads.
struct Sums
{
    Sums(std::size_t teams, std::size_t cards)
        : ranks(teams * teams), title(teams), topK(teams), wins(teams), losses(teams), draws(teams),
          measure(teams), cardWins(cards), cardLosses(cards), titleIfWin(cards * teams),
          titleIfLoss(cards * teams), topIfWin(cards * teams), topIfLoss(cards * teams)
    {}

    double weight = 0.0;
    std::vector<double> ranks; // team * teams + place
    std::vector<double> title, topK, wins, losses, draws, measure;
    // The next game of a card is a win of its lower-numbered team with
    // chance wins / games given the card's ending, whatever order its games
    // take; so these sums give the chances given who wins it.
    std::vector<double> cardWins, cardLosses;
    std::vector<double> titleIfWin, titleIfLoss, topIfWin, topIfLoss; // card * teams + team

    void add(const Sums &o)
    {
        weight += o.weight;
        auto plus = [](std::vector<double> &to, const std::vector<double> &from) {
            for (std::size_t i = 0; i < to.size(); ++i) {
                to[i] += from[i];
            }
        };
        plus(ranks, o.ranks);
        plus(title, o.title);
        plus(topK, o.topK);
        plus(wins, o.wins);
        plus(losses, o.losses);
        plus(draws, o.draws);
        plus(measure, o.measure);
        plus(cardWins, o.cardWins);
        plus(cardLosses, o.cardLosses);
        plus(titleIfWin, o.titleIfWin);
        plus(titleIfLoss, o.titleIfLoss);
        plus(topIfWin, o.topIfWin);
        plus(topIfLoss, o.topIfLoss);
    }

    void count(const Ranker &ranker, const std::vector<Card> &cards,
               const std::vector<const Ending *> &endings, int k, double w)
    {
        const std::size_t n = ranker.BlockStart.size();
        weight += w;
        for (std::size_t c = 0; c < cards.size(); ++c) {
            cardWins[c] += w * endings[c]->wins / cards[c].games;
            cardLosses[c] += w * endings[c]->losses / cards[c].games;
        }
        for (std::size_t i = 0; i < n; ++i) {
            const int start = ranker.BlockStart[i];
            const int size = ranker.BlockSize[i];
            const double share = w / size;
            for (int p = start; p < start + size; ++p) {
                ranks[i * n + static_cast<std::size_t>(p)] += share;
            }
            wins[i] += w * ranker.Wins[i];
            losses[i] += w * ranker.Losses[i];
            draws[i] += w * ranker.Draws[i];
            measure[i] += w * ranker.Measure[i];
            // Shares of 1 are added as w itself, so a team in every outcome
            // sums to exactly the total weight.
            const int inTop = std::clamp(k - start, 0, size);
            const double titleShare = start == 0 ? (size == 1 ? w : share) : 0.0;
            const double topShare = inTop == size ? w : (inTop == 0 ? 0.0 : w * inTop / size);
            title[i] += titleShare;
            topK[i] += topShare;
            if (titleShare > 0.0) {
                swing(titleIfWin, titleIfLoss, cards, endings, i, n, titleShare);
            }
            if (topShare > 0.0) {
                swing(topIfWin, topIfLoss, cards, endings, i, n, topShare);
            }
        }
    }

private:
    static void swing(std::vector<double> &ifWin, std::vector<double> &ifLoss,
                      const std::vector<Card> &cards, const std::vector<const Ending *> &endings,
                      std::size_t team, std::size_t n, double value)
    {
        for (std::size_t c = 0; c < cards.size(); ++c) {
            ifWin[c * n + team] += value * endings[c]->wins / cards[c].games;
            ifLoss[c * n + team] += value * endings[c]->losses / cards[c].games;
        }
    }
};

// A stream of uniform numbers of its own for every simulated season, so a
// run draws the same games whichever thread plays it (SplitMix64).
class Stream
{
public:
    Stream(std::uint64_t seed, std::uint64_t run) : m_state(mix(seed ^ mix(run + 1))) {}

    double uniform()
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        return static_cast<double>(mix(m_state) >> 11) * 0x1.0p-53;
    }

private:
    static std::uint64_t mix(std::uint64_t z)
    {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    std::uint64_t m_state;
};

constexpr std::int64_t BlockSize = 4096;

// Wilson's interval, which stays inside [0, 1] and does not collapse when
// every run agrees.
Interval wilson(double p, double n)
{
    constexpr double z = 1.959963984540054;
    const double denominator = 1 + z * z / n;
    const double centre = (p + z * z / (2 * n)) / denominator;
    const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / denominator;
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

// -1, 0 or 1 as the first record's measure is below, level with or above
// the second's, in exact arithmetic; no decided game reads as 0.
int compareMeasure(bool byWins, std::int64_t w1, std::int64_t l1, std::int64_t w2, std::int64_t l2)
{
    if (byWins) {
        return w1 < w2 ? -1 : (w1 > w2 ? 1 : 0);
    }
    const std::int64_t left = w1 * (w2 + l2 == 0 ? 1 : w2 + l2);
    const std::int64_t right = w2 * (w1 + l1 == 0 ? 1 : w1 + l1);
    return left < right ? -1 : (left > right ? 1 : 0);
}

// What the records alone settle for one team and k places: out when k
// rivals finish strictly better even if it wins out and they lose out (the
// standings rank a better measure above whatever the tie-breaks); in when
// fewer than k rivals can draw level or pass it even if it loses out.
struct Settled
{
    bool out = false;
    bool in = false;
};

Settled settledByRecords(const Season &season, const std::vector<int> &teams,
                         const std::vector<Card> &cards, int scope, bool byWins, std::size_t team,
                         int k)
{
    struct Range
    {
        std::int64_t wins, losses, remaining;
    };
    std::vector<Range> ranges;
    for (int t : teams) {
        const TeamTotalsResult totals = TeamTotals(season, t, scope);
        std::int64_t remaining = 0;
        for (const Card &card : cards) {
            remaining += card.teamA == t || card.teamB == t ? card.games : 0;
        }
        ranges.push_back({totals.Wins, totals.Losses, remaining});
    }
    const Range &me = ranges[team];
    int surelyAbove = 0;
    int possiblyLevel = 0;
    for (std::size_t r = 0; r < ranges.size(); ++r) {
        if (r == team) {
            continue;
        }
        const Range &rival = ranges[r];
        surelyAbove += compareMeasure(byWins, rival.wins, rival.losses + rival.remaining,
                                      me.wins + me.remaining, me.losses) > 0
                           ? 1
                           : 0;
        possiblyLevel += compareMeasure(byWins, rival.wins + rival.remaining, rival.losses, me.wins,
                                        me.losses + me.remaining) >= 0
                             ? 1
                             : 0;
    }
    return {surelyAbove >= k, possiblyLevel < k};
}

std::int64_t outcomeCount(const std::vector<Card> &cards, std::int64_t cap)
{
    std::int64_t count = 1;
    for (const Card &card : cards) {
        const auto size = static_cast<std::int64_t>(card.endings.size());
        if (count > cap / size) {
            return cap + 1;
        }
        count *= size;
    }
    return count;
}

} // namespace

OddsRequest OddsRequestForView(const Season &season, const PublishedStandings &published,
                               const ViewRequest &view, const OrderSettings &order, int topK)
{
    OddsRequest request;
    request.TopK = topK;
    request.GameScope = published.GameScope;
    request.GameCountRule = order.GameCountRule;
    for (const StandingsRow &row : published.Rows) {
        request.Teams.push_back(row.TeamNo);
    }
    request.DivisionView = request.GameScope != ScopeInterleague && view.DivisionSelectorIndex > 0;
    request.Listed = ViewTeams(season);
    if (!request.Listed.empty()) {
        request.Judgment = JudgmentInForce(season, request.Listed.front(), request.GameScope,
                                           request.DivisionView);
    }
    return request;
}

double ViewDrawRate(const Season &season, const OddsRequest &request)
{
    double draws = 0.0;
    double played = 0.0;
    for (int team : distinctTeams(season, request.Teams)) {
        const TeamTotalsResult t = TeamTotals(season, team, request.GameScope);
        draws += t.Draws;
        played += t.Played;
    }
    return played > 0 ? draws / played : 0.0;
}

std::optional<std::int64_t> CountOutcomes(const Season &season, const OddsRequest &request,
                                          std::int64_t cap)
{
    const std::vector<int> teams = distinctTeams(season, request.Teams);
    const double drawRate =
        std::clamp(request.DrawRate.value_or(ViewDrawRate(season, request)), 0.0, 1.0);
    const std::optional<Schedule> schedule = buildSchedule(season, request, teams, drawRate);
    if (!schedule) {
        return std::nullopt;
    }
    return outcomeCount(schedule->cards, cap);
}

OddsResult ComputeOdds(const Season &season, const OddsRequest &request)
{
    OddsResult result;
    result.TopK = std::max(1, request.TopK);
    result.GameModel = request.GameModel;
    result.DrawRate =
        std::clamp(request.DrawRate.value_or(ViewDrawRate(season, request)), 0.0, 1.0);
    const std::vector<int> teams = distinctTeams(season, request.Teams);
    const std::optional<Schedule> schedule = buildSchedule(season, request, teams, result.DrawRate);
    if (!schedule) {
        result.Status = OddsStatus::ScheduleInconsistent;
        return result;
    }
    result.ScheduleMismatch = schedule->mismatch;
    const std::vector<Card> &cards = schedule->cards;
    const std::int64_t limit = std::max<std::int64_t>(1, request.ExactLimit);
    const std::int64_t outcomes = outcomeCount(cards, limit);
    result.Exact =
        request.Mode == Method::Exact || (request.Mode == Method::Auto && outcomes <= limit);
    if (result.Exact && outcomes > limit) {
        result.Status = OddsStatus::TooManyOutcomes;
        return result;
    }
    const int runs = std::max(1, request.Runs);
    const std::int64_t items = result.Exact ? outcomes : runs;
    result.Outcomes = items;
    if (!result.Exact) {
        result.Runs = runs;
        result.Seed = request.Seed;
    }

    const std::size_t n = teams.size();
    const int k = result.TopK;
    const std::int64_t blocks = (items + BlockSize - 1) / BlockSize;
    std::atomic<std::int64_t> next{0};
    std::atomic<bool> stopped{false};
    // Blocks are added to the total in their order as soon as the ones
    // before them are in; only blocks finished early wait, so the memory
    // stays a few blocks' worth however many teams and cards there are.
    std::mutex mergeMutex;
    Sums total(n, cards.size());
    std::map<std::int64_t, Sums> waiting;
    std::int64_t merged = 0;
    std::int64_t done = 0;

    auto playBlock = [&](Ranker &ranker, std::int64_t block, Sums &s) {
        const std::int64_t first = block * BlockSize;
        const std::int64_t last = std::min(items, first + BlockSize);
        std::vector<const Ending *> endings(cards.size());
        if (result.Exact) {
            // The outcome's number read as digits, the first card turning
            // fastest; only the cards whose digit moved are entered again.
            std::vector<std::size_t> digit(cards.size());
            std::int64_t rest = first;
            for (std::size_t c = 0; c < cards.size(); ++c) {
                const auto size = static_cast<std::int64_t>(cards[c].endings.size());
                digit[c] = static_cast<std::size_t>(rest % size);
                rest /= size;
                endings[c] = &cards[c].endings[digit[c]];
                ranker.enter(c, *endings[c]);
            }
            for (std::int64_t i = first; i < last; ++i) {
                double p = 1.0;
                for (const Ending *e : endings) {
                    p *= e->probability;
                }
                ranker.rank();
                s.count(ranker, cards, endings, k, p);
                for (std::size_t c = 0; c < cards.size(); ++c) {
                    digit[c] = digit[c] + 1 == cards[c].endings.size() ? 0 : digit[c] + 1;
                    endings[c] = &cards[c].endings[digit[c]];
                    ranker.enter(c, *endings[c]);
                    if (digit[c] != 0) {
                        break;
                    }
                }
            }
        } else {
            for (std::int64_t run = first; run < last; ++run) {
                Stream stream(request.Seed, static_cast<std::uint64_t>(run));
                for (std::size_t c = 0; c < cards.size(); ++c) {
                    const std::vector<double> &cumulative = cards[c].cumulative;
                    const auto at =
                        std::upper_bound(cumulative.begin(), cumulative.end(), stream.uniform());
                    const auto index = std::min<std::size_t>(
                        static_cast<std::size_t>(at - cumulative.begin()), cumulative.size() - 1);
                    endings[c] = &cards[c].endings[index];
                    ranker.enter(c, *endings[c]);
                }
                ranker.rank();
                s.count(ranker, cards, endings, k, 1.0);
            }
        }
    };
    auto work = [&]() {
        Ranker ranker(season, request, teams, cards);
        for (;;) {
            if (request.Cancel != nullptr && request.Cancel->load()) {
                stopped = true;
                return;
            }
            const std::int64_t block = next++;
            if (block >= blocks) {
                return;
            }
            Sums sums(n, cards.size());
            playBlock(ranker, block, sums);
            const std::lock_guard lock(mergeMutex);
            waiting.emplace(block, std::move(sums));
            while (!waiting.empty() && waiting.begin()->first == merged) {
                total.add(waiting.begin()->second);
                waiting.erase(waiting.begin());
                ++merged;
            }
            done += std::min(BlockSize, items - block * BlockSize);
            if (request.Progress) {
                request.Progress(done, items);
            }
        }
    };
    int threads = request.Threads > 0 ? request.Threads
                                      : static_cast<int>(std::thread::hardware_concurrency());
    threads = static_cast<int>(std::clamp<std::int64_t>(threads, 1, blocks));
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread &helper : helpers) {
        helper.join();
    }
    if (stopped) {
        result.Status = OddsStatus::Cancelled;
        return result;
    }

    const double weight = total.weight;
    for (std::size_t i = 0; i < n; ++i) {
        TeamOdds team;
        team.TeamNo = teams[i];
        team.Title = total.title[i] / weight;
        team.TopK = total.topK[i] / weight;
        for (std::size_t p = 0; p < n; ++p) {
            team.Ranks.push_back(total.ranks[i * n + p] / weight);
        }
        team.ExpectedWins = total.wins[i] / weight;
        team.ExpectedLosses = total.losses[i] / weight;
        team.ExpectedDraws = total.draws[i] / weight;
        team.ExpectedMeasure = total.measure[i] / weight;
        team.TitleProven = team.TopKProven = result.Exact;
        if (!result.Exact) {
            team.TitleInterval = wilson(team.Title, runs);
            team.TopKInterval = wilson(team.TopK, runs);
            const bool byWins = request.Judgment.Judgment == 1;
            for (const auto &[places, p, proven] : {std::tuple(1, team.Title, &team.TitleProven),
                                                    std::tuple(k, team.TopK, &team.TopKProven)}) {
                if (p == 0.0 || p == 1.0) {
                    const Settled settled = settledByRecords(season, teams, cards,
                                                             request.GameScope, byWins, i, places);
                    *proven = p == 0.0 ? settled.out : settled.in;
                }
            }
        }
        result.Teams.push_back(std::move(team));
    }
    for (std::size_t c = 0; c < cards.size(); ++c) {
        CardSwing swing;
        swing.TeamA = cards[c].teamA;
        swing.TeamB = cards[c].teamB;
        auto given = [&](const std::vector<double> &sum, double side, std::vector<double> &out) {
            if (side <= 0.0) {
                return;
            }
            for (std::size_t i = 0; i < n; ++i) {
                out.push_back(std::clamp(sum[c * n + i] / side, 0.0, 1.0));
            }
        };
        given(total.titleIfWin, total.cardWins[c], swing.TitleIfA);
        given(total.titleIfLoss, total.cardLosses[c], swing.TitleIfB);
        given(total.topIfWin, total.cardWins[c], swing.TopKIfA);
        given(total.topIfLoss, total.cardLosses[c], swing.TopKIfB);
        result.Cards.push_back(std::move(swing));
    }
    return result;
}

std::vector<BigGame> BigGames(const OddsResult &result, int teamNo, bool topK, int count)
{
    std::size_t team = 0;
    while (team < result.Teams.size() && result.Teams[team].TeamNo != teamNo) {
        ++team;
    }
    if (team == result.Teams.size()) {
        return {};
    }
    std::vector<BigGame> games;
    for (const CardSwing &card : result.Cards) {
        const std::vector<double> &ifA = topK ? card.TopKIfA : card.TitleIfA;
        const std::vector<double> &ifB = topK ? card.TopKIfB : card.TitleIfB;
        if (ifA.size() <= team || ifB.size() <= team || ifA[team] == ifB[team]) {
            continue;
        }
        games.push_back({card.TeamA, card.TeamB, ifA[team], ifB[team]});
    }
    std::stable_sort(games.begin(), games.end(), [](const BigGame &x, const BigGame &y) {
        return std::abs(x.IfAWins - x.IfBWins) > std::abs(y.IfAWins - y.IfBWins);
    });
    if (games.size() > static_cast<std::size_t>(std::max(0, count))) {
        games.resize(static_cast<std::size_t>(std::max(0, count)));
    }
    return games;
}

std::string FormatProbability(double p, bool proven)
{
    if (p >= 1.0 && proven) {
        return "100%";
    }
    if (p <= 0.0 && proven) {
        return "0%";
    }
    if (p > 0.999) {
        return ">99.9%";
    }
    if (p < 0.001) {
        return "<0.1%";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", p * 100.0);
    return text;
}

std::string MethodCaption(const OddsResult &result)
{
    if (result.Exact) {
        return "厳密計算";
    }
    // Runs in the Japanese units the dialog speaks in: 10万回, 5000回.
    const int runs = result.Runs;
    if (runs >= 10000 && runs % 10000 == 0) {
        return "シミュレーション" + std::to_string(runs / 10000) + "万回";
    }
    return "シミュレーション" + std::to_string(runs) + "回";
}

} // namespace penarin::odds
