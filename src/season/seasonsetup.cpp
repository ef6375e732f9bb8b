#include "season/seasonsetup.h"

#include "season/typedtext.h"

#include <algorithm>

namespace penarin {

namespace {

// A list without conditions is stored as the single end mark.
JudgmentSet normalized(JudgmentSet judgment)
{
    if (judgment.Conditions.empty()) {
        judgment.Conditions = {0};
    }
    return judgment;
}

bool contains(const std::vector<Text> &names, const Text &name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::int16_t narrow(int value)
{
    return static_cast<std::int16_t>(value);
}

} // namespace

Text TrimBlanks(std::u16string_view text)
{
    return Text(trimTyped(text));
}

int GamesValue(std::u16string_view text)
{
    int value = 0;
    for (const char16_t unit : text) {
        if (unit < u'0' || unit > u'9') {
            return 0;
        }
        value = std::min(value * 10 + (unit - u'0'), GamesLimit + 1);
    }
    return value;
}

SetupRefusal SeasonSetup::beginLeague(const LeagueChoice &league)
{
    const Text name = TrimBlanks(league.Name);
    if (name.empty()) {
        return SetupRefusal::LeagueNameMissing;
    }
    if (contains(m_leagueNames, name)) {
        return SetupRefusal::LeagueNameTaken;
    }
    if (league.Games < 1) {
        return SetupRefusal::LeagueGamesMissing;
    }
    if (league.Games > GamesLimit) {
        return SetupRefusal::TooManyGames;
    }
    m_leagueNames.push_back(name);
    ++m_leagueNo;
    m_league = league;
    m_league.Name = name;
    m_league.Judgment = normalized(league.Judgment);
    m_division = -1;
    m_currentLeagueTeams = 0;
    return SetupRefusal::None;
}

std::vector<Text> SeasonSetup::currentDivisions() const
{
    std::vector<Text> names;
    for (const DivisionEntry &entry : m_divisions) {
        if (entry.League == m_leagueNo) {
            names.push_back(entry.Name);
        }
    }
    return names;
}

SetupRefusal SeasonSetup::addDivision(std::u16string_view typed, int drawReplay,
                                      const JudgmentSet &judgment)
{
    const Text name = TrimBlanks(typed);
    if (name.empty()) {
        return SetupRefusal::Ignored;
    }
    if (divisionEntry(m_leagueNo, name)) {
        return SetupRefusal::DivisionNameTaken;
    }
    m_divisions.push_back(DivisionEntry{m_leagueNo, name, drawReplay, normalized(judgment)});
    return SetupRefusal::None;
}

SetupRefusal SeasonSetup::finishDivisions()
{
    if (currentDivisions().size() < 2) {
        return SetupRefusal::TooFewDivisions;
    }
    m_division = 0;
    return SetupRefusal::None;
}

SetupRefusal SeasonSetup::addTeamName(std::u16string_view typed)
{
    const Text name = TrimBlanks(typed);
    if (name.empty()) {
        return SetupRefusal::Ignored;
    }
    if (contains(m_enteredNames, name)) {
        return SetupRefusal::TeamNameTaken;
    }
    m_enteredNames.push_back(name);
    m_pending.push_back(name);
    return SetupRefusal::None;
}

void SeasonSetup::removeTeamName(int index)
{
    if (index < 0 || index >= static_cast<int>(m_pending.size())) {
        return;
    }
    const auto pending = m_pending.begin() + index;
    const auto entered = std::find(m_enteredNames.begin(), m_enteredNames.end(), *pending);
    if (entered != m_enteredNames.end()) {
        entered->clear();
    }
    m_pending.erase(pending);
}

bool SeasonSetup::finishesLeague() const
{
    return m_division < 0 || m_division + 1 >= static_cast<int>(currentDivisions().size());
}

SetupRefusal SeasonSetup::checkRegistration() const
{
    if (m_pending.empty()) {
        return SetupRefusal::Ignored;
    }
    // Every card's games are the league games shared among the rivals; a
    // team alone in its league has none to share them with.
    if (finishesLeague() && m_currentLeagueTeams + static_cast<int>(m_pending.size()) < 2) {
        return SetupRefusal::LeagueOfOneTeam;
    }
    return SetupRefusal::None;
}

const DivisionEntry *SeasonSetup::divisionEntry(int league, const Text &name) const
{
    const auto found =
        std::find_if(m_divisions.begin(), m_divisions.end(), [&](const DivisionEntry &entry) {
            return entry.League == league && entry.Name == name;
        });
    return found == m_divisions.end() ? nullptr : &*found;
}

bool SeasonSetup::registerTeams()
{
    const std::vector<Text> divisions = currentDivisions();
    const Text divisionName = m_division >= 0 ? divisions[m_division] : Text{};
    const DivisionEntry *division = divisionEntry(m_leagueNo, divisionName);

    for (const Text &name : m_pending) {
        TeamRecord team;
        const int teamNo = teamTotal() + 1;
        team.LeagueName = m_league.Name;
        team.DivisionName = divisionName;
        team.TeamName = name;
        team.League = narrow(m_leagueNo);
        team.Division = narrow(m_division + 1);
        team.GridRank = team.UserRankA = team.UserRankB = team.UserRankC = narrow(teamNo);
        team.DivisionCount = narrow(static_cast<int>(divisions.size()));
        team.HasDivisions = divisions.empty() ? StoredFalse : StoredTrue;
        team.OfficialGames = team.LeagueGames = narrow(m_league.Games);
        team.LeagueDrawReplay = narrow(m_league.DrawReplay);
        team.LeagueJudgment = m_league.Judgment;
        if (division) {
            team.DivisionDrawReplay = narrow(division->DrawReplay);
            team.DivisionJudgment = division->Judgment;
        } else {
            team.DivisionDrawReplay = team.LeagueDrawReplay;
            team.DivisionJudgment = team.LeagueJudgment;
        }
        team.IntJudgment = JudgmentSet{0, {0}, 0};
        m_teams.push_back(std::move(team));
        ++m_currentLeagueTeams;
    }
    m_pending.clear();

    if (!finishesLeague()) {
        ++m_division;
        return false;
    }
    m_leagueTeamCounts.push_back(m_currentLeagueTeams);
    m_currentLeagueTeams = 0;
    m_division = -1;
    return true;
}

void SeasonSetup::finishLeagues()
{
    const int n = teamTotal();
    for (TeamRecord &team : m_teams) {
        team.LeagueTeamCount = narrow(m_leagueTeamCounts[team.League - 1]);
        team.CardGames.assign(n, -1);
        team.CardWins.assign(n, 0);
        team.CardLosses.assign(n, 0);
        team.CardDraws.assign(n, 0);
    }
    for (int i = 1; i <= n; ++i) {
        TeamRecord &team = m_teams[i - 1];
        const int rivals = team.LeagueTeamCount - 1;
        for (int j = 1; j <= n; ++j) {
            const TeamRecord &other = m_teams[j - 1];
            if (j != i && other.League == team.League && rivals > 0) {
                team.CardGames[j] = narrow(other.LeagueGames / rivals);
            }
        }
    }
}

int SeasonSetup::gamesOf(const TeamRecord &team, int interleaguePerCard) const
{
    const auto others = std::count_if(m_teams.begin(), m_teams.end(),
                                      [&](const TeamRecord &t) { return t.League != team.League; });
    return team.LeagueGames + interleaguePerCard * static_cast<int>(others);
}

SetupRefusal SeasonSetup::checkSeason(const InterleagueChoice &interleague) const
{
    if (teamTotal() > MaxTeams) {
        return SetupRefusal::TooManyTeams;
    }
    const int perCard = m_leagueNo > 1 ? interleague.GamesPerCard : 0;
    if (perCard > GamesLimit ||
        std::any_of(m_teams.begin(), m_teams.end(),
                    [&](const TeamRecord &team) { return gamesOf(team, perCard) > GamesLimit; })) {
        return SetupRefusal::TooManyGames;
    }
    return SetupRefusal::None;
}

void SeasonSetup::buildSeason(Season &season, const InterleagueChoice &choice, double now) const
{
    // With one league there is no interleague play to count or to judge.
    const InterleagueChoice interleague = m_leagueNo > 1 ? choice : InterleagueChoice{0, false};
    const int n = teamTotal();

    Season built;
    built.Header.LeagueCount = narrow(m_leagueNo);
    built.Header.ViewLeague = 0;
    built.Header.ViewDivision = -1;
    built.Header.UpdatedAt = now;
    built.ViewRows.resize(n);
    built.ViewCols.resize(n);
    for (int i = 1; i <= n; ++i) {
        built.ViewRows[i] = built.ViewCols[i] = narrow(i);
    }
    built.Interleague.IntDrawReplay = narrow(interleague.DrawReplay);
    built.Interleague.IntCounts = interleague.Counts ? 1 : 0;

    const int g = interleague.GamesPerCard;
    for (const TeamRecord &record : m_teams) {
        built.Teams.push_back(record);
    }
    for (int i = 1; i <= n; ++i) {
        TeamRecord &team = built.Teams[i];
        team.IntJudgment = normalized(interleague.Judgment);
        team.CardGames[i] = -1;
        for (int j = 1; j <= n; ++j) {
            if (built.Teams[j].League != team.League) {
                team.CardGames[j] = narrow(g);
                team.OfficialGames = narrow(team.OfficialGames + g);
                team.InterleagueGames = narrow(team.InterleagueGames + g);
            }
        }
        team.PlaysInterleague = team.InterleagueGames >= 1 ? StoredTrue : StoredFalse;
    }
    built.TeamShown.assign(n, StoredTrue);
    built.TeamSnapshots.assign(n, TeamSnapshot{});
    built.resetSimResults();
    season = std::move(built);
}

} // namespace penarin
