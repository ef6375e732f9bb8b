#include "ui/main/uitext.h"

#include "season/oledate.h"

namespace penarin {

QString generalDateTimeText(double oleDate)
{
    const CivilDateTime when = fromOleDate(oleDate);
    QString text = QStringLiteral("%1/%2/%3")
                       .arg(when.year, 4, 10, QLatin1Char('0'))
                       .arg(when.month, 2, 10, QLatin1Char('0'))
                       .arg(when.day, 2, 10, QLatin1Char('0'));
    if (when.hour != 0 || when.minute != 0 || when.second != 0) {
        text += QStringLiteral(" %1:%2:%3")
                    .arg(when.hour)
                    .arg(when.minute, 2, 10, QLatin1Char('0'))
                    .arg(when.second, 2, 10, QLatin1Char('0'));
    }
    return text;
}

} // namespace penarin
