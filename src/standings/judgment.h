#pragma once

#include "season/season.h"
#include "standings/standings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace penarin {

// The view a judgment is applied to: its game scope, and whether it shows a
// single division (only possible in the official or league scope).
struct JudgmentView
{
    int GameScope = ScopeOfficial;
    bool DivisionView = false;
};

// The championship whose rules order the view: interleague in the
// interleague scope, else the division's when one division is shown, else
// the league's. Taken from `firstTeam`, the team of the view's first row
// (every team of a league or division carries the same rules).
[[nodiscard]] JudgmentSet JudgmentInForce(const Season &season, int firstTeam, int gameScope,
                                          bool divisionView);

enum class AheadCriterion
{
    Percentage,
    Wins,
    Series
};

// Whether team a is certainly ahead of team b on `criterion` whatever the
// remaining games bring: 1 ahead, 2 b can at best draw level, 0 otherwise.
// Percentage and wins compare rowA with rowB; the series is read from the
// season's card of a against b.
[[nodiscard]] int Ahead(const Season &season, const JudgmentView &view, int a, int b,
                        AheadCriterion criterion, const StandingsRow &rowA,
                        const StandingsRow &rowB);

// Ahead() for every ordered pair of distinct teams of a view, one byte table
// per criterion, indexed by team number. Pairs outside the view read 0.
class AheadTables
{
public:
    enum Table
    {
        Series,
        LeaguePct,
        LeagueWins,
        InterleaguePct,
        InterleagueWins,
        TableCount
    };

    // A set of tables as bits: 1 << Series, ...
    static constexpr unsigned AllTables = (1U << TableCount) - 1;
    // The tables a tie-break list reads (codes up to its first End) in a
    // scope: the league and interleague measures count only in official games.
    [[nodiscard]] static unsigned TablesRead(const std::vector<std::int16_t> &conditions,
                                             int gameScope);

    AheadTables() = default;
    explicit AheadTables(int teamCount, unsigned tables = AllTables);

    // Sizes the chosen tables for teamCount teams, all zero, keeping their
    // memory for the next pass; the others are emptied and read 0.
    void reset(int teamCount, unsigned tables);

    [[nodiscard]] int teamCount() const { return m_teamCount; }
    // Read for every rival of every row in each pass, so kept inline.
    [[nodiscard]] std::uint8_t at(Table table, int a, int b) const
    {
        if (table < 0 || table >= TableCount || !contains(a, b) || m_tables[table].empty()) {
            return 0;
        }
        const std::uint8_t value = m_tables[table][indexOf(a, b)];
        return value == NotYetRead ? settleSeries(a, b) : value;
    }
    void set(Table table, int a, int b, std::uint8_t value)
    {
        if (table < 0 || table >= TableCount || !contains(a, b) || m_tables[table].empty()) {
            return;
        }
        m_tables[table][indexOf(a, b)] = value;
    }

    // The series table filled as it is read instead of all at once: a pass
    // reads it only where two teams tie, a few pairs out of thousands. The
    // season and its view must stay as they are while the table is read;
    // the next reset or BuildAheadTables ends that. Reading fills entries,
    // so one such table is not to be read from two threads at once.
    void seriesOnRead(const Season &season, const JudgmentView &view,
                      const OneBased<StandingsRow> &rows, int count);

private:
    static constexpr std::uint8_t NotYetRead = 0xFF;

    [[nodiscard]] std::uint8_t settleSeries(int a, int b) const;
    [[nodiscard]] bool contains(int a, int b) const
    {
        return a >= 1 && a <= m_teamCount && b >= 1 && b <= m_teamCount;
    }
    [[nodiscard]] std::size_t indexOf(int a, int b) const
    {
        return static_cast<std::size_t>(a - 1) * static_cast<std::size_t>(m_teamCount) +
               static_cast<std::size_t>(b - 1);
    }

    int m_teamCount = 0;
    mutable std::array<std::vector<std::uint8_t>, TableCount> m_tables;
    // What a series table filled on reading reads from.
    const Season *m_season = nullptr;
    JudgmentView m_view;
    std::vector<char> m_inView; // by team number
};

// Fills the series table for rows 1..count, and in the official scope the
// four league-only and interleague-only tables from `leagueRows` and
// `interleagueRows` (matched to the rows by team number, so they may be in
// any order; a team missing from them reads 0 in those tables).
[[nodiscard]] AheadTables BuildAheadTables(const Season &season, const JudgmentView &view,
                                           const OneBased<StandingsRow> &rows, int count,
                                           const OneBased<StandingsRow> &leagueRows = {},
                                           const OneBased<StandingsRow> &interleagueRows = {});
// The same into `tables`, building only the chosen ones (AheadTables bits)
// and reusing their memory. With seriesOnRead the series table is filled as
// it is read (see AheadTables::seriesOnRead).
void BuildAheadTables(AheadTables &tables, unsigned chosen, const Season &season,
                      const JudgmentView &view, const OneBased<StandingsRow> &rows, int count,
                      const OneBased<StandingsRow> &leagueRows,
                      const OneBased<StandingsRow> &interleagueRows, bool seriesOnRead = false);

// The comparison OrderRows and NumberRanks use when the standings are
// ordered by the championship judgment. It refers to `tables`, which must
// outlive it.
class JudgmentOrder
{
public:
    JudgmentOrder(JudgmentSet judgment, const AheadTables &tables, int gameScope);

    [[nodiscard]] const JudgmentSet &judgment() const { return m_judgment; }
    [[nodiscard]] bool byWins() const { return m_judgment.Judgment == 1; }

    // True when `challenger` must take the place of the current best row.
    [[nodiscard]] bool challengerMovesUp(const StandingsRow &best, const StandingsRow &challenger,
                                         int gameCountRule) const;
    // True when `upper` ranks strictly above the row below it; else they share a rank.
    [[nodiscard]] bool strictlyAhead(const StandingsRow &upper, const StandingsRow &lower) const;

private:
    [[nodiscard]] bool conditionsPutFirst(const StandingsRow &first,
                                          const StandingsRow &second) const;

    JudgmentSet m_judgment;
    const AheadTables *m_tables;
    int m_gameScope;
};

// The two status-bar texts describing the judgment in force (UTF-8).
struct JudgmentTexts
{
    std::string Championship; // e.g. "リーグ勝率", "地区勝数", "不明"
    std::string Conditions;   // e.g. "勝数→対戦→対戦表"; empty with "不明"
};

// leagueSelectorIndex 0 is the league box's first entry (all leagues).
[[nodiscard]] JudgmentTexts JudgmentText(const Season &season, int leagueSelectorIndex,
                                         const JudgmentView &view, const JudgmentSet &judgment);

} // namespace penarin
