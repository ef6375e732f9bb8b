#include "platform/flexgrid.h"

#include "platform/twips.h"

#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>
#include <QToolTip>

#include <algorithm>

namespace penarin {

namespace {

// Room around the text inside a cell, in pixels.
constexpr int RowPadding = 4;
constexpr int TextMarginLeft = 3;
constexpr int TextMarginRight = 4;

bool looksNumeric(const QString &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

QColor orPalette(const QColor &color, const QWidget &widget, QPalette::ColorRole role)
{
    return color.isValid() ? color : widget.palette().color(role);
}

} // namespace

FlexGrid::UpdateGuard::UpdateGuard(FlexGrid &grid)
    : m_grid(grid), m_wasSuspended(grid.updatesSuspended())
{
    m_grid.setUpdatesSuspended(true);
}

FlexGrid::UpdateGuard::~UpdateGuard()
{
    m_grid.setUpdatesSuspended(m_wasSuspended);
}

FlexGrid::FlexGrid(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // Every pixel of the viewport is painted, so Qt need not clear it first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_geometry.setSameContent([this](int row, int col, int otherRow, int otherCol) {
        return m_texts[index(row, col)] == m_texts[index(otherRow, otherCol)];
    });
    updateMetrics();
}

FlexGrid::~FlexGrid() = default;

// --- Shape ---

void FlexGrid::setRowCount(int rows)
{
    rows = std::max(0, rows);
    if (rows == rowCount()) {
        return;
    }
    resizeCells(rows, colCount());
    m_geometry.setRowCount(rows);
    layoutChanged();
    dropLostCells();
}

void FlexGrid::setColCount(int cols)
{
    cols = std::max(0, cols);
    if (cols == colCount()) {
        return;
    }
    resizeCells(rowCount(), cols);
    m_geometry.setColCount(cols);
    layoutChanged();
    dropLostCells();
}

void FlexGrid::resizeCells(int rows, int cols)
{
    const int oldRows = rowCount();
    const int oldCols = colCount();
    const auto size = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    if (cols == oldCols) {
        // Row after row: rows come and go at the end.
        m_texts.resize(size);
        m_backgrounds.resize(size);
        m_foregrounds.resize(size);
        m_alignments.resize(size);
    } else {
        std::vector<QString> texts(size);
        std::vector<QColor> backgrounds(size);
        std::vector<QColor> foregrounds(size);
        std::vector<Qt::Alignment> alignments(size);
        const int keptRows = std::min(rows, oldRows);
        const int keptCols = std::min(cols, oldCols);
        for (int row = 0; row < keptRows; ++row) {
            for (int col = 0; col < keptCols; ++col) {
                const auto from = index(row, col);
                const auto to = static_cast<std::size_t>(row) * static_cast<std::size_t>(cols) +
                                static_cast<std::size_t>(col);
                texts[to] = std::move(m_texts[from]);
                backgrounds[to] = m_backgrounds[from];
                foregrounds[to] = m_foregrounds[from];
                alignments[to] = m_alignments[from];
            }
        }
        m_texts = std::move(texts);
        m_backgrounds = std::move(backgrounds);
        m_foregrounds = std::move(foregrounds);
        m_alignments = std::move(alignments);
    }
}

void FlexGrid::dropLostCells()
{
    if (m_mouseCell.row >= rowCount() || m_mouseCell.col >= colCount()) {
        m_mouseCell = {};
    }
    // A current cell that no longer exists is dropped, not moved: the
    // program always sets a new one after reshaping a grid.
    if (m_current.row >= rowCount() || m_current.col >= colCount()) {
        const GridCell previous = m_current;
        m_current = {};
        emit currentCellChanged(-1, -1, previous.row, previous.col);
    }
}

void FlexGrid::setFixedRows(int rows)
{
    m_geometry.setFixedRows(rows);
    layoutChanged();
}

void FlexGrid::setFixedCols(int cols)
{
    m_geometry.setFixedCols(cols);
    layoutChanged();
}

void FlexGrid::setRowHeight(int row, int twips)
{
    m_geometry.setRowHeight(row, twips);
    layoutChanged();
}

void FlexGrid::setColWidth(int col, int twips)
{
    m_geometry.setColWidth(col, twips);
    layoutChanged();
}

void FlexGrid::setDefaultColWidth(int twips)
{
    m_geometry.setDefaultColWidth(twips);
    layoutChanged();
}

void FlexGrid::setMergeRow(int row, bool merge)
{
    m_geometry.setMergeRow(row, merge);
    contentChanged();
}

void FlexGrid::setMergeCol(int col, bool merge)
{
    m_geometry.setMergeCol(col, merge);
    contentChanged();
}

void FlexGrid::clear()
{
    std::fill(m_texts.begin(), m_texts.end(), QString());
    std::fill(m_backgrounds.begin(), m_backgrounds.end(), QColor());
    std::fill(m_foregrounds.begin(), m_foregrounds.end(), QColor());
    std::fill(m_alignments.begin(), m_alignments.end(), Qt::Alignment());
    contentChanged();
}

// --- Cells ---

bool FlexGrid::validCell(int row, int col) const
{
    return row >= 0 && row < rowCount() && col >= 0 && col < colCount();
}

std::size_t FlexGrid::index(int row, int col) const
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount()) +
           static_cast<std::size_t>(col);
}

void FlexGrid::setText(int row, int col, const QString &text)
{
    if (!validCell(row, col)) {
        return;
    }
    QString &cell = m_texts[index(row, col)];
    if (cell != text) {
        cell = text;
        contentChanged();
    }
}

void FlexGrid::setText(int row, int col, QStringView text)
{
    if (!validCell(row, col)) {
        return;
    }
    QString &cell = m_texts[index(row, col)];
    if (cell != text) {
        cell = text.toString();
        contentChanged();
    }
}

QString FlexGrid::text(int row, int col) const
{
    return validCell(row, col) ? m_texts[index(row, col)] : QString();
}

void FlexGrid::setCell(int row, int col, QStringView text, Qt::Alignment alignment,
                       const QColor &background, const QColor &foreground)
{
    if (!validCell(row, col)) {
        return;
    }
    const std::size_t i = index(row, col);
    if (m_texts[i] != text) {
        m_texts[i] = text.toString();
    }
    m_alignments[i] = alignment;
    m_backgrounds[i] = background;
    m_foregrounds[i] = foreground;
    contentChanged();
}

void FlexGrid::setCellAlignment(int row, int col, Qt::Alignment alignment)
{
    if (validCell(row, col)) {
        m_alignments[index(row, col)] = alignment;
        contentChanged();
    }
}

Qt::Alignment FlexGrid::cellAlignment(int row, int col) const
{
    return validCell(row, col) ? m_alignments[index(row, col)] : Qt::Alignment();
}

void FlexGrid::setCellBackground(int row, int col, const QColor &color)
{
    if (validCell(row, col)) {
        m_backgrounds[index(row, col)] = color;
        contentChanged();
    }
}

QColor FlexGrid::cellBackground(int row, int col) const
{
    return validCell(row, col) ? m_backgrounds[index(row, col)] : QColor();
}

void FlexGrid::setCellForeground(int row, int col, const QColor &color)
{
    if (validCell(row, col)) {
        m_foregrounds[index(row, col)] = color;
        contentChanged();
    }
}

QColor FlexGrid::cellForeground(int row, int col) const
{
    return validCell(row, col) ? m_foregrounds[index(row, col)] : QColor();
}

QColor FlexGrid::shownBackground(int row, int col) const
{
    if (!validCell(row, col)) {
        return {};
    }
    const QColor &color = m_backgrounds[index(row, col)];
    if (color.isValid()) {
        return color;
    }
    return row < fixedRows() || col < fixedCols() ? fixedBackground() : background();
}

QColor FlexGrid::shownForeground(int row, int col) const
{
    if (!validCell(row, col)) {
        return {};
    }
    const QColor &color = m_foregrounds[index(row, col)];
    if (color.isValid()) {
        return color;
    }
    return row < fixedRows() || col < fixedCols() ? fixedForeground() : foreground();
}

Qt::Alignment FlexGrid::shownAlignment(int row, int col) const
{
    Qt::Alignment alignment = m_alignments[index(row, col)];
    if (!(alignment & Qt::AlignHorizontal_Mask)) {
        alignment |= looksNumeric(m_texts[index(row, col)]) ? Qt::AlignRight : Qt::AlignLeft;
    }
    if (!(alignment & Qt::AlignVertical_Mask)) {
        alignment |= Qt::AlignVCenter;
    }
    return alignment;
}

// --- Grid colours ---

void FlexGrid::setBackground(const QColor &color)
{
    m_background = color;
    contentChanged();
}

QColor FlexGrid::background() const
{
    return orPalette(m_background, *this, QPalette::Base);
}

void FlexGrid::setForeground(const QColor &color)
{
    m_foreground = color;
    contentChanged();
}

QColor FlexGrid::foreground() const
{
    return orPalette(m_foreground, *this, QPalette::Text);
}

void FlexGrid::setFixedBackground(const QColor &color)
{
    m_fixedBackground = color;
    contentChanged();
}

QColor FlexGrid::fixedBackground() const
{
    return orPalette(m_fixedBackground, *this, QPalette::Button);
}

void FlexGrid::setFixedForeground(const QColor &color)
{
    m_fixedForeground = color;
    contentChanged();
}

QColor FlexGrid::fixedForeground() const
{
    return orPalette(m_fixedForeground, *this, QPalette::ButtonText);
}

void FlexGrid::setGridColor(const QColor &color)
{
    m_gridColor = color;
    contentChanged();
}

QColor FlexGrid::gridColor() const
{
    return orPalette(m_gridColor, *this, QPalette::Mid);
}

void FlexGrid::setEmptyAreaBackground(const QColor &color)
{
    m_emptyAreaBackground = color;
    contentChanged();
}

QColor FlexGrid::emptyAreaBackground() const
{
    return orPalette(m_emptyAreaBackground, *this, QPalette::Window);
}

// --- Current cell, tooltip, scrolling ---

void FlexGrid::setCurrentCell(int row, int col)
{
    const bool clearing = row == -1 && col == -1;
    if (!clearing && !validCell(row, col)) {
        return;
    }
    const GridCell previous = m_current;
    if (previous == GridCell{row, col}) {
        return;
    }
    m_current = {row, col};
    contentChanged();
    emit currentCellChanged(row, col, previous.row, previous.col);
}

void FlexGrid::setFocusMark(FocusMark mark)
{
    m_focusMark = mark;
    contentChanged();
}

void FlexGrid::setToolTipText(const QString &text)
{
    if (text == m_toolTipText) {
        return;
    }
    m_toolTipText = text;
    if (QToolTip::isVisible() && viewport()->underMouse()) {
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(QCursor::pos(), text, viewport());
        }
    }
}

void FlexGrid::ensureCellVisible(int row, int col)
{
    if (m_layoutPending) {
        updateScrollBars();
    }
    const QPoint offset = m_geometry.scrollToShow(row, col);
    horizontalScrollBar()->setValue(offset.x());
    verticalScrollBar()->setValue(offset.y());
}

void FlexGrid::scrollContentsBy(int /*dx*/, int /*dy*/)
{
    // The fixed areas must stay put, so the viewport is repainted rather
    // than shifted.
    m_geometry.setScroll({horizontalScrollBar()->value(), verticalScrollBar()->value()});
    viewport()->update();
    emit scrolled();
}

// --- Suspended repainting ---

void FlexGrid::setUpdatesSuspended(bool suspended)
{
    if (suspended == m_updatesSuspended) {
        return;
    }
    m_updatesSuspended = suspended;
    if (!suspended) {
        layoutChanged();
    }
}

void FlexGrid::layoutChanged()
{
    // Scroll bars are brought up to date once, when the grid is shown or
    // resumed, not after each of the many changes of a refill.
    if (m_updatesSuspended || !isVisible()) {
        m_layoutPending = true;
        return;
    }
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::contentChanged()
{
    if (!m_updatesSuspended) {
        viewport()->update();
    }
}

void FlexGrid::fitColWidth(int col, int minimumTwips, int fromRow)
{
    if (col < 0 || col >= colCount()) {
        return;
    }
    int widest = 0;
    const QString *previous = nullptr;
    for (int row = std::max(fromRow, 0); row < rowCount(); ++row) {
        const QString &cellText = m_texts[index(row, col)];
        // A column often repeats a text (a count, a mark) row after row.
        if (cellText.isEmpty() || (previous != nullptr && *previous == cellText)) {
            continue;
        }
        previous = &cellText;
        widest = std::max(widest, textWidth(cellText));
    }
    const int needed = widest == 0 ? 0
                                   : pixelsToTwips(widest + TextMarginLeft + TextMarginRight + 1,
                                                   m_geometry.dpiX());
    setColWidth(col, std::max(minimumTwips, needed));
}

// Measuring a text means shaping it, which costs far more than a lookup; a
// grid refilled on every click shows the same few hundred texts again and
// again. The bound keeps ever new texts from growing the table without end.
int FlexGrid::textWidth(const QString &text)
{
    constexpr qsizetype MaxCachedWidths = 8192;
    auto it = m_textWidths.constFind(text);
    if (it != m_textWidths.constEnd()) {
        return it.value();
    }
    if (m_textWidths.size() >= MaxCachedWidths) {
        m_textWidths.clear();
    }
    const int width = fontMetrics().horizontalAdvance(text);
    m_textWidths.insert(text, width);
    return width;
}

void FlexGrid::updateScrollBars()
{
    m_layoutPending = false;
    m_geometry.setViewportSize(viewport()->size());
    const QRect body = m_geometry.bodyRect();

    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setPageStep(std::max(1, body.width()));
    horizontal->setSingleStep(
        std::max(1, twipsToPixels(m_geometry.defaultColWidth(), m_geometry.dpiX()) / 2));
    horizontal->setRange(0, m_geometry.maxScrollX());

    QScrollBar *vertical = verticalScrollBar();
    vertical->setPageStep(std::max(1, body.height()));
    vertical->setSingleStep(
        std::max(1, twipsToPixels(m_geometry.defaultRowHeight(), m_geometry.dpiY())));
    vertical->setRange(0, m_geometry.maxScrollY());

    m_geometry.setScroll({horizontal->value(), vertical->value()});
}

void FlexGrid::updateMetrics()
{
    // A new font or screen measures every text anew.
    m_textWidths.clear();
    m_geometry.setDpi(logicalDpiX(), logicalDpiY());
    const int rowPixels = fontMetrics().height() + RowPadding;
    m_geometry.setDefaultRowHeight(pixelsToTwips(rowPixels, m_geometry.dpiY()));
    layoutChanged();
}

// --- Events ---

void FlexGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_geometry.setViewportSize(viewport()->size());
    layoutChanged();
}

void FlexGrid::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    // The screen, and with it the DPI, is known for certain only now.
    updateMetrics();
}

void FlexGrid::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
    } else if (event->type() == QEvent::PaletteChange) {
        contentChanged();
    }
}

void FlexGrid::mousePressEvent(QMouseEvent *event)
{
    m_mouseCell = cellAt(event->position().toPoint());
    const GridCell cell = m_mouseCell;
    if (event->button() == Qt::LeftButton && cell.isValid() && cell.row >= fixedRows() &&
        cell.col >= fixedCols()) {
        setCurrentCell(cell.row, cell.col);
    }
    emit cellPressed(cell.row, cell.col, event->button());
}

void FlexGrid::mouseReleaseEvent(QMouseEvent *event)
{
    m_mouseCell = cellAt(event->position().toPoint());
    emit cellReleased(m_mouseCell.row, m_mouseCell.col, event->button());
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Not passed on as a press: see cellDoubleClicked.
    m_mouseCell = cellAt(event->position().toPoint());
    emit cellDoubleClicked(m_mouseCell.row, m_mouseCell.col, event->button());
}

void FlexGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    m_mouseCell = cellAt(pos);
    emit mouseMovedOverCell(m_mouseCell.row, m_mouseCell.col, pos);
}

void FlexGrid::keyPressEvent(QKeyEvent *event)
{
    emit keyPressed(event);
    switch (event->key()) {
    case Qt::Key_Up:
        moveCurrentCell(-1, 0);
        break;
    case Qt::Key_Down:
        moveCurrentCell(1, 0);
        break;
    case Qt::Key_Left:
        moveCurrentCell(0, -1);
        break;
    case Qt::Key_Right:
        moveCurrentCell(0, 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void FlexGrid::moveCurrentCell(int rowStep, int colStep)
{
    // Moves within the scrolling cells, over hidden rows and columns, and
    // stays where it is at an edge.
    auto step = [](int from, int by, int first, int count, auto size) {
        for (int i = from + by; i >= first && i < count; i += by) {
            if (size(i) > 0) {
                return i;
            }
        }
        return from;
    };
    auto firstShown = [&](int first, int count, auto size) {
        return step(first - 1, 1, first, count, size);
    };
    auto rowSize = [this](int row) { return m_geometry.rowHeightPixels(row); };
    auto colSize = [this](int col) { return m_geometry.colWidthPixels(col); };

    int row = m_current.row;
    int col = m_current.col;
    if (row < fixedRows() || col < fixedCols()) {
        row = firstShown(fixedRows(), rowCount(), rowSize);
        col = firstShown(fixedCols(), colCount(), colSize);
    } else {
        if (rowStep != 0) {
            row = step(row, rowStep, fixedRows(), rowCount(), rowSize);
        }
        if (colStep != 0) {
            col = step(col, colStep, fixedCols(), colCount(), colSize);
        }
    }
    if (validCell(row, col) && row >= fixedRows() && col >= fixedCols()) {
        setCurrentCell(row, col);
        ensureCellVisible(row, col);
    }
}

void FlexGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    contentChanged();
}

void FlexGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    contentChanged();
}

bool FlexGrid::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (m_toolTipText.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), m_toolTipText, viewport());
        }
        return true;
    }
    case QEvent::Leave:
        emit mouseLeft();
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// --- Painting ---

void FlexGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, emptyAreaBackground());

    const QRect body = m_geometry.bodyRect();
    const QSize size = m_geometry.viewportSize();
    const int fixedWidth = std::min(body.left(), size.width());
    const int fixedHeight = std::min(body.top(), size.height());
    const GridRange fixedRowRange{0, fixedRows() - 1};
    const GridRange fixedColRange{0, fixedCols() - 1};
    const GridRange rows = m_geometry.visibleRows();
    const GridRange cols = m_geometry.visibleCols();

    paintPane(painter, exposed, {body, rows, cols, false});
    paintPane(
        painter, exposed,
        {QRect(fixedWidth, 0, size.width() - fixedWidth, fixedHeight), fixedRowRange, cols, true});
    paintPane(painter, exposed,
              {QRect(0, fixedHeight, fixedWidth, size.height() - fixedHeight), rows, fixedColRange,
               true});
    paintPane(painter, exposed,
              {QRect(0, 0, fixedWidth, fixedHeight), fixedRowRange, fixedColRange, true});
    paintFocusMark(painter);
}

void FlexGrid::paintPane(QPainter &painter, const QRect &exposed, const Pane &pane) const
{
    const QRect clip = pane.area & exposed;
    if (clip.isEmpty() || pane.rows.isEmpty() || pane.cols.isEmpty()) {
        return;
    }
    std::vector<ShownCell> cells;
    for (int row = pane.rows.first; row <= pane.rows.last; ++row) {
        int col = pane.cols.first;
        while (col <= pane.cols.last) {
            const CellSpan span = m_geometry.spanAt(row, col);
            // A merged block is painted once, from its first row in view.
            if (row == std::max(span.top, pane.rows.first)) {
                const QRect rect = m_geometry.spanRect(span);
                if (!rect.isEmpty()) {
                    cells.push_back({rect, span.top, span.left});
                }
            }
            col = span.right + 1;
        }
    }

    // A large grid shows thousands of cells, and each painter call has a
    // fixed cost well above the pixels it touches. Cells never overlap and a
    // cell's text and lines stay inside it, so painting all backgrounds, then
    // all texts, then all lines gives the picture cell-by-cell painting gives,
    // with one fill for each run of cells of one colour and one call for
    // every line.
    painter.setClipRect(clip);
    QRect run;
    QColor runColor;
    for (const ShownCell &cell : cells) {
        const QColor color = shownBackground(cell.row, cell.col);
        if (!run.isNull() && color == runColor && cell.rect.top() == run.top() &&
            cell.rect.bottom() == run.bottom() && cell.rect.left() == run.right() + 1) {
            run.setRight(cell.rect.right());
            continue;
        }
        if (!run.isNull()) {
            painter.fillRect(run, runColor);
        }
        run = cell.rect;
        runColor = color;
    }
    if (!run.isNull()) {
        painter.fillRect(run, runColor);
    }
    QColor penColor;
    bool penSet = false;
    for (const ShownCell &cell : cells) {
        const QString &text = m_texts[index(cell.row, cell.col)];
        if (!text.isEmpty()) {
            const QColor color = shownForeground(cell.row, cell.col);
            // Setting a pen costs more than comparing colours, and most
            // texts of a grid share one.
            if (!penSet || color != penColor) {
                painter.setPen(color);
                penColor = color;
                penSet = true;
            }
            paintText(painter, cell.rect, text, shownAlignment(cell.row, cell.col));
        }
    }
    // A line one pixel wide is filled as a rectangle one pixel wide: the
    // same pixels, without the line drawer's cost per pixel.
    const QColor lineColor = pane.fixed ? palette().color(QPalette::Dark) : gridColor();
    for (const QLine &line : gridLines(cells)) {
        painter.fillRect(QRect(line.p1(), line.p2()), lineColor);
    }
    painter.setClipping(false);
}

// Every cell's line on its right and at its bottom, joined where the
// segments of neighbouring cells continue each other: a line of pixels
// drawn whole covers what its pieces cover, and costs one segment instead
// of one per cell.
std::vector<QLine> FlexGrid::gridLines(const std::vector<ShownCell> &cells)
{
    struct Segment
    {
        int along; // x of a vertical line, y of a horizontal one
        int from;
        int to;
        bool operator<(const Segment &other) const
        {
            return along != other.along ? along < other.along : from < other.from;
        }
    };
    std::vector<Segment> vertical;
    std::vector<Segment> horizontal;
    vertical.reserve(cells.size());
    horizontal.reserve(cells.size());
    for (const ShownCell &cell : cells) {
        const QRect &r = cell.rect;
        vertical.push_back({r.right(), r.top(), r.bottom()});
        horizontal.push_back({r.bottom(), r.left(), r.right()});
    }
    std::vector<QLine> lines;
    auto join = [&lines](std::vector<Segment> &segments, bool isVertical) {
        // Cells come row by row, so the horizontal lines are usually in
        // order already; a pane of a large view has thousands of them.
        if (!std::is_sorted(segments.begin(), segments.end())) {
            std::sort(segments.begin(), segments.end());
        }
        std::size_t i = 0;
        while (i < segments.size()) {
            Segment line = segments[i++];
            while (i < segments.size() && segments[i].along == line.along &&
                   segments[i].from <= line.to + 1) {
                line.to = std::max(line.to, segments[i++].to);
            }
            lines.push_back(isVertical ? QLine(line.along, line.from, line.along, line.to)
                                       : QLine(line.from, line.along, line.to, line.along));
        }
    };
    join(vertical, true);
    join(horizontal, false);
    return lines;
}

// Draws in the painter's pen.
void FlexGrid::paintText(QPainter &painter, const QRect &cell, const QString &text,
                         Qt::Alignment alignment) const
{
    const QStaticText &shaped = shapedText(text, painter.font());
    const QSizeF size = shaped.size();
    QRect area = cell.adjusted(TextMarginLeft, 0, -TextMarginRight, -1);
    // Narrow columns (games behind, the per-rival magic) were sized for a
    // narrower font than this desktop may have: give the text the margins
    // before cutting it, and when it must be cut, keep its beginning, so
    // "12.0" never reads as ".0".
    if (size.width() > area.width()) {
        area = cell.adjusted(1, 0, -2, -1);
    }
    qreal x = area.left();
    if (size.width() > area.width()) {
        alignment &= ~Qt::AlignHorizontal_Mask;
    }
    if (alignment & Qt::AlignRight) {
        x = area.right() + 1 - size.width();
    } else if (alignment & Qt::AlignHCenter) {
        x = area.left() + (area.width() - size.width()) / 2;
    }
    qreal y = area.top() + (area.height() - size.height()) / 2;
    if (alignment & Qt::AlignTop) {
        y = area.top();
    } else if (alignment & Qt::AlignBottom) {
        y = area.bottom() + 1 - size.height();
    }
    const bool overflows = size.width() > area.width() || size.height() > area.height();
    if (overflows) {
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
    }
    painter.drawStaticText(QPointF(x, y), shaped);
    if (overflows) {
        painter.restore();
    }
}

const QStaticText &FlexGrid::shapedText(const QString &text, const QFont &font) const
{
    // Shaping a text is most of the cost of painting a cell, and a grid
    // shows few distinct texts (counts, team names, marks) many times, so
    // each is shaped once and kept until the font changes. The bound keeps
    // a grid of ever new texts from growing the cache without end.
    constexpr qsizetype MaxCachedTexts = 4096;
    if (font != m_shapedFont || m_shapedTexts.size() >= MaxCachedTexts) {
        m_shapedTexts.clear();
        m_shapedFont = font;
    }
    auto it = m_shapedTexts.find(text);
    if (it == m_shapedTexts.end()) {
        QStaticText shaped(text);
        shaped.setTextFormat(Qt::PlainText);
        shaped.setPerformanceHint(QStaticText::AggressiveCaching);
        shaped.prepare(QTransform(), font);
        it = m_shapedTexts.insert(text, shaped);
    }
    return it.value();
}

void FlexGrid::paintFocusMark(QPainter &painter) const
{
    if (m_focusMark == FocusMark::None || !hasFocus() || !validCell(m_current.row, m_current.col)) {
        return;
    }
    const QRect rect = cellRect(m_current.row, m_current.col);
    if (rect.isEmpty()) {
        return;
    }
    // Kept inside the area the cell scrolls in, so it never shows over the
    // fixed headers.
    const QRect body = m_geometry.bodyRect();
    const QSize size = m_geometry.viewportSize();
    const bool fixedRow = m_current.row < fixedRows();
    const bool fixedCol = m_current.col < fixedCols();
    const int left = fixedCol ? 0 : body.left();
    const int top = fixedRow ? 0 : body.top();
    const int right = fixedCol ? body.left() : size.width();
    const int bottom = fixedRow ? body.top() : size.height();
    painter.setClipRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));

    const bool heavy = m_focusMark == FocusMark::Heavy;
    QPen pen(shownForeground(m_current.row, m_current.col), heavy ? 2 : 1,
             heavy ? Qt::SolidLine : Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(heavy ? rect.adjusted(1, 1, -2, -2) : rect.adjusted(1, 1, -3, -3));
    painter.setClipping(false);
}

} // namespace penarin
