#pragma once

#include "standings/obimodule.h"
#include "tables/chartmodule.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace penarin {

// The one painting code of both charts: the chart window, the PNG and SVG
// pictures and the report command all draw through it. Everything is painted
// in twips; the caller scales the painter to its device (15 twips per pixel
// at 96 DPI). Needs Qt Gui only, no widgets.

inline constexpr double PictureTwipsPerPixel = 15.0;

// The desktop's colours the charts use for their system colours.
struct ChartColors
{
    QColor background;  // the drawing surface
    QColor buttonFace;  // the reference line
    QColor buttonText;  // dates and captions
    QColor windowText;  // the guide line
    QColor segmentText; // the window-background colour of the segments' captions

    [[nodiscard]] static ChartColors fromPalette(const QPalette &palette);
};

// A font of `points` for painting in twips (a point is 20 twips).
[[nodiscard]] QFont chartFont(const QFont &family, int points);

class ProgressionPicture
{
public:
    // height: the drawing surface's height H in twips; width: the width it
    // may take (0: as narrow as the points allow). The data must be one that
    // DrawResult accepts.
    ProgressionPicture(ProgressionData data, int height, const QFont &family, int width = 0);

    // What the picture shows, for a saved picture's title: "貯金推移" or
    // "勝率推移".
    [[nodiscard]] QString title() const;

    [[nodiscard]] const ProgressionData &data() const { return m_data; }
    [[nodiscard]] const ProgressionGeometry &geometry() const { return m_geometry; }

    // The surface: SurfaceWidth x Height twips.
    void paintSurface(QPainter &painter, const ChartColors &colors,
                      std::optional<int> guideX = std::nullopt) const;

    // The legend: one line per series; its size in twips.
    [[nodiscard]] QSizeF legendSize() const;
    void paintLegend(QPainter &painter, const ChartColors &colors) const;
    [[nodiscard]] int legendTextHeight() const { return m_legendTextHeight; }

    // Surface and legend side by side, as a saved picture shows them.
    [[nodiscard]] QSizeF pictureSize(bool legend) const;
    void paintPicture(QPainter &painter, const ChartColors &colors, bool legend) const;

private:
    ProgressionData m_data;
    ProgressionGeometry m_geometry;
    QFont m_dateFont;
    QFont m_labelFont;
    QFont m_legendFont;
    int m_legendTextHeight = 0;
    double m_legendWidth = 0.0;
};

// Where every part of a composition goes, in twips.
struct CompositionLayout
{
    struct Segment
    {
        QRectF rect;
        int bar = 0; // 0 leading, 1 trailing
        int index = 0;
    };
    QRectF leadingLabel, trailingLabel, evenLabel;
    QRectF leadingBar, trailingBar; // where the bar (or its "なし" caption) lies
    QRectF evenText, total;
    std::vector<Segment> segments;
    QSizeF size;
};

class CompositionPicture
{
public:
    // teamName: the heading of a saved picture.
    CompositionPicture(Composition composition, const QString &teamName, const QFont &family);

    [[nodiscard]] const Composition &composition() const { return m_composition; }
    [[nodiscard]] const CompositionLayout &layout() const { return m_layout; }
    [[nodiscard]] QSizeF size() const { return m_layout.size; }
    // "貯金構成" and the team's name.
    [[nodiscard]] QString title() const;

    void paint(QPainter &painter, const ChartColors &colors, bool showNames, bool showShares) const;

    // A saved picture: the team's name above the composition, since the
    // team list that names it in the window is not part of the picture.
    [[nodiscard]] QSizeF pictureSize() const;
    void paintPicture(QPainter &painter, const ChartColors &colors, bool showNames,
                      bool showShares) const;

    // The tool tip of the segment under a point (twips), empty elsewhere.
    [[nodiscard]] QString toolTipAt(QPointF point) const;

private:
    Composition m_composition;
    QFont m_font;
    QString m_teamName;
    double m_headingHeight = 0.0;
    QString m_evenLines; // the even list broken into lines between names
    CompositionLayout m_layout;
};

// Writes a picture of `twipsSize` painted by `paint` (in twips) to `path`:
// SVG when the name ends in ".svg" (any case), PNG otherwise, at 96 DPI.
// The complete picture replaces the file as a season file is replaced
// (WriteFileSafely, with its refusals). On failure the reason is stored in
// `error`, in the words the season's save uses. `title` names an SVG
// document.
[[nodiscard]] bool writeChartPicture(const QString &path, QSizeF twipsSize,
                                     const std::function<void(QPainter &)> &paint,
                                     QString *error = nullptr, const QString &title = QString());

} // namespace penarin
