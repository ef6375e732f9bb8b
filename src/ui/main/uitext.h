#pragma once

#include <QString>

namespace penarin {

// A season time stamp as the status bar shows it: the date, and the time
// when there is one ("2026/08/02 22:15:00").
[[nodiscard]] QString generalDateTimeText(double oleDate);

// A number as the grids print it.
[[nodiscard]] inline QString numberText(int value)
{
    return QString::number(value);
}

} // namespace penarin
