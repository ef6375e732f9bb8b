#pragma once

#include "season/season.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace penarin::test {

// Builds seasons in code for the tests: teams with their league and
// division, cards with scheduled games and results kept from both sides.
// Derived fields (counts, scheduled totals, interleague flag, names of
// leagues and divisions) are filled in by build().
class SeasonBuilder
{
public:
    // Teams of one league without divisions, `games` against each other;
    // interleague results do not count (there are none).
    [[nodiscard]] static SeasonBuilder oneLeague(std::initializer_list<Text> names, int games);

    // Adds a team and returns its team number. division 0 = league without divisions.
    int addTeam(const Text &name, int league, int division = 0);
    // Schedules games between a and b (both directions).
    SeasonBuilder &card(int a, int b, int games);
    // Schedules `games` between every pair of teams of the same league
    // (and `interleagueGames` between teams of different leagues, -1 for none).
    SeasonBuilder &roundRobin(int games, int interleagueGames = -1);
    // Real results of a against b; b's record gets the mirror.
    SeasonBuilder &result(int a, int b, int wins, int losses, int draws = 0);
    // Simulated results of a against b (mirrored).
    SeasonBuilder &simResult(int a, int b, int wins, int losses, int draws = 0);
    SeasonBuilder &intCounts(int value);
    SeasonBuilder &drawReplay(int league, int division, int interleague);

    [[nodiscard]] Season build() const;

private:
    struct Team
    {
        Text name;
        int league;
        int division;
    };
    struct Card
    {
        int a, b, games;
    };
    struct Result
    {
        int a, b, wins, losses, draws;
        bool simulated;
    };
    std::vector<Team> m_teams;
    std::vector<Card> m_cards;
    std::vector<Result> m_results;
    int m_intCounts = 1;
    int m_leagueDraw = 0;
    int m_divisionDraw = 0;
    int m_intDraw = 1;
};

// Fixed clock for deterministic dates: 2026-08-15 12:00.
[[nodiscard]] double testNow();

} // namespace penarin::test
