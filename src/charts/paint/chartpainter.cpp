#include "charts/paint/chartpainter.h"

#include "platform/storedcolor.h"
#include "season/chartdata.h"
#include "season/safewriter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

namespace penarin {

namespace {

const QString PictureNotMade = QStringLiteral("画像を作成できません");

// XML has no place for most control characters, not even as references,
// so a name holding one (U+0000 to U+001F but tab and line breaks) would
// make the whole picture unreadable; they are dropped, as are U+FFFE and
// U+FFFF. Bytes below 0x80 never occur inside a longer UTF-8 sequence.
QByteArray withoutCharactersXmlCannotHold(const QByteArray &svg)
{
    QByteArray kept;
    kept.reserve(svg.size());
    for (qsizetype i = 0; i < svg.size(); ++i) {
        const auto byte = static_cast<unsigned char>(svg[i]);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') {
            continue;
        }
        if (byte == 0xEF && i + 2 < svg.size() && static_cast<unsigned char>(svg[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(svg[i + 2]) & 0xFE) == 0xBE) {
            i += 2;
            continue;
        }
        kept.append(svg[i]);
    }
    return kept;
}

// A width of one pixel in twips, for the gaps between segments.
constexpr double OnePixel = PictureTwipsPerPixel;

// Line widths are counted in pixels of the device, as the chart has always
// measured them. On screens and images the pens are cosmetic, which is also
// what keeps 88 long lines fast; an SVG viewer may ignore non-scaling strokes,
// so there the width is scaled with the drawing instead.
bool isVector(const QPainter &painter)
{
    return painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::SVG;
}

QPen pixelPen(const QPainter &painter, const QColor &color, int pixels,
              Qt::PenStyle style = Qt::SolidLine)
{
    if (isVector(painter)) {
        const double scale = painter.transform().m11();
        return QPen(color, scale > 0.0 ? pixels / scale : pixels, style);
    }
    QPen pen(color, pixels, style);
    pen.setCosmetic(true);
    return pen;
}

// 6 points: the smallest type a segment's caption shrinks to.
constexpr int MinimumCaptionSize = 120;

QString text(const std::u16string &value)
{
    return QString::fromStdU16String(value);
}

Qt::PenStyle penStyle(int lineStyle)
{
    switch (lineStyle) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

QPen seriesPen(const QPainter &painter, const ProgressionSeries &series, const QPalette &palette)
{
    QPen pen = pixelPen(painter, colorFromStored(series.LineColor, palette),
                        std::clamp<int>(series.LineWidth, 1, 9), penStyle(series.LineStyle));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QPalette paletteOf(const ChartColors &colors)
{
    QPalette palette;
    palette.setColor(QPalette::Base, colors.segmentText);
    palette.setColor(QPalette::Button, colors.buttonFace);
    palette.setColor(QPalette::ButtonText, colors.buttonText);
    palette.setColor(QPalette::Text, colors.windowText);
    return palette;
}

// Text printed with its top-left corner at a point, as the chart prints.
void printAt(QPainter &painter, QPointF topLeft, const QString &value)
{
    const QFontMetricsF metrics(painter.font());
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), value);
}

} // namespace

ChartColors ChartColors::fromPalette(const QPalette &palette)
{
    ChartColors colors;
    colors.background = palette.color(QPalette::Base);
    colors.buttonFace = palette.color(QPalette::Button);
    colors.buttonText = palette.color(QPalette::ButtonText);
    colors.windowText = palette.color(QPalette::WindowText);
    colors.segmentText = palette.color(QPalette::Base);
    return colors;
}

QFont chartFont(const QFont &family, int points)
{
    QFont font(family);
    font.setPixelSize(points * 20);
    return font;
}

ProgressionPicture::ProgressionPicture(ProgressionData data, int height, const QFont &family,
                                       int width)
    : m_data(std::move(data)), m_geometry(LayoutProgression(m_data, height, width)),
      m_dateFont(chartFont(family, 8)), m_labelFont(chartFont(family, 9)),
      m_legendFont(chartFont(family, 9))
{
    const QFontMetricsF legend(m_legendFont);
    m_legendTextHeight =
        static_cast<int>(std::lround(legend.boundingRect(QStringLiteral("あ")).height()));
    m_legendTextHeight =
        std::max(m_legendTextHeight, static_cast<int>(std::lround(legend.height())));
    double widest = 0.0;
    for (const ProgressionSeries &series : m_data.Series) {
        widest = std::max(widest, legend.horizontalAdvance(text(series.TeamName)));
    }
    m_legendWidth = 600.0 + widest + 150.0;
}

QString ProgressionPicture::title() const
{
    return m_data.Kind == ChartKindPct ? QStringLiteral("勝率推移") : QStringLiteral("貯金推移");
}

void ProgressionPicture::paintSurface(QPainter &painter, const ChartColors &colors,
                                      std::optional<int> guideX) const
{
    const ProgressionGeometry &g = m_geometry;
    const QPalette palette = paletteOf(colors);
    painter.save();
    painter.fillRect(QRectF(0, 0, g.SurfaceWidth, g.Height), colors.background);
    painter.translate(-g.Left, 0);

    painter.setFont(m_dateFont);
    const double digitHeight = QFontMetricsF(m_dateFont).boundingRect(QStringLiteral("0")).height();
    const double lineHeight = std::max(digitHeight, QFontMetricsF(m_dateFont).height());

    // The scale: faint lines at round values, their numbers just inside the
    // vertical axis, the measure's name at its top.
    const QColor faint =
        QColor::fromRgbF((colors.background.redF() * 3 + colors.buttonText.redF()) / 4,
                         (colors.background.greenF() * 3 + colors.buttonText.greenF()) / 4,
                         (colors.background.blueF() * 3 + colors.buttonText.blueF()) / 4);
    for (const ScaleTick &tick : ValueScale(m_data, g.PlotHeight, 2 * lineHeight)) {
        painter.setPen(pixelPen(painter, faint, 1, Qt::DotLine));
        painter.drawLine(QPointF(g.Step, tick.Y), QPointF(g.Right, tick.Y));
        painter.setPen(colors.buttonText);
        printAt(painter, QPointF(g.Step + 40, tick.Y - lineHeight), text(tick.Text));
    }
    printAt(painter, QPointF(g.Step + 40, 0),
            QString::fromStdU16String(std::u16string(ScaleCaption(m_data.Kind))));

    painter.setPen(pixelPen(painter, Qt::black, 1));
    painter.drawLine(QPointF(g.Step, 0), QPointF(g.Step, g.PlotHeight));
    painter.drawLine(QPointF(g.Step, g.PlotHeight), QPointF(g.Right, g.PlotHeight));

    // The even line (0 games, .500) is what every team is measured against.
    const QColor reference =
        QColor::fromRgbF((colors.background.redF() + colors.buttonText.redF()) / 2,
                         (colors.background.greenF() + colors.buttonText.greenF()) / 2,
                         (colors.background.blueF() + colors.buttonText.blueF()) / 2);
    painter.setPen(pixelPen(painter, reference, 2));
    painter.drawLine(QPointF(g.Step, g.ReferenceY), QPointF(g.Right, g.ReferenceY));

    for (const ChartTick &tick : g.Ticks) {
        painter.setPen(pixelPen(painter, Qt::black, 1));
        painter.drawLine(QPointF(tick.X, g.PlotHeight), QPointF(tick.X, g.PlotHeight - 100));
        painter.setPen(colors.buttonText);
        printAt(painter, QPointF(tick.X, g.DateTop), text(tick.Month));
        printAt(painter, QPointF(tick.X, g.DateTop + lineHeight), text(tick.Day));
    }

    painter.setFont(m_labelFont);
    const QFontMetricsF labelMetrics(m_labelFont);
    const double labelHeight = labelMetrics.height();
    const int points = m_data.pointCount();
    // The texts at the last points, moved apart where teams end close
    // together; a leader line then joins each to its point.
    std::vector<double> endWanted;
    for (const ProgressionSeries &series : m_data.Series) {
        endWanted.push_back(ValueY(m_data, g.PlotHeight, series.Values.back()) - labelHeight / 2);
    }
    const std::vector<double> endPlaced =
        SpreadLabels(endWanted, labelHeight, 0.0, std::max(0.0, g.PlotHeight - labelHeight));
    const double endX = g.Step * points;
    const double leaderEnd = labelMetrics.horizontalAdvance(QStringLiteral("  ")) - 20;

    QPolygonF line;
    line.reserve(points + 1);
    std::size_t seriesIndex = 0;
    for (const ProgressionSeries &series : m_data.Series) {
        line.clear();
        line << QPointF(g.Step, ValueY(m_data, g.PlotHeight, series.Values.front()));
        for (int k = 1; k <= points; ++k) {
            line << QPointF(g.Step * k, ValueY(m_data, g.PlotHeight,
                                               series.Values[static_cast<std::size_t>(k - 1)]));
        }
        // Segment by segment: one wide stroked path through hundreds of
        // points costs far more to fill than the same segments apart. A
        // dashed line carries its pattern on from one segment to the next,
        // counted in device pixels as the cosmetic pen counts it.
        QPen pen = seriesPen(painter, series, palette);
        painter.setPen(pen);
        const bool dashed = pen.style() != Qt::SolidLine;
        const QTransform &device = painter.transform();
        double travelled = 0.0;
        if (isVector(painter)) {
            painter.drawPolyline(line); // one path, its pattern unbroken
        }
        for (int k = 1; k < line.size() && !isVector(painter); ++k) {
            if (dashed) {
                pen.setDashOffset(travelled / pen.widthF());
                painter.setPen(pen);
                travelled += QLineF(device.map(line[k - 1]), device.map(line[k])).length();
            }
            painter.drawLine(line[k - 1], line[k]);
        }
        const QColor color = colorFromStored(series.LineColor, palette);
        painter.setPen(color);
        // Only labelled series print at every point, each label above the
        // horizontal axis; the others only their name at the last one.
        for (int k = series.ShowLabels ? 1 : points; k < points; ++k) {
            const std::u16string label = PointText(m_data, series, k - 1);
            if (!label.empty()) {
                printAt(painter,
                        QPointF(line[k].x(), LabelTop(line[k].y(), labelHeight, g.PlotHeight)),
                        text(label));
            }
        }
        const double wanted = endWanted[seriesIndex];
        const double placed = endPlaced[seriesIndex];
        ++seriesIndex;
        if (std::abs(placed - wanted) > labelHeight / 4) {
            painter.setPen(pixelPen(painter, color, 1));
            painter.drawLine(QPointF(endX, line[points].y()),
                             QPointF(endX + leaderEnd, placed + labelHeight / 2));
            painter.setPen(color);
        }
        printAt(painter, QPointF(endX, placed), text(PointText(m_data, series, points - 1)));
    }

    if (guideX) {
        painter.setPen(pixelPen(painter, colors.windowText, 1));
        painter.drawLine(QPointF(*guideX, g.Height - 600), QPointF(*guideX, 0));
    }
    painter.restore();
}

QSizeF ProgressionPicture::legendSize() const
{
    return {m_legendWidth, static_cast<double>(LegendHeight(static_cast<int>(m_data.Series.size()),
                                                            m_legendTextHeight))};
}

void ProgressionPicture::paintLegend(QPainter &painter, const ChartColors &colors) const
{
    const QPalette palette = paletteOf(colors);
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), legendSize()), colors.background);
    painter.setFont(m_legendFont);
    const int h = m_legendTextHeight;
    int i = 0;
    for (const ProgressionSeries &series : m_data.Series) {
        ++i;
        painter.setPen(seriesPen(painter, series, palette));
        painter.drawLine(QPointF(50, i * h), QPointF(500, i * h));
        painter.setPen(colors.buttonText);
        printAt(painter, QPointF(600, i * h - h / 2.0), text(series.TeamName));
    }
    painter.restore();
}

QSizeF ProgressionPicture::pictureSize(bool legend) const
{
    QSizeF size(m_geometry.SurfaceWidth, m_geometry.Height);
    if (legend) {
        const QSizeF legendArea = legendSize();
        size =
            QSizeF(size.width() + legendArea.width(), std::max(size.height(), legendArea.height()));
    }
    return size;
}

void ProgressionPicture::paintPicture(QPainter &painter, const ChartColors &colors,
                                      bool legend) const
{
    painter.fillRect(QRectF(QPointF(0, 0), pictureSize(legend)), colors.background);
    paintSurface(painter, colors);
    if (legend) {
        painter.save();
        painter.translate(m_geometry.SurfaceWidth, 0);
        paintLegend(painter, colors);
        painter.restore();
    }
}

CompositionPicture::CompositionPicture(Composition composition, const QString &teamName,
                                       const QFont &family)
    : m_composition(std::move(composition)), m_font(chartFont(family, 9)), m_teamName(teamName)
{
    const QFontMetricsF metrics(m_font);
    const double line = metrics.height();
    m_headingHeight = 100.0 + line;
    constexpr double margin = 100.0;
    const double labelWidth =
        std::max(metrics.horizontalAdvance(QStringLiteral("勝越:")), 600.0) + 150.0;
    const double barLeft = margin + labelWidth;
    const double barWidth = CompositionBarLength + 300.0;
    const double barHeight = std::max(3.0 * line + 90.0, 600.0);
    const double gap = 150.0;

    CompositionLayout &l = m_layout;
    l.leadingBar = QRectF(barLeft, margin, barWidth, barHeight);
    l.trailingBar = QRectF(barLeft, l.leadingBar.bottom() + gap, barWidth, barHeight);
    l.leadingLabel = QRectF(margin, l.leadingBar.top(), labelWidth, barHeight);
    l.trailingLabel = QRectF(margin, l.trailingBar.top(), labelWidth, barHeight);
    const QRectF wrapped = metrics.boundingRect(QRectF(0, 0, barWidth, 1e6), Qt::TextWordWrap,
                                                text(m_composition.EvenText));
    l.evenText =
        QRectF(barLeft, l.trailingBar.bottom() + gap, barWidth, std::max(line, wrapped.height()));
    l.evenLabel = QRectF(margin, l.evenText.top(), labelWidth, line);
    l.total = QRectF(margin, l.evenText.bottom() + gap, labelWidth + barWidth, line);
    l.size = QSizeF(barLeft + barWidth + margin, l.total.bottom() + margin);

    for (int bar = 0; bar < 2; ++bar) {
        const auto &segments = bar == 0 ? m_composition.Leading : m_composition.Trailing;
        const QRectF area = bar == 0 ? l.leadingBar : l.trailingBar;
        double x = area.left();
        for (std::size_t i = 0; i < segments.size(); ++i) {
            l.segments.push_back({QRectF(x, area.top(), segments[i].Length, area.height()), bar,
                                  static_cast<int>(i)});
            x += segments[i].Length;
        }
    }
}

QString CompositionPicture::title() const
{
    return QStringLiteral("貯金構成 ") + m_teamName;
}

void CompositionPicture::paint(QPainter &painter, const ChartColors &colors, bool showNames,
                               bool showShares) const
{
    const QPalette palette = paletteOf(colors);
    const CompositionLayout &l = m_layout;
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), l.size), colors.background);
    painter.setFont(m_font);
    painter.setPen(colors.buttonText);
    painter.drawText(l.leadingLabel, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("勝越:"));
    painter.drawText(l.trailingLabel, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("負越:"));
    painter.drawText(l.evenLabel, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("５割:"));
    if (m_composition.Leading.empty()) {
        painter.drawText(l.leadingBar, Qt::AlignLeft | Qt::AlignVCenter,
                         text(std::u16string(NoLeadingCaption)).trimmed());
    }
    if (m_composition.Trailing.empty()) {
        painter.drawText(l.trailingBar, Qt::AlignLeft | Qt::AlignVCenter,
                         text(std::u16string(NoTrailingCaption)).trimmed());
    }
    painter.drawText(l.evenText, Qt::AlignLeft | Qt::AlignTop, m_evenLines);

    for (const CompositionLayout::Segment &s : l.segments) {
        const CompositionSegment &segment =
            (s.bar == 0 ? m_composition.Leading
                        : m_composition.Trailing)[static_cast<std::size_t>(s.index)];
        painter.fillRect(s.rect, colorFromStored(segment.Color, palette));
        // Neighbours of one colour (every team starts grey) stay apart.
        painter.setPen(QPen(colors.background, OnePixel));
        painter.drawLine(s.rect.topRight(), s.rect.bottomRight());
        painter.setPen(colors.segmentText);
        painter.save();
        painter.setClipRect(s.rect);
        const QString caption = text(SegmentCaption(segment.Tag, showNames, showShares));
        // A narrow segment (one game of a long bar) gets smaller type before
        // its caption is cut at its edges.
        double widest = 0.0;
        for (const QString &captionLine : caption.split(QLatin1Char('\n'))) {
            widest = std::max(widest, QFontMetricsF(m_font).horizontalAdvance(captionLine));
        }
        const double room = s.rect.width() - 2 * OnePixel;
        if (widest > room && widest > 0.0) {
            QFont smaller = m_font;
            smaller.setPixelSize(
                std::max(MinimumCaptionSize, static_cast<int>(m_font.pixelSize() * room / widest)));
            painter.setFont(smaller);
        }
        painter.drawText(s.rect, Qt::AlignCenter, caption);
        painter.setFont(m_font);
        painter.restore();
    }

    if (m_composition.TeamNo != 0) {
        painter.setPen(colorFromStored(m_composition.TotalColor, palette));
        painter.drawText(l.total, Qt::AlignLeft | Qt::AlignVCenter, text(m_composition.TotalText));
    }
    painter.restore();
}

QSizeF CompositionPicture::pictureSize() const
{
    return {m_layout.size.width(), m_layout.size.height() + m_headingHeight};
}

void CompositionPicture::paintPicture(QPainter &painter, const ChartColors &colors, bool showNames,
                                      bool showShares) const
{
    painter.fillRect(QRectF(QPointF(0, 0), pictureSize()), colors.background);
    painter.save();
    QFont heading = m_font;
    heading.setBold(true);
    painter.setFont(heading);
    painter.setPen(colors.buttonText);
    painter.drawText(QRectF(100, 100, m_layout.size.width() - 200, m_headingHeight - 100),
                     Qt::AlignLeft | Qt::AlignVCenter, m_teamName);
    painter.translate(0, m_headingHeight);
    paint(painter, colors, showNames, showShares);
    painter.restore();
}

QString CompositionPicture::toolTipAt(QPointF point) const
{
    for (const CompositionLayout::Segment &s : m_layout.segments) {
        if (s.rect.contains(point)) {
            const auto &bar = s.bar == 0 ? m_composition.Leading : m_composition.Trailing;
            return text(bar[static_cast<std::size_t>(s.index)].ToolTip);
        }
    }
    return {};
}

bool writeChartPicture(const QString &path, QSizeF twipsSize,
                       const std::function<void(QPainter &)> &paint, QString *error,
                       const QString &title)
{
    const QSize pixels(
        std::max(1, static_cast<int>(std::ceil(twipsSize.width() / PictureTwipsPerPixel))),
        std::max(1, static_cast<int>(std::ceil(twipsSize.height() / PictureTwipsPerPixel))));
    const auto fail = [&](const QString &reason) {
        if (error) {
            *error = reason;
        }
        return false;
    };
    // The picture is made in memory and written as the season is, so a
    // picture replaces only a regular file the user may write, through
    // links and linked folders as the system follows them, and a full disk
    // gets the season's own words.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(pixels);
        generator.setViewBox(QRect(QPoint(0, 0), pixels));
        generator.setResolution(96);
        generator.setTitle(title);
        QPainter painter;
        if (!painter.begin(&generator)) {
            return fail(PictureNotMade);
        }
        painter.scale(1.0 / PictureTwipsPerPixel, 1.0 / PictureTwipsPerPixel);
        paint(painter);
        painter.end();
        bytes = withoutCharactersXmlCannotHold(bytes);
    } else {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) {
            return fail(PictureNotMade);
        }
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.scale(1.0 / PictureTwipsPerPixel, 1.0 / PictureTwipsPerPixel);
            paint(painter);
        }
        if (!image.save(&buffer, "PNG")) {
            return fail(PictureNotMade);
        }
    }
    std::string reason;
    if (!WriteFileSafely(
            std::filesystem::path(QFile::encodeName(path).toStdString()),
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &reason)) {
        return fail(QString::fromStdString(reason));
    }
    return true;
}

} // namespace penarin
