#include "platform/gridgeometry.h"

#include "platform/twips.h"

#include <algorithm>

namespace penarin {

namespace {

// The grid control the program's layouts were made for started with rows of
// 240 twips and columns of 960 twips; a widget replaces the row height with
// one that fits its font.
constexpr int InitialRowHeight = 240;
constexpr int InitialColWidth = 960;

// The index i in [first, last) with edges[i] <= pos < edges[i + 1], for a
// pos already known to lie in [edges[first], edges[last]). Hidden entries
// (equal neighbouring edges) are skipped by construction.
int indexAt(const std::vector<int> &edges, int first, int last, int pos)
{
    const auto begin = edges.begin() + first;
    const auto end = edges.begin() + last + 1;
    return static_cast<int>(std::upper_bound(begin, end, pos) - edges.begin()) - 1;
}

int hitIndex(const std::vector<int> &edges, int fixedCount, int count, int pos, int scroll,
             int viewportExtent)
{
    if (pos < 0 || pos >= viewportExtent) {
        return -1;
    }
    const int fixedExtent = edges[static_cast<std::size_t>(fixedCount)];
    if (pos < fixedExtent) {
        return indexAt(edges, 0, fixedCount, pos);
    }
    const int content = pos + scroll;
    if (content >= edges[static_cast<std::size_t>(count)]) {
        return -1;
    }
    return indexAt(edges, fixedCount, count, content);
}

GridRange visibleRange(const std::vector<int> &edges, int fixedCount, int count, int scroll,
                       int viewportExtent)
{
    const int fixedExtent = edges[static_cast<std::size_t>(fixedCount)];
    const int from = fixedExtent + scroll;
    const int to = std::min(viewportExtent + scroll, edges[static_cast<std::size_t>(count)]);
    if (viewportExtent <= fixedExtent || from >= to) {
        return {fixedCount, fixedCount - 1};
    }
    return {indexAt(edges, fixedCount, count, from), indexAt(edges, fixedCount, count, to - 1)};
}

// The scroll offset that shows [start, end) of the scrolling part in a body
// of the given extent, moving as little as possible.
int scrollToShowSpan(int scroll, int start, int end, int bodyExtent)
{
    if (start < scroll) {
        return start;
    }
    if (end > scroll + bodyExtent) {
        return std::min(start, end - bodyExtent);
    }
    return scroll;
}

void fillEdges(std::vector<int> &edges, const std::vector<int> &sizes, int defaultSize, double dpi)
{
    edges.resize(sizes.size() + 1);
    edges[0] = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const int twips = sizes[i] < 0 ? defaultSize : sizes[i];
        edges[i + 1] = edges[i] + std::max(0, twipsToPixels(twips, dpi));
    }
}

} // namespace

GridGeometry::GridGeometry()
    : m_dpiX(DefaultDpi), m_dpiY(DefaultDpi), m_defaultRowHeight(InitialRowHeight),
      m_defaultColWidth(InitialColWidth)
{}

void GridGeometry::setDpi(double dpiX, double dpiY)
{
    if (dpiX == m_dpiX && dpiY == m_dpiY) {
        return;
    }
    m_dpiX = dpiX;
    m_dpiY = dpiY;
    m_positionsStale = true;
}

void GridGeometry::setRowCount(int rows)
{
    const auto count = static_cast<std::size_t>(std::max(0, rows));
    m_rowHeights.resize(count, -1);
    m_mergeRows.resize(count, 0);
    m_positionsStale = true;
}

void GridGeometry::setColCount(int cols)
{
    const auto count = static_cast<std::size_t>(std::max(0, cols));
    m_colWidths.resize(count, -1);
    m_mergeCols.resize(count, 0);
    m_positionsStale = true;
}

void GridGeometry::setFixedRows(int rows)
{
    m_fixedRows = std::max(0, rows);
}

int GridGeometry::fixedRows() const
{
    return std::min(m_fixedRows, rowCount());
}

void GridGeometry::setFixedCols(int cols)
{
    m_fixedCols = std::max(0, cols);
}

int GridGeometry::fixedCols() const
{
    return std::min(m_fixedCols, colCount());
}

void GridGeometry::setRowHeight(int row, int twips)
{
    if (row < 0 || row >= rowCount()) {
        return;
    }
    m_rowHeights[static_cast<std::size_t>(row)] = twips < 0 ? -1 : twips;
    m_positionsStale = true;
}

int GridGeometry::rowHeight(int row) const
{
    if (row < 0 || row >= rowCount()) {
        return 0;
    }
    const int twips = m_rowHeights[static_cast<std::size_t>(row)];
    return twips < 0 ? m_defaultRowHeight : twips;
}

void GridGeometry::setColWidth(int col, int twips)
{
    if (col < 0 || col >= colCount()) {
        return;
    }
    m_colWidths[static_cast<std::size_t>(col)] = twips < 0 ? -1 : twips;
    m_positionsStale = true;
}

int GridGeometry::colWidth(int col) const
{
    if (col < 0 || col >= colCount()) {
        return 0;
    }
    const int twips = m_colWidths[static_cast<std::size_t>(col)];
    return twips < 0 ? m_defaultColWidth : twips;
}

void GridGeometry::setDefaultRowHeight(int twips)
{
    m_defaultRowHeight = std::max(0, twips);
    m_positionsStale = true;
}

void GridGeometry::setDefaultColWidth(int twips)
{
    m_defaultColWidth = std::max(0, twips);
    m_positionsStale = true;
}

int GridGeometry::rowHeightPixels(int row) const
{
    if (row < 0 || row >= rowCount()) {
        return 0;
    }
    return rowTop(row + 1) - rowTop(row);
}

int GridGeometry::colWidthPixels(int col) const
{
    if (col < 0 || col >= colCount()) {
        return 0;
    }
    return colLeft(col + 1) - colLeft(col);
}

int GridGeometry::rowTop(int row) const
{
    updatePositions();
    return m_rowEdges[static_cast<std::size_t>(std::clamp(row, 0, rowCount()))];
}

int GridGeometry::colLeft(int col) const
{
    updatePositions();
    return m_colEdges[static_cast<std::size_t>(std::clamp(col, 0, colCount()))];
}

void GridGeometry::setMergeRow(int row, bool merge)
{
    if (row >= 0 && row < rowCount()) {
        m_mergeRows[static_cast<std::size_t>(row)] = merge ? 1 : 0;
    }
}

bool GridGeometry::mergeRow(int row) const
{
    return row >= 0 && row < rowCount() && m_mergeRows[static_cast<std::size_t>(row)] != 0;
}

void GridGeometry::setMergeCol(int col, bool merge)
{
    if (col >= 0 && col < colCount()) {
        m_mergeCols[static_cast<std::size_t>(col)] = merge ? 1 : 0;
    }
}

bool GridGeometry::mergeCol(int col) const
{
    return col >= 0 && col < colCount() && m_mergeCols[static_cast<std::size_t>(col)] != 0;
}

void GridGeometry::setSameContent(SameContent sameContent)
{
    m_sameContent = std::move(sameContent);
}

bool GridGeometry::mergedSideways(int row, int col) const
{
    if (!mergeRow(row)) {
        return false;
    }
    const int lo = col < fixedCols() ? 0 : fixedCols();
    const int hi = col < fixedCols() ? fixedCols() - 1 : colCount() - 1;
    return (col > lo && m_sameContent(row, col - 1, row, col)) ||
           (col < hi && m_sameContent(row, col, row, col + 1));
}

CellSpan GridGeometry::spanAt(int row, int col) const
{
    CellSpan span{row, col, row, col};
    if (!validCell(row, col) || !m_sameContent) {
        return span;
    }
    if (mergeRow(row)) {
        const int lo = col < fixedCols() ? 0 : fixedCols();
        const int hi = col < fixedCols() ? fixedCols() - 1 : colCount() - 1;
        while (span.left > lo && m_sameContent(row, span.left - 1, row, span.left)) {
            --span.left;
        }
        while (span.right < hi && m_sameContent(row, span.right, row, span.right + 1)) {
            ++span.right;
        }
        if (!span.isSingle()) {
            return span;
        }
    }
    if (mergeCol(col)) {
        const int lo = row < fixedRows() ? 0 : fixedRows();
        const int hi = row < fixedRows() ? fixedRows() - 1 : rowCount() - 1;
        while (span.top > lo && !mergedSideways(span.top - 1, col) &&
               m_sameContent(span.top - 1, col, span.top, col)) {
            --span.top;
        }
        while (span.bottom < hi && !mergedSideways(span.bottom + 1, col) &&
               m_sameContent(span.bottom, col, span.bottom + 1, col)) {
            ++span.bottom;
        }
    }
    return span;
}

void GridGeometry::setViewportSize(QSize size)
{
    m_viewport = QSize(std::max(0, size.width()), std::max(0, size.height()));
}

QRect GridGeometry::bodyRect() const
{
    const int left = fixedWidth();
    const int top = fixedHeight();
    return {left, top, std::max(0, m_viewport.width() - left),
            std::max(0, m_viewport.height() - top)};
}

int GridGeometry::maxScrollX() const
{
    const int scrolling = totalWidth() - fixedWidth();
    return std::max(0, scrolling - bodyRect().width());
}

int GridGeometry::maxScrollY() const
{
    const int scrolling = totalHeight() - fixedHeight();
    return std::max(0, scrolling - bodyRect().height());
}

void GridGeometry::setScroll(QPoint offset)
{
    m_scroll = offset;
}

QPoint GridGeometry::scroll() const
{
    // Kept as asked and clamped on reading: a grid that shrinks while
    // scrolled shows its end instead of empty space.
    return {std::clamp(m_scroll.x(), 0, maxScrollX()), std::clamp(m_scroll.y(), 0, maxScrollY())};
}

QPoint GridGeometry::scrollToShow(int row, int col) const
{
    QPoint offset = scroll();
    const QRect body = bodyRect();
    if (row >= fixedRows() && row < rowCount()) {
        offset.setY(scrollToShowSpan(offset.y(), rowTop(row) - fixedHeight(),
                                     rowTop(row + 1) - fixedHeight(), body.height()));
    }
    if (col >= fixedCols() && col < colCount()) {
        offset.setX(scrollToShowSpan(offset.x(), colLeft(col) - fixedWidth(),
                                     colLeft(col + 1) - fixedWidth(), body.width()));
    }
    return {std::clamp(offset.x(), 0, maxScrollX()), std::clamp(offset.y(), 0, maxScrollY())};
}

GridRange GridGeometry::visibleRows() const
{
    updatePositions();
    return visibleRange(m_rowEdges, fixedRows(), rowCount(), scroll().y(), m_viewport.height());
}

GridRange GridGeometry::visibleCols() const
{
    updatePositions();
    return visibleRange(m_colEdges, fixedCols(), colCount(), scroll().x(), m_viewport.width());
}

int GridGeometry::rowAt(int y) const
{
    updatePositions();
    return hitIndex(m_rowEdges, fixedRows(), rowCount(), y, scroll().y(), m_viewport.height());
}

int GridGeometry::colAt(int x) const
{
    updatePositions();
    return hitIndex(m_colEdges, fixedCols(), colCount(), x, scroll().x(), m_viewport.width());
}

QRect GridGeometry::cellRect(int row, int col) const
{
    if (singleCellRect(row, col).isEmpty()) {
        return {};
    }
    return spanRect(spanAt(row, col));
}

QRect GridGeometry::singleCellRect(int row, int col) const
{
    if (!validCell(row, col)) {
        return {};
    }
    return spanRect({row, col, row, col});
}

bool GridGeometry::validCell(int row, int col) const
{
    return row >= 0 && row < rowCount() && col >= 0 && col < colCount();
}

// One direction of scroll(): painting asks for thousands of cell
// rectangles, and each needs only its own direction's clamp.
int GridGeometry::viewportX(int col) const
{
    return col < fixedCols() ? colLeft(col)
                             : colLeft(col) - std::clamp(m_scroll.x(), 0, maxScrollX());
}

int GridGeometry::viewportY(int row) const
{
    return row < fixedRows() ? rowTop(row)
                             : rowTop(row) - std::clamp(m_scroll.y(), 0, maxScrollY());
}

QRect GridGeometry::spanRect(const CellSpan &span) const
{
    if (!validCell(span.top, span.left) || !validCell(span.bottom, span.right) ||
        span.bottom < span.top || span.right < span.left) {
        return {};
    }
    const int width = colLeft(span.right + 1) - colLeft(span.left);
    const int height = rowTop(span.bottom + 1) - rowTop(span.top);
    if (width <= 0 || height <= 0) {
        return {};
    }
    return {viewportX(span.left), viewportY(span.top), width, height};
}

void GridGeometry::updatePositions() const
{
    if (!m_positionsStale) {
        return;
    }
    fillEdges(m_rowEdges, m_rowHeights, m_defaultRowHeight, m_dpiY);
    fillEdges(m_colEdges, m_colWidths, m_defaultColWidth, m_dpiX);
    m_positionsStale = false;
}

} // namespace penarin
