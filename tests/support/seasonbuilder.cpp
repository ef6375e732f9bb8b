#include "support/seasonbuilder.h"

#include <algorithm>
#include <string>

namespace penarin::test {

SeasonBuilder SeasonBuilder::oneLeague(std::initializer_list<Text> names, int games)
{
    SeasonBuilder builder;
    for (const Text &name : names) {
        builder.addTeam(name, 1);
    }
    builder.roundRobin(games).intCounts(0);
    return builder;
}

int SeasonBuilder::addTeam(const Text &name, int league, int division)
{
    m_teams.push_back({name, league, division});
    return static_cast<int>(m_teams.size());
}

SeasonBuilder &SeasonBuilder::card(int a, int b, int games)
{
    m_cards.push_back({a, b, games});
    return *this;
}

SeasonBuilder &SeasonBuilder::roundRobin(int games, int interleagueGames)
{
    const int n = static_cast<int>(m_teams.size());
    for (int a = 1; a <= n; ++a) {
        for (int b = a + 1; b <= n; ++b) {
            const bool sameLeague = m_teams[a - 1].league == m_teams[b - 1].league;
            card(a, b, sameLeague ? games : interleagueGames);
        }
    }
    return *this;
}

SeasonBuilder &SeasonBuilder::result(int a, int b, int wins, int losses, int draws)
{
    m_results.push_back({a, b, wins, losses, draws, false});
    return *this;
}

SeasonBuilder &SeasonBuilder::simResult(int a, int b, int wins, int losses, int draws)
{
    m_results.push_back({a, b, wins, losses, draws, true});
    return *this;
}

SeasonBuilder &SeasonBuilder::intCounts(int value)
{
    m_intCounts = value;
    return *this;
}

SeasonBuilder &SeasonBuilder::drawReplay(int league, int division, int interleague)
{
    m_leagueDraw = league;
    m_divisionDraw = division;
    m_intDraw = interleague;
    return *this;
}

Season SeasonBuilder::build() const
{
    Season season;
    const int n = static_cast<int>(m_teams.size());
    int leagueCount = 0;
    for (const Team &t : m_teams) {
        leagueCount = std::max(leagueCount, t.league);
    }
    season.Header.Signature = SeasonSignature;
    season.Header.SavedMajor = ProgramMajor;
    season.Header.SavedMinor = ProgramMinor;
    season.Header.SavedRevision = ProgramRevision;
    season.Header.LeagueCount = static_cast<std::int16_t>(leagueCount);
    season.Header.ViewLeague = 0;
    season.Header.ViewDivision = -1;
    season.Header.UpdatedAt = testNow();
    season.Interleague.IntCounts = static_cast<std::int16_t>(m_intCounts);
    season.Interleague.IntDrawReplay = static_cast<std::int16_t>(m_intDraw);

    season.Teams.resize(n);
    for (int i = 1; i <= n; ++i) {
        const Team &t = m_teams[i - 1];
        TeamRecord &r = season.Teams[i];
        const std::u16string leagueNo = std::u16string(1, static_cast<char16_t>(u'0' + t.league));
        r.LeagueName = u"リーグ" + leagueNo;
        r.DivisionName =
            t.division == 0 ? Text{}
                            : u"地区" + std::u16string(1, static_cast<char16_t>(u'0' + t.division));
        r.TeamName = t.name;
        r.League = static_cast<std::int16_t>(t.league);
        r.Division = static_cast<std::int16_t>(t.division);
        r.GridRank = static_cast<std::int16_t>(i);
        int divisions = 0;
        int leagueTeams = 0;
        for (const Team &o : m_teams) {
            if (o.league == t.league) {
                divisions = std::max(divisions, o.division);
                ++leagueTeams;
            }
        }
        r.DivisionCount = static_cast<std::int16_t>(divisions);
        r.HasDivisions = divisions != 0 ? StoredTrue : StoredFalse;
        r.LeagueTeamCount = static_cast<std::int16_t>(leagueTeams);
        r.LeagueDrawReplay = static_cast<std::int16_t>(m_leagueDraw);
        r.DivisionDrawReplay =
            static_cast<std::int16_t>(divisions != 0 ? m_divisionDraw : m_leagueDraw);
        r.LeagueJudgment = JudgmentSet{0, {0}, 0};
        r.DivisionJudgment = JudgmentSet{0, {0}, 0};
        r.IntJudgment = JudgmentSet{0, {0}, 0};
        r.CardGames.assign(n, -1);
        r.CardWins.assign(n, 0);
        r.CardLosses.assign(n, 0);
        r.CardDraws.assign(n, 0);
        r.UserRankA = r.UserRankB = r.UserRankC = static_cast<std::int16_t>(i);
    }
    for (const Card &c : m_cards) {
        season.Teams[c.a].CardGames[c.b] = static_cast<std::int16_t>(c.games);
        season.Teams[c.b].CardGames[c.a] = static_cast<std::int16_t>(c.games);
    }
    for (int i = 1; i <= n; ++i) {
        TeamRecord &r = season.Teams[i];
        int league = 0;
        int inter = 0;
        for (int j = 1; j <= n; ++j) {
            if (j == i || r.CardGames[j] < 0) {
                continue;
            }
            (season.Teams[j].League == r.League ? league : inter) += r.CardGames[j];
        }
        r.LeagueGames = static_cast<std::int16_t>(league);
        r.InterleagueGames = static_cast<std::int16_t>(inter);
        r.OfficialGames = static_cast<std::int16_t>(league + inter);
        r.PlaysInterleague = inter > 0 ? StoredTrue : StoredFalse;
    }

    season.ViewRows.resize(n);
    season.ViewCols.resize(n);
    for (int i = 1; i <= n; ++i) {
        season.ViewRows[i] = static_cast<std::int16_t>(i);
        season.ViewCols[i] = static_cast<std::int16_t>(i);
    }
    season.TeamShown.assign(n, StoredTrue);
    season.TeamSnapshots.resize(n);
    season.resetSimResults();

    for (const Result &res : m_results) {
        auto add = [](std::int16_t &cell, int value) {
            cell = static_cast<std::int16_t>(cell + value);
        };
        if (res.simulated) {
            add(season.SimResults[res.a].Wins[res.b], res.wins);
            add(season.SimResults[res.a].Losses[res.b], res.losses);
            add(season.SimResults[res.a].Draws[res.b], res.draws);
            add(season.SimResults[res.b].Wins[res.a], res.losses);
            add(season.SimResults[res.b].Losses[res.a], res.wins);
            add(season.SimResults[res.b].Draws[res.a], res.draws);
        } else {
            TeamRecord &ta = season.Teams[res.a];
            TeamRecord &tb = season.Teams[res.b];
            add(ta.CardWins[res.b], res.wins);
            add(ta.CardLosses[res.b], res.losses);
            add(ta.CardDraws[res.b], res.draws);
            add(tb.CardWins[res.a], res.losses);
            add(tb.CardLosses[res.a], res.wins);
            add(tb.CardDraws[res.a], res.draws);
        }
    }
    return season;
}

double testNow()
{
    return toOleDate({2026, 8, 15, 12, 0, 0});
}

} // namespace penarin::test
