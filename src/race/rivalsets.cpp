#include "race/rivalsets.h"

#include <algorithm>
#include <bit>
#include <map>
#include <tuple>
#include <utility>

namespace penarin::race {

namespace {

bool involves(const Card &card, int view)
{
    return card.viewA == view || card.viewB == view;
}

} // namespace

RivalSets::RivalSets(const RaceModel &model, int team, int wins, bool strictly, bool twins)
    : m_model(model), m_team(team),
      m_teamLosses(model.teams[static_cast<std::size_t>(team)].remaining - wins),
      m_target(strictly ? 1 : 0)
{
    const Participant &me = model.teams[static_cast<std::size_t>(team)];
    const std::int64_t a = me.wins + wins;
    const std::int64_t b = me.losses + m_teamLosses;
    if (model.byWins) {
        m_r = a;
    } else if (a + b > 0) {
        // W / (W + L) against a / (a + b), cross-multiplied: b W - a L.
        m_p = b;
        m_q = a;
    } // else the team's percentage is 0: better is a single win.

    const auto count = model.teams.size();
    m_alone.assign(count, 0);
    m_againstTeam.assign(count, 0);
    m_shared.assign(count, std::vector<std::int64_t>(count, 0));
    m_before.assign(count, -1);
    if (twins) {
        findTwins();
    }
    for (std::size_t v = 0; v < count; ++v) {
        m_alone[v] = score(model.teams[v].wins, model.teams[v].losses);
    }
    for (const Card &card : model.cards) {
        const bool withTeam = involves(card, team);
        for (const int v : {card.viewA, card.viewB}) {
            if (v < 0 || v == team) {
                continue;
            }
            (withTeam ? m_againstTeam[v] : m_alone[v]) += withTeam ? card.games : m_p * card.games;
        }
        if (!withTeam && card.viewA >= 0 && card.viewB >= 0) {
            // Both sides were credited every meeting as a win; together
            // they get at most one win and one loss a game, or a draw.
            const std::int64_t decided = m_p - m_q;
            const std::int64_t best = card.draws ? std::max<std::int64_t>(decided, 0) : decided;
            const std::int64_t cost = card.games * (2 * m_p - best);
            m_shared[card.viewA][card.viewB] += cost;
            m_shared[card.viewB][card.viewA] += cost;
        }
    }
}

void RivalSets::findTwins()
{
    const auto count = m_model.teams.size();
    // Games left per opponent (view teams by position, others by team
    // number after them) and whether they may end drawn.
    std::vector<std::map<int, std::pair<int, bool>>> left(count);
    for (const Card &card : m_model.cards) {
        const int keyA = card.viewA >= 0 ? card.viewA : static_cast<int>(count) + card.teamA;
        const int keyB = card.viewB >= 0 ? card.viewB : static_cast<int>(count) + card.teamB;
        for (const auto &[v, key] : {std::pair{card.viewA, keyB}, std::pair{card.viewB, keyA}}) {
            if (v >= 0) {
                auto &entry = left[static_cast<std::size_t>(v)][key];
                entry.first += card.games;
                entry.second = entry.second || card.draws;
            }
        }
    }
    auto twins = [&](int r, int s) {
        auto a = left[static_cast<std::size_t>(r)];
        auto b = left[static_cast<std::size_t>(s)];
        a.erase(s);
        b.erase(r);
        return a == b;
    };
    std::vector<int> order;
    for (int r = 0; r < static_cast<int>(count); ++r) {
        if (r != m_team) {
            order.push_back(r);
        }
    }
    // Best record first within each group of twins.
    std::sort(order.begin(), order.end(), [&](int x, int y) {
        const Participant &a = m_model.teams[static_cast<std::size_t>(x)];
        const Participant &b = m_model.teams[static_cast<std::size_t>(y)];
        return std::tuple(-a.wins, a.losses, x) < std::tuple(-b.wins, b.losses, y);
    });
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Participant &p = m_model.teams[static_cast<std::size_t>(order[i])];
        for (std::size_t j = i; j-- > 0;) {
            const Participant &q = m_model.teams[static_cast<std::size_t>(order[j])];
            if (twins(order[j], order[i])) {
                if (q.wins >= p.wins && q.losses <= p.losses) {
                    m_before[static_cast<std::size_t>(order[i])] = order[j];
                }
                break; // the nearest twin before it, the rest follow by chain
            }
        }
    }
}

bool RivalSets::forEach(int size, const std::function<bool(const std::vector<int> &)> &visit) const
{
    // The most a subset with these totals can reach together: the team's
    // losses go to its members as far as they meet it, its wins are losses
    // of the members only where its other games cannot hold them.
    auto bound = [this](std::int64_t alone, std::int64_t meetings) {
        const std::int64_t taken = std::min<std::int64_t>(m_teamLosses, meetings);
        return alone + m_p * taken - m_q * (meetings - taken);
    };
    std::vector<std::pair<std::int64_t, int>> ranked;
    for (int r = 0; r < static_cast<int>(m_model.teams.size()); ++r) {
        if (r == m_team) {
            continue;
        }
        const std::int64_t best = bound(m_alone[r], m_againstTeam[r]);
        if (best >= m_target) {
            ranked.emplace_back(-best, r);
        }
    }
    if (size < 1 || size > MostMembers || static_cast<int>(ranked.size()) < size) {
        return false;
    }
    std::sort(ranked.begin(), ranked.end());
    std::vector<int> place(m_model.teams.size(), -1);
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        place[static_cast<std::size_t>(ranked[i].second)] = static_cast<int>(i);
    }
    std::vector<char> taken(m_model.teams.size(), 0);
    // A set holding a rival but not its better twin is left out: the twin
    // in its place does at least as well.
    auto twinMissing = [&](int r, std::size_t considered) {
        const int twin = m_before[static_cast<std::size_t>(r)];
        return twin >= 0 && taken[static_cast<std::size_t>(twin)] == 0 &&
               (place[static_cast<std::size_t>(twin)] < 0 ||
                static_cast<std::size_t>(place[static_cast<std::size_t>(twin)]) < considered);
    };

    // Per subset of the chosen rivals (a bit per position), the sum of
    // their scores alone less what their meetings cost, and their games
    // against the team. A set is kept only while every subset can reach the
    // target together; the entries of position d are written when the d-th
    // member is chosen, so one array serves the whole search.
    const std::size_t subsets = std::size_t{1} << size;
    std::vector<std::int64_t> together(subsets, 0);
    std::vector<std::int64_t> meetings(subsets, 0);
    std::vector<std::int64_t> sharedWith(subsets / 2, 0);
    std::vector<int> chosen;
    bool visited = false;
    bool stopped = false;

    std::function<void(std::size_t)> extend = [&](std::size_t from) {
        const auto depth = chosen.size();
        if (static_cast<int>(depth) == size) {
            for (const int r : chosen) {
                if (twinMissing(r, ranked.size())) {
                    return;
                }
            }
            visited = true;
            stopped = visit(chosen);
            return;
        }
        const std::size_t half = std::size_t{1} << depth;
        const std::size_t still = static_cast<std::size_t>(size) - depth;
        for (std::size_t i = from; i + still <= ranked.size() && !stopped; ++i) {
            const int r = ranked[i].second;
            bool possible = !twinMissing(r, i);
            for (std::size_t mask = 0; mask < half && possible; ++mask) {
                if (mask != 0) {
                    const auto low = static_cast<std::size_t>(std::countr_zero(mask));
                    sharedWith[mask] = sharedWith[mask & (mask - 1)] + m_shared[r][chosen[low]];
                }
                const std::size_t with = mask | half;
                together[with] = together[mask] + m_alone[r] - (mask != 0 ? sharedWith[mask] : 0);
                meetings[with] = meetings[mask] + m_againstTeam[r];
                possible = bound(together[with], meetings[with]) >= m_target * std::popcount(with);
            }
            if (possible) {
                chosen.push_back(r);
                taken[static_cast<std::size_t>(r)] = 1;
                extend(i + 1);
                taken[static_cast<std::size_t>(r)] = 0;
                chosen.pop_back();
            }
        }
    };
    extend(0);
    return visited;
}

std::optional<Certificate> RivalSets::construct(const std::vector<int> &set) const
{
    const auto count = m_model.teams.size();
    std::vector<char> member(count, 0);
    for (const int r : set) {
        member[static_cast<std::size_t>(r)] = 1;
    }
    std::vector<std::int64_t> wins(count);
    std::vector<std::int64_t> losses(count);
    for (std::size_t v = 0; v < count; ++v) {
        wins[v] = m_model.teams[v].wins;
        losses[v] = m_model.teams[v].losses;
    }
    auto in = [&](int v) { return v >= 0 && member[static_cast<std::size_t>(v)] != 0; };
    // Per card the wins of each side; the rest of its games are drawn.
    std::vector<std::pair<int, int>> play(m_model.cards.size());
    auto credit = [&](const Card &card, int winsA, int winsB, int sign) {
        // Every game either side did not win is a loss of it or a draw.
        if (card.viewA >= 0) {
            wins[card.viewA] += sign * winsA;
            losses[card.viewA] += sign * winsB;
        }
        if (card.viewB >= 0) {
            wins[card.viewB] += sign * winsB;
            losses[card.viewB] += sign * winsA;
        }
    };
    auto set_ = [&](std::size_t c, int winsA, int winsB) {
        const Card &card = m_model.cards[c];
        credit(card, play[c].first, play[c].second, -1);
        play[c] = {winsA, card.draws ? winsB : card.games - winsA};
        credit(card, play[c].first, play[c].second, 1);
    };
    for (std::size_t c = 0; c < m_model.cards.size(); ++c) {
        const Card &card = m_model.cards[c];
        play[c] = {0, card.draws ? 0 : card.games};
        credit(card, play[c].first, play[c].second, 1);
    }

    // Members win every game against the others; between members, draws
    // where a draw is worth more to the two than a win and a loss.
    std::vector<std::size_t> ofTeam;
    for (std::size_t c = 0; c < m_model.cards.size(); ++c) {
        const Card &card = m_model.cards[c];
        const int g = card.games;
        if (involves(card, m_team)) {
            ofTeam.push_back(c);
        } else if (in(card.viewA) != in(card.viewB)) {
            set_(c, in(card.viewA) ? g : 0, in(card.viewA) ? 0 : g);
        } else if (in(card.viewA) && card.draws && m_q > m_p) {
            set_(c, 0, 0);
        } else {
            set_(c, g - g / 2, g / 2);
        }
    }

    // The team's losses: first what each member needs, neediest first,
    // then as many more as the members can take, then to the others.
    auto opponent = [&](std::size_t c) {
        const Card &card = m_model.cards[c];
        return card.viewA == m_team ? card.viewB : card.viewA;
    };
    auto giveLosses = [&](std::size_t c, int n) { // n more of the team's games lost
        const Card &card = m_model.cards[c];
        const int teamWins = (card.viewA == m_team ? play[c].first : play[c].second) - n;
        const int opponentWins = card.games - teamWins;
        set_(c, card.viewA == m_team ? teamWins : opponentWins,
             card.viewA == m_team ? opponentWins : teamWins);
    };
    for (const std::size_t c : ofTeam) {
        const Card &card = m_model.cards[c];
        set_(c, card.viewA == m_team ? card.games : 0, card.viewA == m_team ? 0 : card.games);
    }
    auto lostTo = [&](std::size_t c) {
        const Card &card = m_model.cards[c];
        return card.viewA == m_team ? play[c].second : play[c].first;
    };
    std::int64_t left = m_teamLosses;
    std::vector<std::size_t> order = ofTeam;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const int ox = opponent(x);
        const int oy = opponent(y);
        if (in(ox) != in(oy)) {
            return in(ox);
        }
        return in(ox) && score(wins[ox], losses[ox]) < score(wins[oy], losses[oy]);
    });
    for (const std::size_t c : order) {
        const int o = opponent(c);
        if (!in(o) || left == 0) {
            continue;
        }
        const std::int64_t short_ = m_target - score(wins[o], losses[o]);
        const std::int64_t need = short_ <= 0 ? 0 : (short_ + m_p + m_q - 1) / (m_p + m_q);
        const int n = static_cast<int>(std::min<std::int64_t>(
            {need, left, m_model.cards[c].games - static_cast<std::int64_t>(lostTo(c))}));
        giveLosses(c, n);
        left -= n;
    }
    for (const std::size_t c : order) {
        const int n = static_cast<int>(std::min<std::int64_t>(
            left, m_model.cards[c].games - static_cast<std::int64_t>(lostTo(c))));
        giveLosses(c, n);
        left -= n;
    }

    // Members still short take from members with room to give: a meeting
    // turned their way, or one of the team's losses moved over.
    std::int64_t moves = 0;
    for (const Card &card : m_model.cards) {
        moves += 2LL * card.games;
    }
    for (; moves > 0; --moves) {
        int shortOne = -1;
        for (const int r : set) {
            if (score(wins[r], losses[r]) < m_target &&
                (shortOne < 0 ||
                 score(wins[r], losses[r]) < score(wins[shortOne], losses[shortOne]))) {
                shortOne = r;
            }
        }
        if (shortOne < 0) {
            break;
        }
        const int r = shortOne;
        std::int64_t bestGain = 0;
        std::function<void()> bestMove;
        auto consider = [&](int giver, std::int64_t gain, std::int64_t cost,
                            std::function<void()> move) {
            if (gain <= bestGain) {
                return;
            }
            if (in(giver) && score(wins[giver], losses[giver]) - cost < m_target) {
                return;
            }
            bestGain = gain;
            bestMove = std::move(move);
        };
        for (std::size_t c = 0; c < m_model.cards.size(); ++c) {
            const Card &card = m_model.cards[c];
            if (!involves(card, r)) {
                continue;
            }
            const bool rIsA = card.viewA == r;
            const int s = rIsA ? card.viewB : card.viewA;
            int &mine = rIsA ? play[c].first : play[c].second;
            int &theirs = rIsA ? play[c].second : play[c].first;
            if (s == m_team) {
                // One of the team's losses moved here from another card.
                if (mine == card.games) {
                    continue;
                }
                for (const std::size_t d : ofTeam) {
                    const int o = opponent(d);
                    if (o == r || lostTo(d) == 0) {
                        continue;
                    }
                    consider(o, m_p + m_q, m_p + m_q, [&, c, d] {
                        giveLosses(c, 1);
                        giveLosses(d, -1);
                    });
                }
                continue;
            }
            if (!in(s)) {
                continue;
            }
            const int drawn = card.games - mine - theirs;
            auto shift = [&, c, rIsA](int dMine, int dTheirs) {
                return [&, c, rIsA, dMine, dTheirs] {
                    const int a = play[c].first + (rIsA ? dMine : dTheirs);
                    const int b = play[c].second + (rIsA ? dTheirs : dMine);
                    set_(c, a, b);
                };
            };
            if (card.draws && drawn > 0) {
                consider(s, m_p, m_q, shift(1, 0));
            }
            if (card.draws && theirs > 0) {
                consider(s, m_q, m_p, shift(0, -1));
            }
            if (!card.draws && theirs > 0) {
                consider(s, m_p + m_q, m_p + m_q, shift(1, -1));
            }
        }
        if (!bestMove) {
            break;
        }
        bestMove();
    }
    for (const int r : set) {
        if (score(wins[r], losses[r]) < m_target) {
            return std::nullopt;
        }
    }

    Certificate out;
    for (std::size_t c = 0; c < m_model.cards.size(); ++c) {
        const Card &card = m_model.cards[c];
        const auto [winsA, winsB] = play[c];
        out.push_back({card.teamA, card.teamB, winsA, winsB, card.games - winsA - winsB});
    }
    std::sort(out.begin(), out.end(), [](const CardOutcome &x, const CardOutcome &y) {
        return std::pair(x.Team, x.Opponent) < std::pair(y.Team, y.Opponent);
    });
    return out;
}

} // namespace penarin::race
