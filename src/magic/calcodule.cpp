#include "magic/calcodule.h"

#include "standings/viewstandings.h"

namespace penarin {

namespace {

// Fills the slot in place rather than moving a temporary record (text and
// all) over it: a pass does this rows x rows times.
void fillCard(CardFigures &card, const Season &season, int team, int opponent, int scope,
              bool &exceeded)
{
    // A team listed twice in a view meets itself: that "card" is its season.
    if (opponent == team) {
        TeamTotals(season, team, scope, opponent, card);
    } else {
        CardTotals(season, team, opponent, scope, card);
    }
    exceeded = exceeded || card.ResultsExceedSchedule;
    card.Opponent = opponent;
}

void fillOwnCard(CardFigures &card, const StandingsRow &row)
{
    static_cast<TeamTotalsResult &>(card) = row;
    card.Opponent = row.TeamNo;
}

std::uint8_t smaller(int mine, int theirs)
{
    return mine < theirs ? 1 : 0;
}

// Runs the calculator for row r against every row of the view.
void computeMagic(Magiclass &calc, const Season &season, const JudgmentSet &judgment,
                  const AheadTables &tables, OneBased<CardAnalysis> &analysis, int r)
{
    const int count = analysis.size();
    const int scope = season.GameScope;
    CardAnalysis &mine = analysis[r];
    const int myTeam = mine.TeamNo;
    calc.Initialize();
    calc.SetMyLeagueIndex(season.team(myTeam).League);
    calc.SetMyTeamIndex(myTeam);
    calc.TeamCount(count);
    calc.AryIndex(r);
    calc.SetIntMode(scope);
    calc.SetJudgment(judgment.Judgment);
    calc.SetJudgmentA(judgment.Conditions);
    calc.SetJudgmentB(judgment.Reversal);
    for (int c = 1; c <= count; ++c) {
        const CardAnalysis &rival = analysis[c];
        const int rivalTeam = rival.TeamNo;
        calc.SetOverWin(tables.at(AheadTables::Series, myTeam, rivalTeam));
        if (scope == ScopeOfficial) {
            calc.SetPenAvg(tables.at(AheadTables::LeaguePct, myTeam, rivalTeam));
            calc.SetPenWin(tables.at(AheadTables::LeagueWins, myTeam, rivalTeam));
            calc.SetIntAvg(tables.at(AheadTables::InterleaguePct, myTeam, rivalTeam));
            calc.SetIntWin(tables.at(AheadTables::InterleagueWins, myTeam, rivalTeam));
        }
        calc.SetBerRnk(smaller(myTeam, rivalTeam));
        calc.SetUserRnkA(smaller(mine.UserRankA, rival.UserRankA));
        calc.SetUserRnkB(smaller(mine.UserRankB, rival.UserRankB));
        calc.SetUserRnkC(smaller(mine.UserRankC, rival.UserRankC));
        calc.SetVsZanGame(mine.Cards[c].Remaining);
        const CardFigures &rivalSeason = rival.Cards[c];
        calc.SetTgWin(rivalSeason.Wins);
        calc.SetTgLoss(rivalSeason.Losses);
        calc.SetTgZanGame(rivalSeason.Remaining);
        calc.SetTgAllWin(rivalSeason.MaxWins);
        calc.SetTgAllWinAvg(rivalSeason.MaxPct);
        calc.SetTgAllLossAvg(rivalSeason.MinPct);
        calc.SetTgLeagueIndex(season.team(rivalTeam).League);
    }
    calc.GetMagicNumber();
    for (int c = 1; c <= count; ++c) {
        CardFigures &card = mine.Cards[c];
        card.MagicText = calc.PutMagicNumber(c);
        card.MagicKind = calc.PutMagicType(c);
        card.MagicColor = calc.PutCellColor(c);
    }
    mine.MagicCountdown = calc.PutCountDownNo();
    calc.Clear();
}

} // namespace

OrderSettings OrderSettingsFrom(const Settings &settings)
{
    return OrderSettings{settings.Main, settings.Sub, settings.Game};
}

RecalculateResult RecalculateView(Season &season, const OrderSettings &order,
                                  const ViewRequest &view)
{
    AdjustGameScope(season, view.LeagueSelectorIndex);
    const int scope = season.GameScope;
    // The team list is taken after the scope is settled, so the row count
    // always matches the list it counts.
    const std::vector<int> teams = ViewTeams(season);
    const int count = static_cast<int>(teams.size());
    ViewTotals totals = TotalViewTeams(season, teams);
    bool exceeded = totals.ResultsExceedSchedule;

    const JudgmentView judgmentView{scope,
                                    scope != ScopeInterleague && view.DivisionSelectorIndex > 0};
    const JudgmentSet judgment =
        count > 0 ? JudgmentInForce(season, totals.Rows[1].TeamNo, scope, judgmentView.DivisionView)
                  : JudgmentSet{};
    const AheadTables tables = BuildAheadTables(season, judgmentView, totals.Rows, count,
                                                totals.LeagueRows, totals.InterRows);
    const JudgmentOrder judgmentOrder(judgment, tables, scope);
    OrderRows(totals.Rows, count, order, &judgmentOrder);
    NumberRanks(totals.Rows, count, order, &judgmentOrder);

    OneBased<CardAnalysis> analysis(count);
    for (int r = 1; r <= count; ++r) {
        const StandingsRow &row = totals.Rows[r];
        CardAnalysis &entry = analysis[r];
        entry.TeamNo = row.TeamNo;
        entry.UserRankA = row.UserRankA;
        entry.UserRankB = row.UserRankB;
        entry.UserRankC = row.UserRankC;
        entry.Cards.resize(count);
        for (int c = 1; c <= count; ++c) {
            if (c != r) {
                fillCard(entry.Cards[c], season, row.TeamNo, totals.Rows[c].TeamNo, scope,
                         exceeded);
            }
        }
        // At its own row the card is the team's whole season: the row's own
        // totals, which step 2 counted already (schedule flag included).
        fillOwnCard(entry.Cards[r], row);
    }

    Magiclass calc;
    for (int r = 1; r <= count; ++r) {
        computeMagic(calc, season, judgment, tables, analysis, r);
    }

    RecalculateResult result;
    result.ScopeText = ScopeText(season, view.LeagueSelectorIndex);
    result.ScopeMenuEnabled = view.LeagueSelectorIndex != 0 && season.Interleague.IntCounts != 0;
    result.CheckedScope = scope;
    result.Judgment = JudgmentText(season, view.LeagueSelectorIndex, judgmentView, judgment);
    result.ShowScheduleMessage = exceeded;

    auto published = std::make_shared<PublishedStandings>();
    published->Rows = std::move(totals.Rows);
    published->Analysis = std::move(analysis);
    published->GameScope = scope;
    season.Published = std::move(published);
    return result;
}

} // namespace penarin
