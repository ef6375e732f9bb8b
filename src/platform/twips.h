#pragma once

#include <Qt>

class QRect;
class QWidget;

namespace penarin {

// Every size and position the program stores is in twips, 1/1440 inch, so a
// layout looks the same on any screen. On the screen they become pixels
// through the screen's logical DPI: at 96 DPI one pixel is 15 twips.
inline constexpr int TwipsPerInch = 1440;
inline constexpr double DefaultDpi = 96.0;

// A DPI of 0 or less (no screen known yet) counts as DefaultDpi. Results are
// rounded to the nearest whole unit, halves away from zero, and saturate at
// the limits of int.
[[nodiscard]] int twipsToPixels(int twips, double dpi);
[[nodiscard]] int pixelsToTwips(int pixels, double dpi);

// With the logical DPI of the screen the widget is on; widths use the
// horizontal DPI, heights the vertical one.
[[nodiscard]] int twipsToPixels(int twips, const QWidget &widget,
                                Qt::Orientation orientation = Qt::Horizontal);
[[nodiscard]] int pixelsToTwips(int pixels, const QWidget &widget,
                                Qt::Orientation orientation = Qt::Horizontal);

// A rectangle given in twips (left, top, width, height), for placing a
// child widget where a stored layout puts it.
[[nodiscard]] QRect twipsToPixels(const QRect &twips, const QWidget &widget);

} // namespace penarin
