#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <vector>

namespace penarin {

// A cell position; -1 in either part means "not on a cell" in that direction.
struct GridCell
{
    int row = -1;
    int col = -1;

    [[nodiscard]] bool isValid() const { return row >= 0 && col >= 0; }
    friend bool operator==(const GridCell &, const GridCell &) = default;
};

// An inclusive block of cells that is drawn as one (a merge), or a single cell.
struct CellSpan
{
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    [[nodiscard]] bool isSingle() const { return top == bottom && left == right; }
    [[nodiscard]] bool contains(int row, int col) const
    {
        return row >= top && row <= bottom && col >= left && col <= right;
    }
    friend bool operator==(const CellSpan &, const CellSpan &) = default;
};

// An inclusive range of rows or columns; empty when last < first.
struct GridRange
{
    int first = 0;
    int last = -1;

    [[nodiscard]] bool isEmpty() const { return last < first; }
    [[nodiscard]] int count() const { return isEmpty() ? 0 : last - first + 1; }
    friend bool operator==(const GridRange &, const GridRange &) = default;
};

// Where the cells of a grid are: sizes in twips and their pixel positions,
// the fixed rows and columns that stay in place while the rest scrolls, the
// merged blocks, the scroll offset and, from all that, hit testing, cell
// rectangles and the range of cells in view. It knows nothing of widgets, so
// every rule of the grid's layout can be tested on its own.
//
// Coordinates: "content" pixels place every row and column one after the
// other from 0 (fixed ones first, so the scrolling part starts at
// fixedHeight()/fixedWidth()). "Viewport" pixels are what the user sees:
// fixed cells at their content position, scrolling cells moved by the
// scroll offset and visible only below and right of the fixed area.
class GridGeometry
{
public:
    // Decides whether two cells hold the same content, for merging. Without
    // it nothing is merged.
    using SameContent = std::function<bool(int row, int col, int otherRow, int otherCol)>;

    GridGeometry();

    void setDpi(double dpiX, double dpiY);
    [[nodiscard]] double dpiX() const { return m_dpiX; }
    [[nodiscard]] double dpiY() const { return m_dpiY; }

    // Counts below 0 count as 0. Rows and columns that are added get the
    // default size and no merge flag; the others keep theirs.
    void setRowCount(int rows);
    [[nodiscard]] int rowCount() const { return static_cast<int>(m_rowHeights.size()); }
    void setColCount(int cols);
    [[nodiscard]] int colCount() const { return static_cast<int>(m_colWidths.size()); }

    // The fixed counts are kept as asked and applied up to the row and
    // column counts, so the order in which a caller sets counts and fixed
    // counts does not matter, and a grid with only its header rows is valid.
    void setFixedRows(int rows);
    [[nodiscard]] int fixedRows() const;
    void setFixedCols(int cols);
    [[nodiscard]] int fixedCols() const;

    // Sizes in twips; 0 hides the row or column, a negative size means "the
    // default". Reading gives the size in effect. Out-of-range indexes are
    // ignored and read as 0.
    void setRowHeight(int row, int twips);
    [[nodiscard]] int rowHeight(int row) const;
    void setColWidth(int col, int twips);
    [[nodiscard]] int colWidth(int col) const;
    void setDefaultRowHeight(int twips);
    [[nodiscard]] int defaultRowHeight() const { return m_defaultRowHeight; }
    void setDefaultColWidth(int twips);
    [[nodiscard]] int defaultColWidth() const { return m_defaultColWidth; }

    [[nodiscard]] int rowHeightPixels(int row) const;
    [[nodiscard]] int colWidthPixels(int col) const;
    // Content position of a row's top or a column's left edge; the count
    // itself gives the end of the last one.
    [[nodiscard]] int rowTop(int row) const;
    [[nodiscard]] int colLeft(int col) const;
    [[nodiscard]] int totalHeight() const { return rowTop(rowCount()); }
    [[nodiscard]] int totalWidth() const { return colLeft(colCount()); }
    [[nodiscard]] int fixedHeight() const { return rowTop(fixedRows()); }
    [[nodiscard]] int fixedWidth() const { return colLeft(fixedCols()); }

    // Merging: in a row with the merge flag, side-by-side cells of equal
    // content are one block; in a column with the flag, cells of equal
    // content one above the other are one block. A block never reaches from
    // the fixed area into the scrolling one, so fixed headers never scroll
    // apart. A cell already merged sideways takes no part in a merge
    // upwards or downwards, so every block is a single row or column strip.
    void setMergeRow(int row, bool merge);
    [[nodiscard]] bool mergeRow(int row) const;
    void setMergeCol(int col, bool merge);
    [[nodiscard]] bool mergeCol(int col) const;
    void setSameContent(SameContent sameContent);
    // The block the cell belongs to; the cell alone when it is not merged or
    // out of range.
    [[nodiscard]] CellSpan spanAt(int row, int col) const;

    void setViewportSize(QSize size);
    [[nodiscard]] QSize viewportSize() const { return m_viewport; }
    // The part of the viewport where scrolling cells show.
    [[nodiscard]] QRect bodyRect() const;
    [[nodiscard]] int maxScrollX() const;
    [[nodiscard]] int maxScrollY() const;
    // The scroll offset of the scrolling part, in pixels; read back clamped
    // to 0..max for the current sizes.
    void setScroll(QPoint offset);
    [[nodiscard]] QPoint scroll() const;
    // The offset that brings a scrolling cell fully into view (or its top
    // left corner, when it is larger than the body), changing as little as
    // possible; fixed rows and columns leave their direction as it is.
    [[nodiscard]] QPoint scrollToShow(int row, int col) const;

    // Scrolling rows and columns that have a pixel in the body; empty when
    // none do.
    [[nodiscard]] GridRange visibleRows() const;
    [[nodiscard]] GridRange visibleCols() const;

    // Hit testing in viewport pixels: the row and the column under the point
    // independently, -1 outside the viewport or beyond the last row or
    // column. A hidden row or column is never hit.
    [[nodiscard]] int rowAt(int y) const;
    [[nodiscard]] int colAt(int x) const;
    [[nodiscard]] GridCell cellAt(QPoint point) const
    {
        return {rowAt(point.y()), colAt(point.x())};
    }

    // The cell's rectangle in viewport pixels, covering its whole merged
    // block; not clipped to the viewport (a cell scrolled away lies outside
    // it). Empty for a hidden or out-of-range cell.
    [[nodiscard]] QRect cellRect(int row, int col) const;
    // The same for the one cell, whatever it is merged with.
    [[nodiscard]] QRect singleCellRect(int row, int col) const;
    // The rectangle of a block of cells; empty when nothing of it shows.
    [[nodiscard]] QRect spanRect(const CellSpan &span) const;

private:
    [[nodiscard]] bool validCell(int row, int col) const;
    [[nodiscard]] int viewportX(int col) const;
    [[nodiscard]] int viewportY(int row) const;
    [[nodiscard]] bool mergedSideways(int row, int col) const;
    void updatePositions() const;

    double m_dpiX;
    double m_dpiY;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    int m_defaultRowHeight;
    int m_defaultColWidth;
    std::vector<int> m_rowHeights; // twips, negative = default
    std::vector<int> m_colWidths;
    std::vector<char> m_mergeRows;
    std::vector<char> m_mergeCols;
    SameContent m_sameContent;
    QSize m_viewport{0, 0};
    QPoint m_scroll{0, 0};

    // Pixel edges, recomputed on the first read after a size change so that
    // filling a grid column by column costs one pass, not one per column.
    mutable std::vector<int> m_rowEdges;
    mutable std::vector<int> m_colEdges;
    mutable bool m_positionsStale = true;
};

} // namespace penarin
