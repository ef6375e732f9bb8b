#pragma once

#include "magic/calcodule.h"
#include "season/season.h"
#include "season/texttable.h"

#include <optional>

namespace penarin {

enum class HistoryKind
{
    Surplus = 0,
    Pct = 1,
};

// The surplus or percentage history of the teams of the shown standings, as
// the export writes it: a line of snapshot dates (yyyy/mm/dd), a line of
// memos, then one line per standings row, each starting with the team's
// name and followed by one value per shown snapshot, oldest first.
// Nothing (the caller shows "データがありません") when no snapshot is shown.
[[nodiscard]] std::optional<TextTable>
BuildHistoryTable(const Season &season, const PublishedStandings &published, HistoryKind kind);

} // namespace penarin
