#pragma once

#include "season/texttable.h"

#include <QString>

namespace penarin {

class Prompts;

// The export's save dialog ("カンマ区切り" or "タブ区切り", .csv by default,
// starting in `startFolder`), then the table written to the chosen file. A
// failed write is reported and leaves no partial file; cancelling writes
// nothing.
// True when the table was written.
bool ExportTable(Prompts &prompts, const TextTable &table, const QString &startFolder);

} // namespace penarin
