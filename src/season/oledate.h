#pragma once

#include <functional>

namespace penarin {

// Dates are stored the way the season file keeps them: days since
// 1899-12-30, the time of day as the fraction.
struct CivilDateTime
{
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

[[nodiscard]] double toOleDate(const CivilDateTime &when);
[[nodiscard]] CivilDateTime fromOleDate(double oleDate);
[[nodiscard]] bool isValidCivilDate(int year, int month, int day);

// "Now" as an OLE date in local time. Everything that stamps a date takes a
// Clock, so tests can fix the time.
using Clock = std::function<double()>;
[[nodiscard]] double systemNow();

} // namespace penarin
