#include "standings/judgment.h"

#include <utility>

namespace penarin {

namespace {

// 1 when `mine` is beyond reach of `best`, 2 when it can only be equalled.
int beyondReach(double mine, double best)
{
    if (mine > best) {
        return 1;
    }
    return mine == best ? 2 : 0;
}

// Codes 3 to 6 compare league-only and interleague-only records, which only
// exist side by side in the official scope.
bool conditionApplies(int code, int gameScope)
{
    if (code >= ConditionCode::LeaguePct && code <= ConditionCode::InterleagueWins) {
        return gameScope == ScopeOfficial;
    }
    return code >= ConditionCode::End && code <= ConditionCode::UserRankC;
}

AheadTables::Table tableOf(int code)
{
    return static_cast<AheadTables::Table>(code - ConditionCode::Series);
}

int previousRank(const StandingsRow &row, int code)
{
    switch (code) {
    case ConditionCode::GridOrder:
        return row.TeamNo;
    case ConditionCode::GridOrder + 1:
        return row.UserRankA;
    case ConditionCode::GridOrder + 2:
        return row.UserRankB;
    default:
        return row.UserRankC;
    }
}

const char *conditionText(int code, int judgment, int gameScope)
{
    if (!conditionApplies(code, gameScope)) {
        return "";
    }
    switch (code) {
    case 1:
        return judgment == 1 ? "勝率" : "勝数";
    case 2:
        return "対戦";
    case 3:
        return "リーグ内勝率";
    case 4:
        return "リーグ内勝数";
    case 5:
        return "交流戦勝率";
    case 6:
        return "交流戦勝数";
    case 7:
        return "対戦表";
    case 8:
        return "設定1";
    case 9:
        return "設定2";
    case 10:
        return "設定3";
    default:
        return "";
    }
}

// Rows of `source` by team number, for pairing them with the view's rows.
std::vector<const StandingsRow *> byTeam(const OneBased<StandingsRow> &source, int teamCount)
{
    std::vector<const StandingsRow *> found(static_cast<std::size_t>(teamCount) + 1, nullptr);
    for (const StandingsRow &row : source) {
        if (row.TeamNo >= 1 && row.TeamNo <= teamCount) {
            found[static_cast<std::size_t>(row.TeamNo)] = &row;
        }
    }
    return found;
}

// The simulated results a team's series add: none outside simulation mode.
const SimRecord *simulationOf(const Season &season, int team)
{
    return season.SimMode != 0 && season.SimResults.contains(team) ? &season.SimResults[team]
                                                                   : nullptr;
}

// The draw rule of the series in the view: a drawn game uses up one of
// the card's games only where draws are not replayed.
int seriesDrawFactor(const Season &season, const JudgmentView &view, const TeamRecord &me)
{
    if (view.GameScope == ScopeInterleague) {
        return season.Interleague.IntDrawReplay;
    }
    return view.DivisionView ? me.DivisionDrawReplay : me.LeagueDrawReplay;
}

// Ahead on the head-to-head series of my team (me, with its simulated
// results sim) against team b.
int seriesAhead(const TeamRecord &me, const SimRecord *sim, int drawFactor, int b)
{
    const int scheduled = me.CardGames[b];
    int wins = me.CardWins[b];
    int draws = me.CardDraws[b];
    if (sim != nullptr) {
        wins += sim->Wins.contains(b) ? sim->Wins[b] : 0;
        draws += sim->Draws.contains(b) ? sim->Draws[b] : 0;
    }
    // What b has won plus what is still to play between the two: the most b
    // can end the series with.
    const int bestForRival = scheduled - wins - draws * drawFactor;
    return beyondReach(wins, bestForRival);
}

} // namespace

JudgmentSet JudgmentInForce(const Season &season, int firstTeam, int gameScope, bool divisionView)
{
    if (!season.Teams.contains(firstTeam)) {
        return JudgmentSet{0, {0}, 0};
    }
    const TeamRecord &team = season.team(firstTeam);
    if (gameScope == ScopeInterleague) {
        return team.IntJudgment;
    }
    if (divisionView) {
        return team.DivisionJudgment;
    }
    return team.LeagueJudgment;
}

int Ahead(const Season &season, const JudgmentView &view, int a, int b, AheadCriterion criterion,
          const StandingsRow &rowA, const StandingsRow &rowB)
{
    switch (criterion) {
    case AheadCriterion::Percentage:
        return beyondReach(rowA.MinPct, rowB.MaxPct);
    case AheadCriterion::Wins:
        return beyondReach(rowA.Wins, rowB.MaxWins);
    case AheadCriterion::Series:
        break;
    }
    if (!season.Teams.contains(a) || !season.Teams.contains(b) || a == b) {
        return 0;
    }
    const TeamRecord &me = season.team(a);
    return seriesAhead(me, simulationOf(season, a), seriesDrawFactor(season, view, me), b);
}

unsigned AheadTables::TablesRead(const std::vector<std::int16_t> &conditions, int gameScope)
{
    unsigned tables = 0;
    for (const int code : conditions) {
        if (code == ConditionCode::End) {
            break;
        }
        if (code >= ConditionCode::Series && code <= ConditionCode::InterleagueWins &&
            conditionApplies(code, gameScope)) {
            tables |= 1U << tableOf(code);
        }
    }
    return tables;
}

AheadTables::AheadTables(int teamCount, unsigned tables)
{
    reset(teamCount, tables);
}

void AheadTables::reset(int teamCount, unsigned tables)
{
    m_season = nullptr;
    m_teamCount = teamCount < 0 ? 0 : teamCount;
    const auto cells =
        static_cast<std::size_t>(m_teamCount) * static_cast<std::size_t>(m_teamCount);
    for (int table = 0; table < TableCount; ++table) {
        auto &cellsOf = m_tables[static_cast<std::size_t>(table)];
        if ((tables & (1U << table)) != 0) {
            cellsOf.assign(cells, 0);
        } else {
            cellsOf.clear();
        }
    }
}

void AheadTables::seriesOnRead(const Season &season, const JudgmentView &view,
                               const OneBased<StandingsRow> &rows, int count)
{
    auto &series = m_tables[Series];
    if (series.empty()) {
        return;
    }
    std::fill(series.begin(), series.end(), NotYetRead);
    m_season = &season;
    m_view = view;
    m_inView.assign(static_cast<std::size_t>(m_teamCount) + 1, 0);
    for (int i = 1; i <= count; ++i) {
        const int team = rows[i].TeamNo;
        if (team >= 1 && team <= m_teamCount) {
            m_inView[static_cast<std::size_t>(team)] = 1;
        }
    }
}

// The entry the series table would have been built with: pairs outside the
// view read 0, as they do in a built table.
std::uint8_t AheadTables::settleSeries(int a, int b) const
{
    std::uint8_t value = 0;
    if (a != b && m_inView[static_cast<std::size_t>(a)] != 0 &&
        m_inView[static_cast<std::size_t>(b)] != 0) {
        const TeamRecord &me = m_season->team(a);
        value = static_cast<std::uint8_t>(seriesAhead(me, simulationOf(*m_season, a),
                                                      seriesDrawFactor(*m_season, m_view, me), b));
    }
    m_tables[Series][indexOf(a, b)] = value;
    return value;
}

AheadTables BuildAheadTables(const Season &season, const JudgmentView &view,
                             const OneBased<StandingsRow> &rows, int count,
                             const OneBased<StandingsRow> &leagueRows,
                             const OneBased<StandingsRow> &interleagueRows)
{
    AheadTables tables;
    BuildAheadTables(tables, AheadTables::AllTables, season, view, rows, count, leagueRows,
                     interleagueRows);
    return tables;
}

void BuildAheadTables(AheadTables &tables, unsigned chosen, const Season &season,
                      const JudgmentView &view, const OneBased<StandingsRow> &rows, int count,
                      const OneBased<StandingsRow> &leagueRows,
                      const OneBased<StandingsRow> &interleagueRows, bool seriesOnRead)
{
    const int teamCount = season.TeamCount();
    const bool official = view.GameScope == ScopeOfficial;
    if (!official) {
        chosen &= 1U << AheadTables::Series;
    }
    tables.reset(teamCount, chosen);
    if (chosen == 0) {
        return;
    }
    if (count > rows.size()) {
        count = rows.size();
    }
    // Each table in a loop of its own: a pass builds only the ones its
    // tie-break list reads, usually the series table alone.
    auto eachPair = [&](auto &&fill) {
        for (int i = 1; i <= count; ++i) {
            const int a = rows[i].TeamNo;
            if (a < 1 || a > teamCount) {
                continue;
            }
            for (int j = 1; j <= count; ++j) {
                const int b = rows[j].TeamNo;
                if (b >= 1 && b <= teamCount && b != a) {
                    fill(a, b);
                }
            }
        }
    };
    if ((chosen & (1U << AheadTables::Series)) != 0 && seriesOnRead) {
        tables.seriesOnRead(season, view, rows, count);
    } else if ((chosen & (1U << AheadTables::Series)) != 0) {
        // Every row's series against every other: the row's own card arrays,
        // read with its draw rule and simulated results settled once.
        std::vector<int> teams;
        teams.reserve(static_cast<std::size_t>(count));
        for (int j = 1; j <= count; ++j) {
            teams.push_back(rows[j].TeamNo);
        }
        for (const int a : teams) {
            if (a < 1 || a > teamCount) {
                continue;
            }
            const TeamRecord &me = season.team(a);
            const SimRecord *sim = simulationOf(season, a);
            const int drawFactor = seriesDrawFactor(season, view, me);
            for (const int b : teams) {
                if (b >= 1 && b <= teamCount && b != a) {
                    tables.set(AheadTables::Series, a, b,
                               static_cast<std::uint8_t>(seriesAhead(me, sim, drawFactor, b)));
                }
            }
        }
    }
    if (!official || (chosen & ~(1U << AheadTables::Series)) == 0) {
        return;
    }
    const std::vector<const StandingsRow *> league = byTeam(leagueRows, teamCount);
    const std::vector<const StandingsRow *> interleague = byTeam(interleagueRows, teamCount);
    auto measure = [&](AheadTables::Table table, bool byWins,
                       const std::vector<const StandingsRow *> &source) {
        if ((chosen & (1U << table)) == 0) {
            return;
        }
        eachPair([&](int a, int b) {
            const StandingsRow *rowA = source[static_cast<std::size_t>(a)];
            const StandingsRow *rowB = source[static_cast<std::size_t>(b)];
            if (rowA != nullptr && rowB != nullptr) {
                const int ahead = byWins ? beyondReach(rowA->Wins, rowB->MaxWins)
                                         : beyondReach(rowA->MinPct, rowB->MaxPct);
                tables.set(table, a, b, static_cast<std::uint8_t>(ahead));
            }
        });
    };
    measure(AheadTables::LeaguePct, false, league);
    measure(AheadTables::LeagueWins, true, league);
    measure(AheadTables::InterleaguePct, false, interleague);
    measure(AheadTables::InterleagueWins, true, interleague);
}

JudgmentOrder::JudgmentOrder(JudgmentSet judgment, const AheadTables &tables, int gameScope)
    : m_judgment(std::move(judgment)), m_tables(&tables), m_gameScope(gameScope)
{}

// Walks the tie-break conditions for two rows equal in the primary measure:
// true when a condition puts `first` ahead of `second`. A condition that
// favours `second` or cannot separate them ends the walk, as does code 0; a
// condition that leaves them level hands over to the next one.
bool JudgmentOrder::conditionsPutFirst(const StandingsRow &first, const StandingsRow &second) const
{
    for (const int code : m_judgment.Conditions) {
        if (code == ConditionCode::End) {
            return false;
        }
        if (!conditionApplies(code, m_gameScope)) {
            continue;
        }
        if (code == ConditionCode::Secondary) {
            const double mine = byWins() ? first.Pct : static_cast<double>(first.Wins);
            const double theirs = byWins() ? second.Pct : static_cast<double>(second.Wins);
            if (mine != theirs) {
                return mine > theirs;
            }
        } else if (code <= ConditionCode::InterleagueWins) {
            const int ahead = m_tables->at(tableOf(code), first.TeamNo, second.TeamNo);
            if (ahead != 2) {
                return ahead == 1;
            }
        } else {
            return previousRank(first, code) < previousRank(second, code);
        }
    }
    return false;
}

bool JudgmentOrder::challengerMovesUp(const StandingsRow &best, const StandingsRow &challenger,
                                      int gameCountRule) const
{
    const double bestPrimary = byWins() ? static_cast<double>(best.Wins) : best.Pct;
    const double challengerPrimary =
        byWins() ? static_cast<double>(challenger.Wins) : challenger.Pct;
    if (challengerPrimary > bestPrimary) {
        return true;
    }
    if (bestPrimary > challengerPrimary) {
        return false;
    }
    if (conditionsPutFirst(challenger, best)) {
        return true;
    }
    // Whatever kept the best row, the games-played rule has the last word.
    return CompareGameCount(gameCountRule, best, challenger, false);
}

bool JudgmentOrder::strictlyAhead(const StandingsRow &upper, const StandingsRow &lower) const
{
    const double upperPrimary = byWins() ? static_cast<double>(upper.Wins) : upper.Pct;
    const double lowerPrimary = byWins() ? static_cast<double>(lower.Wins) : lower.Pct;
    if (upperPrimary != lowerPrimary) {
        return upperPrimary > lowerPrimary;
    }
    return conditionsPutFirst(upper, lower);
}

JudgmentTexts JudgmentText(const Season &season, int leagueSelectorIndex, const JudgmentView &view,
                           const JudgmentSet &judgment)
{
    JudgmentTexts texts;
    if (leagueSelectorIndex == 0) {
        if (season.Interleague.IntCounts != 1) {
            texts.Championship = "不明";
            return texts;
        }
        texts.Championship = "交流戦";
    } else if (view.GameScope == ScopeInterleague) {
        texts.Championship = "交流戦";
    } else if (view.DivisionView) {
        texts.Championship = "地区";
    } else {
        texts.Championship = "リーグ";
    }
    texts.Championship += judgment.Judgment == 1 ? "勝数" : "勝率";

    bool firstItem = true;
    for (const int code : judgment.Conditions) {
        if (code == ConditionCode::End) {
            break;
        }
        if (!firstItem) {
            texts.Conditions += "→";
        }
        texts.Conditions += conditionText(code, judgment.Judgment, view.GameScope);
        firstItem = false;
    }
    return texts;
}

} // namespace penarin
