#pragma once

// Seasons for the benchmarks, built deterministically rather than loaded: a
// fixed generator plays two thirds of every card, so every run measures the
// same standings and the same magic numbers.

#include "season/season.h"

#include <cstdint>
#include <random>

namespace penarin::bench {

struct Shape
{
    int teams = 12;
    int leagues = 1;
};

// Scheduled games per card: a season of about 140 games per team, but at
// least two games against every opponent (the largest seasons only reach
// that many).
inline int gamesPerCard(int opponents)
{
    const int games = opponents > 0 ? 143 / opponents : 0;
    return games < 2 ? 2 : games;
}

// One game of the card between teams a and b: a wins when `roll` (0..99)
// is below `winBelow`, loses below `lossBelow`, and otherwise it is drawn.
inline void playGame(Season &season, int a, int b, int roll, int winBelow, int lossBelow)
{
    TeamRecord &first = season.Teams[a];
    TeamRecord &second = season.Teams[b];
    if (roll < winBelow) {
        ++first.CardWins[b];
        ++second.CardLosses[a];
    } else if (roll < lossBelow) {
        ++first.CardLosses[b];
        ++second.CardWins[a];
    } else {
        ++first.CardDraws[b];
        ++second.CardDraws[a];
    }
}

inline Season buildSeason(const Shape &shape)
{
    Season season;
    const int n = shape.teams;
    const int perLeague = (n + shape.leagues - 1) / shape.leagues;
    season.Header.LeagueCount = static_cast<std::int16_t>(shape.leagues);
    // Interleague results only count in the one-league season, where there
    // are none; with several leagues every team is shown in official games.
    season.Interleague.IntCounts = shape.leagues == 1 ? 1 : 0;
    season.Interleague.IntDrawReplay = 1;
    season.Teams.resize(n);
    for (int i = 1; i <= n; ++i) {
        TeamRecord &team = season.Teams[i];
        team.League = static_cast<std::int16_t>((i - 1) / perLeague + 1);
        team.TeamName = {u'T', static_cast<char16_t>(u'A' + (i - 1) % 26)};
        team.GridRank = static_cast<std::int16_t>(i);
        team.LeagueDrawReplay = 1;
        team.DivisionDrawReplay = 1;
        team.LeagueJudgment = JudgmentSet{0, {1, 2, 7, 0}, 0};
        team.DivisionJudgment = team.LeagueJudgment;
        team.IntJudgment = team.LeagueJudgment;
        team.UserRankA = team.UserRankB = team.UserRankC = static_cast<std::int16_t>(i);
        team.CardGames.assign(n, -1);
        team.CardWins.assign(n, 0);
        team.CardLosses.assign(n, 0);
        team.CardDraws.assign(n, 0);
    }

    std::mt19937 random(20260815u);
    for (int a = 1; a <= n; ++a) {
        for (int b = a + 1; b <= n; ++b) {
            TeamRecord &first = season.Teams[a];
            TeamRecord &second = season.Teams[b];
            const int games = gamesPerCard(first.League == second.League ? perLeague - 1 : n - 1);
            first.CardGames[b] = second.CardGames[a] = static_cast<std::int16_t>(games);
            const int played = (games * 2 + 1) / 3;
            for (int g = 0; g < played; ++g) {
                playGame(season, a, b, static_cast<int>(random() % 100), 48, 96);
            }
        }
    }
    for (int i = 1; i <= n; ++i) {
        TeamRecord &team = season.Teams[i];
        int league = 0;
        int inter = 0;
        for (int j = 1; j <= n; ++j) {
            if (team.CardGames[j] > 0) {
                (season.Teams[j].League == team.League ? league : inter) += team.CardGames[j];
            }
        }
        team.LeagueGames = static_cast<std::int16_t>(league);
        team.InterleagueGames = static_cast<std::int16_t>(inter);
        team.OfficialGames = static_cast<std::int16_t>(league + inter);
        season.ViewRows.push_back(static_cast<std::int16_t>(i));
        season.ViewCols.push_back(static_cast<std::int16_t>(i));
    }
    season.TeamShown.assign(n, StoredTrue);
    season.resetSimResults();
    season.GameScope = ScopeOfficial;
    season.HasSeason = true;
    return season;
}

} // namespace penarin::bench
