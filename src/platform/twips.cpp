#include "platform/twips.h"

#include <QRect>
#include <QWidget>

#include <cmath>

namespace penarin {

namespace {

double usableDpi(double dpi)
{
    return dpi > 0.0 ? dpi : DefaultDpi;
}

double widgetDpi(const QWidget &widget, Qt::Orientation orientation)
{
    return orientation == Qt::Horizontal ? widget.logicalDpiX() : widget.logicalDpiY();
}

} // namespace

int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * usableDpi(dpi) / TwipsPerInch));
}

int pixelsToTwips(int pixels, double dpi)
{
    return static_cast<int>(std::lround(pixels * TwipsPerInch / usableDpi(dpi)));
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
