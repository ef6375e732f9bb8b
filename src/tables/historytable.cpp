#include "tables/historytable.h"

#include "season/oledate.h"
#include "standings/standings.h"

#include <cstdio>

namespace penarin {

namespace {

std::u16string ascii(const std::string &text)
{
    return {text.begin(), text.end()};
}

std::u16string dateText(double oleDate)
{
    const CivilDateTime date = fromOleDate(oleDate);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", date.year, date.month, date.day);
    return ascii(text);
}

std::u16string valueText(const Season &season, int teamNo, int snapshot, HistoryKind kind)
{
    // A team without values for a snapshot (a season changed in memory
    // since) has zeros, as the file would hold for it.
    const TeamSnapshot *values =
        season.TeamSnapshots.contains(teamNo) ? &season.TeamSnapshots[teamNo] : nullptr;
    if (kind == HistoryKind::Surplus) {
        const int surplus =
            values && values->Surpluses.contains(snapshot) ? values->Surpluses[snapshot] : 0;
        return ascii(std::to_string(surplus));
    }
    const double pct = values && values->Pcts.contains(snapshot) ? values->Pcts[snapshot] : 0.0;
    return ascii(FormatPct(pct, 3));
}

} // namespace

std::optional<TextTable> BuildHistoryTable(const Season &season,
                                           const PublishedStandings &published, HistoryKind kind)
{
    const int rows = published.Rows.size();
    TextTable table(rows + 2, 1);
    for (int d = 1; d <= rows; ++d)
        table.set(d + 1, 0, season.team(published.Rows[d].TeamNo).TeamName);

    for (int k = 1; k <= season.SnapshotCount(); ++k) {
        const Snapshot &snapshot = season.Snapshots[k];
        if (snapshot.Shown == 0)
            continue;
        const int i = table.addCellColumn();
        table.set(0, i, dateText(snapshot.Date));
        table.set(1, i, snapshot.Memo);
        for (int d = 1; d <= rows; ++d)
            table.set(d + 1, i, valueText(season, published.Rows[d].TeamNo, k, kind));
    }
    if (table.cellCount() == 1)
        return std::nullopt;
    return table;
}

} // namespace penarin
