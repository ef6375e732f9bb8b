#include "magic/calcodule.h"

#include "standings/viewstandings.h"

namespace penarin {

namespace {

// Fills the slot in place rather than moving a temporary record (text and
// all) over it: a pass does this rows x rows times.
void fillCard(CardFigures &card, const Season &season, const CardCounter &counter, int team,
              int opponent, int scope, bool &exceeded)
{
    // A team listed twice in a view meets itself: that "card" is its season.
    if (opponent == team) {
        TeamTotals(season, team, scope, opponent, card);
    } else {
        counter.count(opponent, card);
    }
    exceeded = exceeded || card.ResultsExceedSchedule;
    card.Opponent = opponent;
}

void fillOwnCard(CardFigures &card, const StandingsRow &row)
{
    static_cast<TeamTotalsResult &>(card) = row;
    card.Opponent = row.TeamNo;
}

// Memory one pass needs and the next can reuse: the Ahead tables, the
// calculator's lists and a row of remaining games. Nothing in it carries
// over from one pass to the next but its capacity.
struct PassBuffers
{
    AheadTables tables;
    Magiclass calc;
    OneBased<int> leagues;
    OneBased<int> vsRemaining;
};

PassBuffers &passBuffers()
{
    thread_local PassBuffers buffers;
    return buffers;
}

} // namespace

OrderSettings OrderSettingsFrom(const Settings &settings)
{
    return OrderSettings{settings.Main, settings.Sub, settings.Game};
}

RecalculateResult RecalculateView(Season &season, const OrderSettings &order,
                                  const ViewRequest &view,
                                  std::shared_ptr<const PublishedStandings> reuse)
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
    PassBuffers &buffers = passBuffers();
    AheadTables &tables = buffers.tables;
    BuildAheadTables(tables, AheadTables::TablesRead(judgment.Conditions, scope), season,
                     judgmentView, totals.Rows, count, totals.LeagueRows, totals.InterRows, true);
    const JudgmentOrder judgmentOrder(judgment, tables, scope);
    OrderRows(totals.Rows, count, order, &judgmentOrder);
    NumberRanks(totals.Rows, count, order, &judgmentOrder);

    // The previous result's memory serves again when nothing else holds it:
    // every field of every record is written anew below.
    std::shared_ptr<PublishedStandings> published;
    if (reuse.use_count() == 1) {
        published = std::const_pointer_cast<PublishedStandings>(std::move(reuse));
    } else {
        published = std::make_shared<PublishedStandings>();
    }
    OneBased<CardAnalysis> analysis = std::move(published->Analysis);
    analysis.resize(count);

    // Row by row: the cards against every row, then the calculator, which
    // reads the ordered rows, the tables and this row's remaining games in
    // place, while the row's cards are still at hand.
    buffers.leagues.resize(count);
    buffers.vsRemaining.resize(count);
    for (int c = 1; c <= count; ++c) {
        buffers.leagues[c] = season.team(totals.Rows[c].TeamNo).League;
    }
    const Magiclass::PassInputs inputs{&totals.Rows, &buffers.leagues, &tables, &judgment, scope};
    Magiclass &calc = buffers.calc;
    for (int r = 1; r <= count; ++r) {
        const StandingsRow &row = totals.Rows[r];
        CardAnalysis &entry = analysis[r];
        entry.TeamNo = row.TeamNo;
        entry.UserRankA = row.UserRankA;
        entry.UserRankB = row.UserRankB;
        entry.UserRankC = row.UserRankC;
        entry.Cards.resize(count);
        const CardCounter counter(season, row.TeamNo, scope);
        for (int c = 1; c <= count; ++c) {
            CardFigures &card = entry.Cards[c];
            if (c != r) {
                fillCard(card, season, counter, row.TeamNo, totals.Rows[c].TeamNo, scope, exceeded);
            } else {
                // At its own row the card is the team's whole season: the
                // row's own totals, which step 2 counted already (schedule
                // flag included).
                fillOwnCard(card, row);
            }
            buffers.vsRemaining[c] = card.Remaining;
        }
        calc.Calculate(inputs, r, buffers.vsRemaining);
        for (int c = 1; c <= count; ++c) {
            CardFigures &card = entry.Cards[c];
            card.MagicKind = calc.PutMagicType(c);
            card.MagicNumber = calc.PutMagicCount(c);
            card.MagicColor = calc.PutCellColor(c);
        }
        entry.MagicCountdown = calc.PutCountDownNo();
    }

    RecalculateResult result;
    result.ScopeText = ScopeText(season, view.LeagueSelectorIndex);
    result.ScopeMenuEnabled = view.LeagueSelectorIndex != 0 && season.Interleague.IntCounts != 0;
    result.CheckedScope = scope;
    result.Judgment = JudgmentText(season, view.LeagueSelectorIndex, judgmentView, judgment);
    result.ShowScheduleMessage = exceeded;

    published->Rows = std::move(totals.Rows);
    published->Analysis = std::move(analysis);
    published->GameScope = scope;
    result.Published = std::move(published);
    return result;
}

} // namespace penarin
