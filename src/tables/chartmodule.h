#pragma once

#include "magic/calcodule.h"
#include "season/season.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace penarin {

// The progression chart ("推移グラフ") as numbers: which values are drawn and
// where, in twips on a drawing surface whose origin is its top-left corner and
// whose y axis points down. The painting code only follows these figures.

inline constexpr int ChartKindSurplus = 0;
inline constexpr int ChartKindPct = 1;

// What drawing a progression chart reports.
inline constexpr int DrawTooManyPoints = -1;
inline constexpr int DrawNothing = 0;

// The status-bar message for a draw result that keeps the chart window shut:
// "データがありません" for nothing to draw, "データが多すぎます" for too many
// points; empty for a chart that was drawn.
[[nodiscard]] std::u16string_view DrawResultMessage(int result);

struct ProgressionSeries
{
    int TeamNo = 0;
    std::u16string TeamName;  // the legend's text
    std::u16string ShortName; // the first NameLen characters, printed at the last point
    std::int32_t LineColor = 0;
    int LineStyle = 0;
    int LineWidth = 1;
    bool ShowLabels = false;
    std::vector<double> Values; // one per point
};

struct ProgressionData
{
    int Kind = ChartKindSurplus;
    std::vector<double> Dates; // the shown snapshots' dates, oldest first
    std::vector<ProgressionSeries> Series;
    // The value range: 0 and every value, widened by 1 at both ends.
    double Smallest = -1.0;
    double Largest = 1.0;

    [[nodiscard]] int pointCount() const { return static_cast<int>(Dates.size()); }
    [[nodiscard]] double range() const { return Largest - Smallest; }
    [[nodiscard]] int valueCount() const { return static_cast<int>(Series.size()) * pointCount(); }
};

// The points are the shown snapshots; the series are the rows of the published
// standings whose team is shown, in standings order.
[[nodiscard]] ProgressionData
GatherProgression(const Season &season, const PublishedStandings *published, int kind, int nameLen);

// The horizontal distance between points: the largest of 1000, 950, ..., 50
// for which the surface (points x step + 2500) still fits 32767 twips; 0 when
// even 50 does not.
[[nodiscard]] int ChartStep(int points);

// -1 (DrawTooManyPoints), 0 (DrawNothing) or the number of values drawn.
[[nodiscard]] int DrawResult(const ProgressionData &data);

struct ChartTick
{
    int X = 0;
    std::u16string Month; // no leading zero
    std::u16string Day;
};

struct ProgressionGeometry
{
    int Step = 0;
    int Height = 0;          // the surface's drawable height H
    int PlotHeight = 0;      // H - 600: the horizontal axis
    int Right = 0;           // X = step x (points + 1): the axis's end
    int SurfaceWidth = 0;    // X + 1500, room for the names at the last points
    double ReferenceY = 0.0; // the zero line (surplus) or the .500 line
    int DateTop = 0;         // the month's top; the day follows one text line lower
    std::vector<ChartTick> Ticks;
};

// Valid only for a data set that DrawResult accepts.
[[nodiscard]] ProgressionGeometry LayoutProgression(const ProgressionData &data, int height);

// The y of a value: kind 1 (1 - v) x Hp, kind 0 (largest - v) x Hp / range.
[[nodiscard]] double ValueY(const ProgressionData &data, int plotHeight, double value);

// What is printed beside point `index` (0-based) of a series: the value when
// the series shows labels ("0" for surpluses, ".583" for percentages), and at
// the last point two spaces and the short name. Empty when neither applies.
[[nodiscard]] std::u16string PointText(const ProgressionData &data, const ProgressionSeries &series,
                                       int index);

// The guide line under a press of the mouse at surface x: the nearest point
// position (a remainder of half a step or less rounds down), or nothing
// outside step < x < right.
[[nodiscard]] std::optional<int> GuideLineX(int x, int step, int right);

// The legend: one line of text height h per team plus one; its container is
// as high as the legend + 50, but at most H - 750 once the legend reaches
// H - 500, and then scrolls.
[[nodiscard]] int LegendHeight(int teams, int textHeight);
[[nodiscard]] int LegendContainerHeight(int legendHeight, int surfaceHeight);

// The horizontal scroll bar: the newest points are put in view, and the bar is
// enabled only when the axis reaches into the last 1600 twips of the viewport.
[[nodiscard]] int ChartScrollMaximum(int surfaceWidth, int viewportWidth);
[[nodiscard]] bool ChartScrollEnabled(int right, int viewportWidth);

} // namespace penarin
