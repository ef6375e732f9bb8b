#include "season/oledate.h"

#include <cmath>
#include <ctime>

namespace penarin {

namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr long long daysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long long z, int &y, int &m, int &d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

// A compile-time constant, so dates computed by other files' static objects
// never see it unset.
constexpr long long oleEpochDays = daysFromCivil(1899, 12, 30);

} // namespace

double toOleDate(const CivilDateTime &when)
{
    const double days =
        static_cast<double>(daysFromCivil(when.year, when.month, when.day) - oleEpochDays);
    const double fraction = (when.hour * 3600.0 + when.minute * 60.0 + when.second) / 86400.0;
    // Before the epoch the OLE format counts the time forwards from the
    // (negative) day number, so the fraction's sign follows the day's.
    return days >= 0 ? days + fraction : days - fraction;
}

CivilDateTime fromOleDate(double oleDate)
{
    CivilDateTime out;
    if (!std::isfinite(oleDate) || std::fabs(oleDate) > 3.0e6) {
        return out;
    }
    const double whole = std::trunc(oleDate);
    long long seconds = std::llround(std::fabs(oleDate - whole) * 86400.0);
    long long days = static_cast<long long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += oleDate >= 0 ? 1 : -1;
    }
    civilFromDays(days + oleEpochDays, out.year, out.month, out.day);
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    return out;
}

bool isValidCivilDate(int year, int month, int day)
{
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) {
        return false;
    }
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int length = month == 2 && leap ? 29 : lengths[month - 1];
    return day <= length;
}

double systemNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return toOleDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec});
}

} // namespace penarin
