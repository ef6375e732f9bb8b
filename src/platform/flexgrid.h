#pragma once

#include "platform/gridgeometry.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QLine>
#include <QStaticText>
#include <QString>

#include <vector>

class QKeyEvent;

namespace penarin {

// A grid of text cells painted by itself: rows and columns, fixed header rows
// and columns that stay in place while the rest scrolls, per-cell text,
// alignment and colours, sizes in twips (0 hides a row or column), merged
// header cells, hit testing, cell rectangles for in-place editors, a current
// cell with a focus mark and one tooltip text. Cells live in flat arrays and
// only the cells in view are painted, so a grid of 89 x 265 cells refills
// and repaints within a frame.
//
// Rows and columns count from 0, fixed ones first. Functions given a cell
// outside the grid do nothing and read as empty. Positions are in viewport
// pixels (viewport() coordinates), as the mouse events give them.
class FlexGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // How the current cell is marked while the grid has the focus.
    enum class FocusMark
    {
        None,
        Light, // a dotted frame
        Heavy, // a solid frame two pixels wide
    };

    // Suspends repainting for its lifetime and restores the previous state;
    // guards nest.
    class UpdateGuard
    {
    public:
        explicit UpdateGuard(FlexGrid &grid);
        ~UpdateGuard();
        UpdateGuard(const UpdateGuard &) = delete;
        UpdateGuard &operator=(const UpdateGuard &) = delete;

    private:
        FlexGrid &m_grid;
        bool m_wasSuspended;
    };

    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    // Shape. Changing a count keeps the cells that remain (text and
    // formats); new cells are empty with default formats.
    void setRowCount(int rows);
    [[nodiscard]] int rowCount() const { return m_geometry.rowCount(); }
    void setColCount(int cols);
    [[nodiscard]] int colCount() const { return m_geometry.colCount(); }
    // Applied up to the row and column counts; see GridGeometry.
    void setFixedRows(int rows);
    [[nodiscard]] int fixedRows() const { return m_geometry.fixedRows(); }
    void setFixedCols(int cols);
    [[nodiscard]] int fixedCols() const { return m_geometry.fixedCols(); }

    // Sizes in twips; 0 hides, a negative size restores the default. The
    // default row height follows the grid's font.
    void setRowHeight(int row, int twips);
    [[nodiscard]] int rowHeight(int row) const { return m_geometry.rowHeight(row); }
    void setColWidth(int col, int twips);
    [[nodiscard]] int colWidth(int col) const { return m_geometry.colWidth(col); }
    void setDefaultColWidth(int twips);
    // Widens a column to its widest text from row fromRow down (margins
    // included) in the grid's font, never below minimumTwips: stored widths
    // were made for narrower fonts than a desktop may have.
    void fitColWidth(int col, int minimumTwips, int fromRow = 0);
    // The width of a text in the grid's font, in pixels, as fitColWidth
    // measures it.
    [[nodiscard]] int textWidth(const QString &text);
    [[nodiscard]] int defaultRowHeight() const { return m_geometry.defaultRowHeight(); }

    // Merging of equal texts: side by side in a row with the flag, one above
    // the other in a column with the flag. A merged block shows the text and
    // formats of its top-left cell. Two blank cells of a flagged fixed
    // column make one blank block: that is how a 2 x 1 top-left header block
    // is built.
    void setMergeRow(int row, bool merge);
    [[nodiscard]] bool mergeRow(int row) const { return m_geometry.mergeRow(row); }
    void setMergeCol(int col, bool merge);
    [[nodiscard]] bool mergeCol(int col) const { return m_geometry.mergeCol(col); }

    // Empties every cell and resets its formats; counts, sizes, merge flags
    // and the grid's colours stay.
    void clear();

    // Cells. An invalid colour means the grid's default for the cell (the
    // fixed colours for fixed cells). Alignment 0 means the customary one:
    // numbers right, other text left, both centred vertically.
    void setText(int row, int col, const QString &text);
    // The same for text held elsewhere: a string is made only when the cell
    // changes, so refilling a grid with mostly the same texts stays cheap.
    void setText(int row, int col, QStringView text);
    // Text and formats of one cell at once, for filling whole grids.
    void setCell(int row, int col, QStringView text, Qt::Alignment alignment,
                 const QColor &background, const QColor &foreground);
    [[nodiscard]] QString text(int row, int col) const;
    void setCellAlignment(int row, int col, Qt::Alignment alignment);
    [[nodiscard]] Qt::Alignment cellAlignment(int row, int col) const;
    void setCellBackground(int row, int col, const QColor &color);
    [[nodiscard]] QColor cellBackground(int row, int col) const;
    void setCellForeground(int row, int col, const QColor &color);
    [[nodiscard]] QColor cellForeground(int row, int col) const;
    // The colours the cell is painted with, defaults resolved.
    [[nodiscard]] QColor shownBackground(int row, int col) const;
    [[nodiscard]] QColor shownForeground(int row, int col) const;

    // Grid-wide defaults; an invalid colour restores the palette's.
    void setBackground(const QColor &color);
    [[nodiscard]] QColor background() const;
    void setForeground(const QColor &color);
    [[nodiscard]] QColor foreground() const;
    void setFixedBackground(const QColor &color);
    [[nodiscard]] QColor fixedBackground() const;
    void setFixedForeground(const QColor &color);
    [[nodiscard]] QColor fixedForeground() const;
    void setGridColor(const QColor &color);
    [[nodiscard]] QColor gridColor() const;
    // The area of the viewport beyond the last row and column.
    void setEmptyAreaBackground(const QColor &color);
    [[nodiscard]] QColor emptyAreaBackground() const;

    // Geometry, in viewport pixels.
    [[nodiscard]] const GridGeometry &gridGeometry() const { return m_geometry; }
    [[nodiscard]] GridCell cellAt(QPoint pos) const { return m_geometry.cellAt(pos); }
    [[nodiscard]] int rowAt(int y) const { return m_geometry.rowAt(y); }
    [[nodiscard]] int colAt(int x) const { return m_geometry.colAt(x); }
    // The whole merged block, unclipped; empty for a hidden cell. Map it
    // with viewport()->mapTo() to place an editor in another widget.
    [[nodiscard]] QRect cellRect(int row, int col) const { return m_geometry.cellRect(row, col); }
    // The cell under the pointer at the last mouse event; -1 when none.
    [[nodiscard]] int mouseRow() const { return m_mouseCell.row; }
    [[nodiscard]] int mouseCol() const { return m_mouseCell.col; }
    // Scrolls the least that brings a scrolling cell fully into view.
    void ensureCellVisible(int row, int col);

    // The current cell: -1, -1 until one is set or clicked. A left-button
    // press on a scrolling cell and the arrow keys move it too.
    void setCurrentCell(int row, int col);
    [[nodiscard]] int currentRow() const { return m_current.row; }
    [[nodiscard]] int currentCol() const { return m_current.col; }
    void setFocusMark(FocusMark mark);
    [[nodiscard]] FocusMark focusMark() const { return m_focusMark; }

    // Shown while the pointer rests over the grid; empty shows nothing. A
    // tooltip already showing takes the new text at once, so a caller may
    // change the text from mouseMovedOverCell.
    void setToolTipText(const QString &text);
    [[nodiscard]] QString toolTipText() const { return m_toolTipText; }

    // While suspended, changes are only recorded; resuming repaints once.
    // Fill a grid inside an UpdateGuard instead of hiding it, which would
    // make the window's layout move.
    void setUpdatesSuspended(bool suspended);
    [[nodiscard]] bool updatesSuspended() const { return m_updatesSuspended; }

signals:
    // Mouse signals carry the cell under the pointer, with -1 for a row or
    // column when the pointer is beyond the cells. As with the grid control
    // the program was designed for, the second press of a double click
    // gives cellDoubleClicked instead of a second cellPressed.
    void cellPressed(int row, int col, Qt::MouseButton button);
    void cellReleased(int row, int col, Qt::MouseButton button);
    void cellDoubleClicked(int row, int col, Qt::MouseButton button);
    void mouseMovedOverCell(int row, int col, QPoint pos);
    void mouseLeft();
    // Every key press, before the grid moves the current cell for arrow keys.
    void keyPressed(QKeyEvent *event);
    void currentCellChanged(int row, int col, int previousRow, int previousCol);
    void scrolled();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Pane
    {
        QRect area;
        GridRange rows;
        GridRange cols;
        bool fixed;
    };

    [[nodiscard]] bool validCell(int row, int col) const;
    [[nodiscard]] std::size_t index(int row, int col) const;
    // Moves the cells to a new shape; the geometry still has the old one.
    void resizeCells(int rows, int cols);
    void dropLostCells();
    void layoutChanged();
    void contentChanged();
    void updateScrollBars();
    void updateMetrics();
    void moveCurrentCell(int rowStep, int colStep);
    [[nodiscard]] Qt::Alignment shownAlignment(int row, int col) const;
    struct ShownCell
    {
        QRect rect;
        int row;
        int col;
    };

    void paintPane(QPainter &painter, const QRect &exposed, const Pane &pane) const;
    [[nodiscard]] static std::vector<QLine> gridLines(const std::vector<ShownCell> &cells);
    void paintText(QPainter &painter, const QRect &cell, const QString &text,
                   Qt::Alignment alignment) const;
    [[nodiscard]] const QStaticText &shapedText(const QString &text, const QFont &font) const;
    void paintFocusMark(QPainter &painter) const;

    GridGeometry m_geometry;

    // One entry per cell, row after row.
    std::vector<QString> m_texts;
    std::vector<QColor> m_backgrounds;
    std::vector<QColor> m_foregrounds;
    std::vector<Qt::Alignment> m_alignments;

    QColor m_background;
    QColor m_foreground;
    QColor m_fixedBackground;
    QColor m_fixedForeground;
    QColor m_gridColor;
    QColor m_emptyAreaBackground;

    GridCell m_current;
    GridCell m_mouseCell;
    FocusMark m_focusMark = FocusMark::Light;
    QString m_toolTipText;
    bool m_updatesSuspended = false;
    bool m_layoutPending = false;

    mutable QHash<QString, QStaticText> m_shapedTexts;
    mutable QFont m_shapedFont;
    // Widths in the grid's font; emptied when the font or screen changes.
    QHash<QString, int> m_textWidths;
};

} // namespace penarin
