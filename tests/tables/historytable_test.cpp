#include "support/seasonbuilder.h"
#include "tables/historytable.h"

#include <gtest/gtest.h>

namespace penarin {
namespace {

// Three teams with three snapshots, the middle one not shown; the view
// shows teams 3 and 1 in that order.
struct HistoryCase
{
    Season season = test::SeasonBuilder::oneLeague({u"東京", u"大阪", u"名古屋"}, 24).build();
    PublishedStandings published;

    HistoryCase()
    {
        season.Snapshots = {Snapshot{46113.0, u"開幕", StoredTrue},
                            Snapshot{46143.75, u"(メモ)", StoredFalse},
                            Snapshot{46174.0, u"", StoredTrue}};
        season.TeamSnapshots.resize(3);
        season.TeamSnapshots[1] = {{0.5f, 0.25f, 7.0f / 12.0f}, {0, -2, 2}};
        season.TeamSnapshots[3] = {{1.0f, 0.0f, 0.4995f}, {3, 0, -11}};
        for (const int team : {3, 1}) {
            StandingsRow row;
            row.TeamNo = team;
            published.Rows.push_back(row);
        }
    }
};

std::vector<std::vector<std::u16string>> cells(const TextTable &table)
{
    std::vector<std::vector<std::u16string>> lines;
    for (int line = 0; line < table.lineCount(); ++line) {
        lines.emplace_back();
        for (int cell = 0; cell < table.cellCount(); ++cell)
            lines.back().push_back(table.at(line, cell));
    }
    return lines;
}

TEST(HistoryTable, ShownSnapshotsOldestFirstInStandingsOrder)
{
    const HistoryCase c;
    const auto surplus = BuildHistoryTable(c.season, c.published, HistoryKind::Surplus);
    ASSERT_TRUE(surplus);
    EXPECT_EQ(cells(*surplus), (std::vector<std::vector<std::u16string>>{
                                   {u"", u"2026/04/01", u"2026/06/01"},
                                   {u"", u"開幕", u""},
                                   {u"名古屋", u"3", u"-11"},
                                   {u"東京", u"0", u"2"},
                               }));
    const auto pct = BuildHistoryTable(c.season, c.published, HistoryKind::Pct);
    ASSERT_TRUE(pct);
    EXPECT_EQ(cells(*pct), (std::vector<std::vector<std::u16string>>{
                               {u"", u"2026/04/01", u"2026/06/01"},
                               {u"", u"開幕", u""},
                               {u"名古屋", u"1.000", u".500"},
                               {u"東京", u".500", u".583"},
                           }));
}

TEST(HistoryTable, NoShownSnapshotGivesNothing)
{
    HistoryCase c;
    for (Snapshot &snapshot : c.season.Snapshots)
        snapshot.Shown = StoredFalse;
    EXPECT_FALSE(BuildHistoryTable(c.season, c.published, HistoryKind::Surplus));
    c.season.Snapshots.clear();
    EXPECT_FALSE(BuildHistoryTable(c.season, c.published, HistoryKind::Pct));
}

TEST(HistoryTable, TeamWithoutStoredValuesReadsZero)
{
    HistoryCase c;
    c.published.Rows[1].TeamNo = 2;            // no snapshot values at all
    c.season.TeamSnapshots[1].Surpluses = {5}; // values of the first snapshot only
    const auto table = BuildHistoryTable(c.season, c.published, HistoryKind::Surplus);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->at(2, 1), u"0");
    EXPECT_EQ(table->at(3, 1), u"5");
    EXPECT_EQ(table->at(3, 2), u"0");
    EXPECT_EQ(BuildHistoryTable(c.season, c.published, HistoryKind::Pct)->at(2, 2), u".000");
}

} // namespace
} // namespace penarin
