#pragma once

// Sets of rivals that might all finish level with one team or ahead of it
// on the measure alone, the team's final record being fixed. Bounds on
// what each subset of a set can gain together rule most sets out without a
// solver, and a direct construction finds an outcome for most of the rest:
// the questions "can k rivals finish ahead" that the magic search asks
// near a magic number are decided here in microseconds. Internal to
// src/race.

#include "race/race.h"
#include "race/racemodel.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace penarin::race {

class RivalSets
{
public:
    // The team wins `wins` of its remaining games and loses the rest; a
    // rival counts when it ends level or better on the measure, or, with
    // `strictly`, better. With `twins`, of two rivals with the same games
    // left against everybody, the one with the worse record is only taken
    // with the other: whatever it can do, its twin can do at least as well
    // on the measure, so the sets left out change no answer on the measure
    // (they may on the tie-break conditions).
    RivalSets(const RaceModel &model, int team, int wins, bool strictly, bool twins);

    // Sets larger than this are not enumerated (the bounds look at every
    // subset of a set).
    static constexpr int MostMembers = 8;

    // Calls `visit` with every set of `size` rivals that the bounds do not
    // rule out, in the order of the rivals' best scores, until it returns
    // true. Returns whether some set was visited. A set the bounds rule out
    // cannot reach the target in any outcome.
    bool forEach(int size, const std::function<bool(const std::vector<int> &)> &visit) const;

    // An outcome in which every rival of `set` reaches the target, or none
    // when the construction does not get there (which proves nothing).
    [[nodiscard]] std::optional<Certificate> construct(const std::vector<int> &set) const;

private:
    void findTwins();

    // A rival's final record scored against the team's: P W - Q L - R is at
    // least 0 exactly when the rival is level or better, at least 1 when
    // better (W, L the rival's wins and losses).
    [[nodiscard]] std::int64_t score(std::int64_t wins, std::int64_t losses) const
    {
        return m_p * wins - m_q * losses - m_r;
    }

    const RaceModel &m_model;
    int m_team;
    int m_teamLosses;      // of the team's remaining games
    std::int64_t m_target; // 0, or 1 for strictly
    std::int64_t m_p = 1;
    std::int64_t m_q = 0;
    std::int64_t m_r = 0;
    // Per view team: the best score it can reach leaving its games against
    // the team aside, and the games it has left against the team.
    std::vector<std::int64_t> m_alone;
    std::vector<std::int64_t> m_againstTeam;
    // Per pair of view teams: what their meetings cost the pair's best
    // scores when both are counted (each meeting counted as won by both).
    std::vector<std::vector<std::int64_t>> m_shared;
    // Per view team: its twin with a record at least as good, which a set
    // must hold before it, or -1.
    std::vector<int> m_before;
};

} // namespace penarin::race
