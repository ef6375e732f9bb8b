#include "platform/twips.h"

#include <QRect>
#include <QWidget>

#include <cmath>
#include <limits>

namespace penarin {

namespace {

double usableDpi(double dpi)
{
    return std::isfinite(dpi) && dpi > 0.0 ? dpi : DefaultDpi;
}

// Sizes come from the settings file, where anything may stand; a value
// beyond what an int holds becomes the nearest one that fits rather than
// wrapping round to a negative size.
int roundSaturated(double value)
{
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (std::isnan(value))
        return 0;
    if (value <= lowest)
        return std::numeric_limits<int>::min();
    if (value >= highest)
        return std::numeric_limits<int>::max();
    return static_cast<int>(std::lround(value));
}

double widgetDpi(const QWidget &widget, Qt::Orientation orientation)
{
    return orientation == Qt::Horizontal ? widget.logicalDpiX() : widget.logicalDpiY();
}

} // namespace

int twipsToPixels(int twips, double dpi)
{
    return roundSaturated(twips * usableDpi(dpi) / TwipsPerInch);
}

int pixelsToTwips(int pixels, double dpi)
{
    return roundSaturated(static_cast<double>(pixels) * TwipsPerInch / usableDpi(dpi));
}

int twipsToPixels(int twips, const QWidget &widget, Qt::Orientation orientation)
{
    return twipsToPixels(twips, widgetDpi(widget, orientation));
}

int pixelsToTwips(int pixels, const QWidget &widget, Qt::Orientation orientation)
{
    return pixelsToTwips(pixels, widgetDpi(widget, orientation));
}

QRect twipsToPixels(const QRect &twips, const QWidget &widget)
{
    return {twipsToPixels(twips.left(), widget, Qt::Horizontal),
            twipsToPixels(twips.top(), widget, Qt::Vertical),
            twipsToPixels(twips.width(), widget, Qt::Horizontal),
            twipsToPixels(twips.height(), widget, Qt::Vertical)};
}

} // namespace penarin
