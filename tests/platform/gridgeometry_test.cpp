#include "platform/gridgeometry.h"

#include <QObject>
#include <QTest>

#include <map>
#include <utility>

using penarin::CellSpan;
using penarin::GridCell;
using penarin::GridGeometry;
using penarin::GridRange;

namespace {

// At 96 DPI: rows of 20 px (2 fixed), a fixed column of 80 px and columns of
// 40 px, in a viewport of 300 x 150. Content is 520 x 200 px, the body
// (80, 40, 220, 110), so the scroll range is 0..220 across and 0..50 down.
GridGeometry makeGrid()
{
    GridGeometry grid;
    grid.setDpi(96, 96);
    grid.setRowCount(10);
    grid.setColCount(12);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    grid.setDefaultRowHeight(300);
    grid.setDefaultColWidth(600);
    grid.setColWidth(0, 1200);
    grid.setViewportSize({300, 150});
    return grid;
}

// Texts for merging, keyed by cell; missing cells are empty.
using Texts = std::map<std::pair<int, int>, QString>;

void useTexts(GridGeometry &grid, const Texts &texts)
{
    grid.setSameContent([texts](int row, int col, int otherRow, int otherCol) {
        auto textOf = [&texts](int r, int c) {
            const auto it = texts.find({r, c});
            return it == texts.end() ? QString() : it->second;
        };
        return textOf(row, col) == textOf(otherRow, otherCol);
    });
}

} // namespace

class GridGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void sizesInTwipsBecomePixels();
    void fixedCountsFollowTheGridSize();
    void hitTestingKeepsFixedCellsInPlace();
    void hitTestingOutsideTheCells();
    void hiddenRowsAndColumnsAreNeverHit();
    void cellRectsFollowTheScroll();
    void visibleRangeFollowsTheScroll();
    void scrollIsClampedToTheContent();
    void scrollToShowMovesTheLeast();
    void headerMergesOfTheHeadToHeadGrid();
    void mergesStayInsideTheirRowOrColumn();
};

void GridGeometryTest::sizesInTwipsBecomePixels()
{
    GridGeometry grid = makeGrid();
    QCOMPARE(grid.rowHeight(3), 300);
    QCOMPARE(grid.rowHeightPixels(3), 20);
    QCOMPARE(grid.colWidth(0), 1200);
    QCOMPARE(grid.colWidthPixels(0), 80);
    QCOMPARE(grid.colLeft(3), 80 + 2 * 40);
    QCOMPARE(grid.totalWidth(), 520);
    QCOMPARE(grid.totalHeight(), 200);
    QCOMPARE(grid.fixedWidth(), 80);
    QCOMPARE(grid.fixedHeight(), 40);

    // Each size is rounded on its own: 100 twips are 6.67 px.
    grid.setColWidth(1, 100);
    QCOMPARE(grid.colWidthPixels(1), 7);
    // A negative size goes back to the default, which may change later.
    grid.setColWidth(1, -5);
    QCOMPARE(grid.colWidth(1), 600);
    grid.setDefaultColWidth(450);
    QCOMPARE(grid.colWidthPixels(1), 30);
    QCOMPARE(grid.colWidthPixels(0), 80);

    // Rows added later take the default; existing ones keep their size.
    grid.setRowHeight(9, 600);
    grid.setRowCount(12);
    QCOMPARE(grid.rowHeight(9), 600);
    QCOMPARE(grid.rowHeight(11), 300);

    grid.setDpi(144, 144);
    QCOMPARE(grid.rowHeightPixels(11), 30);
    QCOMPARE(grid.colWidthPixels(0), 120);

    // Out of range: ignored, and read as nothing.
    grid.setColWidth(40, 900);
    QCOMPARE(grid.colWidth(40), 0);
    QCOMPARE(grid.colWidthPixels(-1), 0);
}

void GridGeometryTest::fixedCountsFollowTheGridSize()
{
    GridGeometry grid;
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    QCOMPARE(grid.fixedRows(), 0);
    grid.setRowCount(1);
    grid.setColCount(3);
    QCOMPARE(grid.fixedRows(), 1);
    QCOMPARE(grid.fixedCols(), 1);
    grid.setRowCount(5);
    QCOMPARE(grid.fixedRows(), 2);

    // A grid of header rows only has no scrolling part and nothing to scroll.
    grid.setRowCount(2);
    grid.setViewportSize({100, 20});
    QVERIFY(grid.visibleRows().isEmpty());
    QCOMPARE(grid.maxScrollY(), 0);
}

void GridGeometryTest::hitTestingKeepsFixedCellsInPlace()
{
    GridGeometry grid = makeGrid();
    QCOMPARE(grid.cellAt({85, 45}), (GridCell{2, 1}));

    grid.setScroll({50, 30});
    // Corner: never moves.
    QCOMPARE(grid.cellAt({10, 10}), (GridCell{0, 0}));
    // Fixed row over scrolled columns: the row stays, the column scrolls.
    QCOMPARE(grid.cellAt({100, 10}), (GridCell{0, 2}));
    // Fixed column beside scrolled rows.
    QCOMPARE(grid.cellAt({10, 60}), (GridCell{4, 0}));
    // Body: both scroll; rows 2 and column 1 are hidden under the headers.
    QCOMPARE(grid.cellAt({100, 60}), (GridCell{4, 2}));
    QCOMPARE(grid.cellAt({80, 40}), (GridCell{3, 2}));
    // The last pixel before the body still belongs to the headers.
    QCOMPARE(grid.cellAt({79, 39}), (GridCell{1, 0}));
}

void GridGeometryTest::hitTestingOutsideTheCells()
{
    GridGeometry grid = makeGrid();
    QCOMPARE(grid.cellAt({-1, 10}), (GridCell{0, -1}));
    QCOMPARE(grid.cellAt({300, 10}), (GridCell{0, -1}));
    QCOMPARE(grid.cellAt({10, 150}), (GridCell{-1, 0}));

    // A viewport larger than the grid: beyond the last row or column is
    // nothing, but the other direction is still reported.
    grid.setViewportSize({600, 300});
    QCOMPARE(grid.cellAt({519, 199}), (GridCell{9, 11}));
    QCOMPARE(grid.cellAt({520, 10}), (GridCell{0, -1}));
    QCOMPARE(grid.cellAt({100, 200}), (GridCell{-1, 1}));
    QVERIFY(!grid.cellAt({550, 250}).isValid());

    GridGeometry empty;
    empty.setViewportSize({100, 100});
    QCOMPARE(empty.cellAt({5, 5}), (GridCell{-1, -1}));
    QVERIFY(empty.visibleRows().isEmpty());
    QVERIFY(empty.cellRect(0, 0).isEmpty());
}

void GridGeometryTest::hiddenRowsAndColumnsAreNeverHit()
{
    GridGeometry grid = makeGrid();
    grid.setColWidth(3, 0);
    grid.setRowHeight(5, 0);
    grid.setRowHeight(0, 0);

    for (int x = 0; x < 300; ++x) {
        QVERIFY2(grid.colAt(x) != 3, qPrintable(QString::number(x)));
    }
    for (int y = 0; y < 150; ++y) {
        QVERIFY2(grid.rowAt(y) != 5 && grid.rowAt(y) != 0, qPrintable(QString::number(y)));
    }
    // The neighbours close up: column 4 starts where column 3 would.
    QCOMPARE(grid.colAt(160), 4);
    QCOMPARE(grid.rowAt(0), 1);
    QCOMPARE(grid.fixedHeight(), 20);
    QVERIFY(grid.cellRect(4, 3).isEmpty());
    QVERIFY(grid.cellRect(5, 4).isEmpty());
    QVERIFY(grid.cellRect(0, 0).isEmpty());
    QCOMPARE(grid.cellRect(6, 4), QRect(160, 20 + 3 * 20, 40, 20));

    // Scrolled so that the top edge of the body falls on the hidden row
    // (rows 4, 5 and 6 start at content 80, 100 and 100).
    grid.setRowHeight(0, -1);
    grid.setViewportSize({300, 60});
    grid.setScroll({0, 60});
    QCOMPARE(grid.visibleRows().first, 6);
    QCOMPARE(grid.rowAt(40), 6);
}

void GridGeometryTest::cellRectsFollowTheScroll()
{
    GridGeometry grid = makeGrid();
    QCOMPARE(grid.cellRect(4, 2), QRect(120, 80, 40, 20));
    grid.setScroll({50, 30});
    // Unclipped: part of this cell lies under the fixed column.
    QCOMPARE(grid.cellRect(4, 2), QRect(70, 50, 40, 20));
    QCOMPARE(grid.cellRect(0, 2), QRect(70, 0, 40, 20));
    QCOMPARE(grid.cellRect(4, 0), QRect(0, 50, 80, 20));
    QCOMPARE(grid.cellRect(1, 0), QRect(0, 20, 80, 20));
    // The centre of a cell's rectangle hits the cell, wherever it scrolled.
    for (const GridCell cell : {GridCell{5, 4}, GridCell{0, 6}, GridCell{7, 0}}) {
        QCOMPARE(grid.cellAt(grid.cellRect(cell.row, cell.col).center()), cell);
    }
    QVERIFY(grid.cellRect(10, 0).isEmpty());
    QVERIFY(grid.cellRect(0, -1).isEmpty());
}

void GridGeometryTest::visibleRangeFollowsTheScroll()
{
    GridGeometry grid = makeGrid();
    QCOMPARE(grid.visibleRows(), (GridRange{2, 7}));
    QCOMPARE(grid.visibleCols(), (GridRange{1, 6}));
    QCOMPARE(grid.bodyRect(), QRect(80, 40, 220, 110));

    grid.setScroll({50, 30});
    QCOMPARE(grid.visibleRows(), (GridRange{3, 8}));
    QCOMPARE(grid.visibleCols(), (GridRange{2, 7}));

    grid.setScroll({grid.maxScrollX(), grid.maxScrollY()});
    QCOMPARE(grid.visibleRows().last, 9);
    QCOMPARE(grid.visibleCols().last, 11);

    // Nothing of the body shows when the headers fill the viewport.
    grid.setViewportSize({70, 30});
    QVERIFY(grid.visibleRows().isEmpty());
    QVERIFY(grid.visibleCols().isEmpty());
    QVERIFY(grid.bodyRect().isEmpty());
}

void GridGeometryTest::scrollIsClampedToTheContent()
{
    GridGeometry grid = makeGrid();
    QCOMPARE(grid.maxScrollX(), 220);
    QCOMPARE(grid.maxScrollY(), 50);
    grid.setScroll({1000, -5});
    QCOMPARE(grid.scroll(), QPoint(220, 0));

    // A grid that shrinks while scrolled shows its end, not empty space.
    grid.setScroll({220, 50});
    grid.setColCount(8);
    QCOMPARE(grid.maxScrollX(), 60);
    QCOMPARE(grid.scroll().x(), 60);
    QCOMPARE(grid.cellRect(0, 7).right(), 299);
}

void GridGeometryTest::scrollToShowMovesTheLeast()
{
    GridGeometry grid = makeGrid();
    // Row 8 (content 160..180) below the body bottom at 150: scroll by 30.
    QCOMPARE(grid.scrollToShow(8, 1), QPoint(0, 30));
    // Column 9 (content 400..440) right of 300: scroll by 140.
    QCOMPARE(grid.scrollToShow(2, 9), QPoint(140, 0));

    grid.setScroll({140, 50});
    // Back up: the cell comes to the top left of the body.
    QCOMPARE(grid.scrollToShow(3, 2), QPoint(40, 20));
    // Fixed rows and columns leave their direction alone.
    QCOMPARE(grid.scrollToShow(0, 0), QPoint(140, 50));
    QCOMPARE(grid.scrollToShow(1, 8), QPoint(140, 50));
    // A cell already in view changes nothing.
    QCOMPARE(grid.scrollToShow(5, 7), QPoint(140, 50));
}

void GridGeometryTest::headerMergesOfTheHeadToHeadGrid()
{
    // Two header rows over groups of three columns (wins, losses, draws) per
    // opponent, team names in the fixed column, a blank 2 x 1 top-left block.
    GridGeometry grid = makeGrid();
    grid.setRowCount(5);
    grid.setColCount(10);
    const QStringList teams{"Lions", "Hawks", "Eagles"};
    Texts texts;
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < 3; ++k) {
            texts[{0, 3 * j + k + 1}] = teams[j];
            texts[{1, 3 * j + k + 1}] = QStringList{"W", "L", "D"}[k];
        }
        texts[{j + 2, 0}] = teams[j];
    }
    useTexts(grid, texts);

    // Without merge flags nothing is merged.
    QVERIFY(grid.spanAt(0, 2).isSingle());

    grid.setMergeRow(0, true);
    grid.setMergeCol(0, true);
    QCOMPARE(grid.spanAt(0, 1), (CellSpan{0, 1, 0, 3}));
    QCOMPARE(grid.spanAt(0, 3), (CellSpan{0, 1, 0, 3}));
    QCOMPARE(grid.spanAt(0, 4), (CellSpan{0, 4, 0, 6}));
    QCOMPARE(grid.cellRect(0, 5), QRect(80 + 3 * 40, 0, 120, 20));
    QCOMPARE(grid.cellRect(1, 5), QRect(80 + 4 * 40, 20, 40, 20));
    QCOMPARE(grid.spanAt(0, 0), (CellSpan{0, 0, 1, 0}));
    QCOMPARE(grid.cellRect(1, 0), QRect(0, 0, 80, 40));
    QVERIFY(grid.spanAt(2, 0).isSingle());

    // Hit testing still names the cell under the point, not the block.
    QCOMPARE(grid.cellAt({210, 5}), (GridCell{0, 4}));

    // Scrolled sideways, the block moves with its columns.
    grid.setScroll({40, 0});
    QCOMPARE(grid.cellRect(0, 4), QRect(160, 0, 120, 20));

    // A hidden column inside a block is not a cell to place anything on.
    grid.setColWidth(5, 0);
    QVERIFY(grid.cellRect(0, 5).isEmpty());
    QCOMPARE(grid.cellRect(0, 4).width(), 80);
}

void GridGeometryTest::mergesStayInsideTheirRowOrColumn()
{
    GridGeometry grid = makeGrid();
    grid.setRowCount(5);
    grid.setColCount(5);
    // Every cell blank: only the flags and the fixed boundary limit merges.
    useTexts(grid, {});
    grid.setMergeRow(0, true);
    grid.setMergeCol(0, true);

    // The fixed column never joins the scrolling columns, and the fixed rows
    // never join the scrolling rows.
    QCOMPARE(grid.spanAt(0, 2), (CellSpan{0, 1, 0, 4}));
    QCOMPARE(grid.spanAt(0, 0), (CellSpan{0, 0, 1, 0}));
    QCOMPARE(grid.spanAt(3, 0), (CellSpan{2, 0, 4, 0}));
    // A column-merged block does not swallow a cell merged sideways.
    grid.setMergeCol(2, true);
    QCOMPARE(grid.spanAt(1, 2), (CellSpan{1, 2, 1, 2}));
    QCOMPARE(grid.spanAt(3, 2), (CellSpan{2, 2, 4, 2}));
    // Body rows without the flag stay single cells sideways.
    QCOMPARE(grid.spanAt(3, 3), (CellSpan{3, 3, 3, 3}));

    // Different neighbouring texts end a block.
    Texts texts;
    texts[{0, 3}] = "X";
    useTexts(grid, texts);
    QCOMPARE(grid.spanAt(0, 1), (CellSpan{0, 1, 0, 2}));
    QCOMPARE(grid.spanAt(0, 3), (CellSpan{0, 3, 0, 3}));
    QCOMPARE(grid.spanAt(0, 4), (CellSpan{0, 4, 0, 4}));
}

QTEST_APPLESS_MAIN(GridGeometryTest)

#include "gridgeometry_test.moc"
