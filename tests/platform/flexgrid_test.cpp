#include "platform/flexgrid.h"

#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

using penarin::FlexGrid;
using penarin::GridCell;

namespace {

// Rows of 300 twips and columns of 600 twips (20 and 40 px at 96 DPI).
void shape(FlexGrid &grid, int rows, int cols, int fixedRows, int fixedCols)
{
    grid.setRowCount(rows);
    grid.setColCount(cols);
    grid.setFixedRows(fixedRows);
    grid.setFixedCols(fixedCols);
    grid.setDefaultColWidth(600);
    for (int row = 0; row < rows; ++row) {
        grid.setRowHeight(row, 300);
    }
}

void showGrid(FlexGrid &grid, QSize size = {400, 200})
{
    grid.resize(size);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
}

QColor pixelAt(FlexGrid &grid, QPoint pos)
{
    const QImage image = grid.viewport()->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(QPoint(qRound(pos.x() * ratio), qRound(pos.y() * ratio)));
}

// The cell in viewport coordinates where a click lands.
QPoint centreOf(const FlexGrid &grid, int row, int col)
{
    return grid.cellRect(row, col).center();
}

// A pointer move without a button held, as the window system delivers it.
void movePointer(FlexGrid &grid, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, grid.viewport()->mapToGlobal(pos), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
}

} // namespace

class FlexGridTest : public QObject
{
    Q_OBJECT

private slots:
    void cellsReadBackWhatWasSet();
    void defaultColoursResolvePerArea();
    void reshapingKeepsTheCellsThatRemain();
    void clearEmptiesCellsButKeepsTheShape();
    void clicksReportTheCellAndButton();
    void doubleClickIsNotASecondPress();
    void mouseMovesReportTheCellUnderThePointer();
    void currentCellChangesAndSignals();
    void arrowKeysMoveTheCurrentCellOverHiddenColumns();
    void keyPressesAreSignalled();
    void toolTipShowsTheCurrentText();
    void scrollingSignalsAndMovesTheBody();
    void fillingWhileSuspendedOrHiddenEndsUpToDate();
    void defaultRowHeightFollowsTheFont();
    void largeGridPaintsCellColours();
    void mergedHeaderPaintsAsOneBlock();
    void textTooWideForItsCellKeepsItsBeginning();
    void fittedWidthsFollowTextAndFont();
    void gridLinesFrameEveryCellButNotInsideABlock();
};

void FlexGridTest::cellsReadBackWhatWasSet()
{
    FlexGrid grid;
    shape(grid, 4, 5, 1, 1);
    grid.setText(2, 3, "12");
    grid.setCellBackground(2, 3, QColor(255, 255, 192));
    grid.setCellForeground(2, 3, QColor(0, 0, 255));
    grid.setCellAlignment(2, 3, Qt::AlignCenter);
    QCOMPARE(grid.text(2, 3), QString("12"));
    QCOMPARE(grid.cellBackground(2, 3), QColor(255, 255, 192));
    QCOMPARE(grid.cellForeground(2, 3), QColor(0, 0, 255));
    QCOMPARE(grid.cellAlignment(2, 3), Qt::Alignment(Qt::AlignCenter));
    // Neighbours are untouched.
    QCOMPARE(grid.text(2, 4), QString());
    QVERIFY(!grid.cellBackground(3, 3).isValid());

    grid.setColWidth(1, 950);
    grid.setRowHeight(2, 0);
    QCOMPARE(grid.colWidth(1), 950);
    QCOMPARE(grid.rowHeight(2), 0);

    // Cells outside the grid are ignored, never a crash.
    grid.setText(4, 0, "x");
    grid.setText(0, -1, "x");
    grid.setCellBackground(9, 9, Qt::red);
    QCOMPARE(grid.text(4, 0), QString());
    QVERIFY(!grid.cellBackground(9, 9).isValid());
    QVERIFY(!grid.shownBackground(-1, 0).isValid());
}

void FlexGridTest::defaultColoursResolvePerArea()
{
    FlexGrid grid;
    shape(grid, 3, 3, 1, 1);
    const QColor buttonFace = grid.palette().color(QPalette::Button);
    QCOMPARE(grid.shownBackground(0, 2), buttonFace);
    QCOMPARE(grid.shownBackground(2, 0), buttonFace);
    QCOMPARE(grid.shownBackground(2, 2), grid.palette().color(QPalette::Base));

    const QColor simulation(180, 204, 248);
    grid.setFixedBackground(simulation);
    grid.setCellBackground(0, 1, QColor(255, 255, 192));
    QCOMPARE(grid.shownBackground(0, 2), simulation);
    QCOMPARE(grid.shownBackground(1, 0), simulation);
    QCOMPARE(grid.shownBackground(0, 1), QColor(255, 255, 192));
    QCOMPARE(grid.shownBackground(1, 1), grid.palette().color(QPalette::Base));

    // An invalid colour hands the cell back to the grid's default.
    grid.setCellBackground(0, 1, QColor());
    QCOMPARE(grid.shownBackground(0, 1), simulation);
    grid.setFixedBackground(QColor());
    QCOMPARE(grid.shownBackground(0, 1), buttonFace);

    grid.setBackground(buttonFace);
    grid.setFixedForeground(Qt::darkGray);
    QCOMPARE(grid.shownBackground(2, 2), buttonFace);
    QCOMPARE(grid.shownForeground(0, 2), QColor(Qt::darkGray));
    QCOMPARE(grid.shownForeground(2, 2), grid.palette().color(QPalette::Text));
}

void FlexGridTest::reshapingKeepsTheCellsThatRemain()
{
    FlexGrid grid;
    shape(grid, 3, 4, 1, 1);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            grid.setText(row, col, QString("%1,%2").arg(row).arg(col));
        }
    }
    grid.setCellBackground(2, 3, Qt::red);

    grid.setColCount(6);
    QCOMPARE(grid.text(2, 3), QString("2,3"));
    QCOMPARE(grid.text(1, 0), QString("1,0"));
    QCOMPARE(grid.cellBackground(2, 3), QColor(Qt::red));
    QCOMPARE(grid.text(2, 4), QString());
    QCOMPARE(grid.text(0, 5), QString());

    grid.setColCount(2);
    QCOMPARE(grid.text(2, 1), QString("2,1"));
    QCOMPARE(grid.text(2, 3), QString());

    grid.setRowCount(1);
    grid.setRowCount(3);
    QCOMPARE(grid.text(0, 1), QString("0,1"));
    QCOMPARE(grid.text(2, 1), QString());
    grid.setColCount(4);
    QVERIFY(!grid.cellBackground(2, 3).isValid());

    // A current cell that no longer exists is dropped, with a signal.
    grid.setCurrentCell(2, 3);
    QSignalSpy changed(&grid, &FlexGrid::currentCellChanged);
    grid.setRowCount(2);
    QCOMPARE(grid.currentRow(), -1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(2).toInt(), 2);
}

void FlexGridTest::clearEmptiesCellsButKeepsTheShape()
{
    FlexGrid grid;
    shape(grid, 3, 3, 1, 1);
    grid.setColWidth(2, 1200);
    grid.setMergeRow(0, true);
    grid.setText(1, 1, "5");
    grid.setCellBackground(1, 1, Qt::blue);
    grid.setCellAlignment(1, 1, Qt::AlignRight);
    grid.clear();
    QCOMPARE(grid.text(1, 1), QString());
    QVERIFY(!grid.cellBackground(1, 1).isValid());
    QCOMPARE(grid.cellAlignment(1, 1), Qt::Alignment());
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.fixedCols(), 1);
    QCOMPARE(grid.colWidth(2), 1200);
    QVERIFY(grid.mergeRow(0));
}

void FlexGridTest::clicksReportTheCellAndButton()
{
    FlexGrid grid;
    shape(grid, 20, 30, 2, 1);
    showGrid(grid);
    QSignalSpy pressed(&grid, &FlexGrid::cellPressed);
    QSignalSpy released(&grid, &FlexGrid::cellReleased);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(grid, 3, 4));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).toInt(), 3);
    QCOMPARE(pressed.at(0).at(1).toInt(), 4);
    QCOMPARE(pressed.at(0).at(2).value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(released.count(), 1);
    QCOMPARE(released.at(0).at(1).toInt(), 4);
    QCOMPARE(grid.mouseRow(), 3);
    QCOMPARE(grid.mouseCol(), 4);
    // A left click on a scrolling cell makes it current.
    QCOMPARE(grid.currentRow(), 3);
    QCOMPARE(grid.currentCol(), 4);

    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, centreOf(grid, 5, 2));
    QCOMPARE(pressed.last().at(2).value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(pressed.last().at(0).toInt(), 5);
    QCOMPARE(grid.currentRow(), 3);

    // A header click reports the header cell and leaves the current cell.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(grid, 1, 6));
    QCOMPARE(pressed.last().at(0).toInt(), 1);
    QCOMPARE(pressed.last().at(1).toInt(), 6);
    QCOMPARE(grid.currentCol(), 4);

    // After scrolling, the centre of a scrolled cell's rectangle is that cell.
    grid.horizontalScrollBar()->setValue(200);
    grid.verticalScrollBar()->setValue(60);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(grid, 8, 12));
    QCOMPARE(pressed.last().at(0).toInt(), 8);
    QCOMPARE(pressed.last().at(1).toInt(), 12);
    // Fixed cells stay where they were.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(pressed.last().at(0).toInt(), 0);
    QCOMPARE(pressed.last().at(1).toInt(), 0);
}

void FlexGridTest::doubleClickIsNotASecondPress()
{
    FlexGrid grid;
    shape(grid, 5, 5, 1, 1);
    showGrid(grid);
    QSignalSpy pressed(&grid, &FlexGrid::cellPressed);
    QSignalSpy doubleClicked(&grid, &FlexGrid::cellDoubleClicked);
    // What a widget receives from a real double click.
    const QPoint pos = centreOf(grid, 2, 3);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, pos);
    QCOMPARE(doubleClicked.count(), 1);
    QCOMPARE(doubleClicked.at(0).at(0).toInt(), 2);
    QCOMPARE(doubleClicked.at(0).at(1).toInt(), 3);
    QCOMPARE(doubleClicked.at(0).at(2).value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(pressed.count(), 1);
}

void FlexGridTest::mouseMovesReportTheCellUnderThePointer()
{
    FlexGrid grid;
    shape(grid, 3, 3, 1, 1);
    showGrid(grid);
    QSignalSpy moved(&grid, &FlexGrid::mouseMovedOverCell);
    movePointer(grid, centreOf(grid, 2, 1));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.last().at(0).toInt(), 2);
    QCOMPARE(moved.last().at(1).toInt(), 1);
    QCOMPARE(moved.last().at(2).toPoint(), centreOf(grid, 2, 1));

    // Beyond the last column and row (the viewport is larger than the grid).
    const QPoint beyond(grid.gridGeometry().totalWidth() + 10,
                        grid.gridGeometry().totalHeight() + 10);
    movePointer(grid, beyond);
    QCOMPARE(moved.last().at(0).toInt(), -1);
    QCOMPARE(moved.last().at(1).toInt(), -1);
    QCOMPARE(grid.mouseRow(), -1);
}

void FlexGridTest::currentCellChangesAndSignals()
{
    FlexGrid grid;
    shape(grid, 5, 5, 1, 1);
    QCOMPARE(grid.currentRow(), -1);
    QSignalSpy changed(&grid, &FlexGrid::currentCellChanged);

    grid.setCurrentCell(2, 3);
    grid.setCurrentCell(4, 1);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1), (QList<QVariant>{4, 1, 2, 3}));
    QCOMPARE(grid.currentRow(), 4);
    QCOMPARE(grid.currentCol(), 1);

    // The same cell again, or no cell of this grid: nothing happens.
    grid.setCurrentCell(4, 1);
    grid.setCurrentCell(5, 1);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(grid.currentRow(), 4);

    // A fixed cell may be made current by the program.
    grid.setCurrentCell(0, 1);
    QCOMPARE(grid.currentRow(), 0);
    grid.setCurrentCell(-1, -1);
    QCOMPARE(grid.currentRow(), -1);
    QCOMPARE(changed.count(), 4);
}

void FlexGridTest::arrowKeysMoveTheCurrentCellOverHiddenColumns()
{
    FlexGrid grid;
    shape(grid, 4, 6, 1, 1);
    grid.setColWidth(3, 0);
    showGrid(grid);
    grid.setFocus();

    // Without a current cell, the first key picks the first scrolling cell.
    QTest::keyClick(&grid, Qt::Key_Right);
    QCOMPARE(grid.currentRow(), 1);
    QCOMPARE(grid.currentCol(), 1);

    grid.setCurrentCell(2, 2);
    QTest::keyClick(&grid, Qt::Key_Right);
    QCOMPARE(grid.currentCol(), 4);
    QTest::keyClick(&grid, Qt::Key_Left);
    QCOMPARE(grid.currentCol(), 2);
    // Edges hold: never into the fixed cells, never beyond the last.
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClick(&grid, Qt::Key_Left);
    QCOMPARE(grid.currentCol(), 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.currentRow(), 3);
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Up);
    QCOMPARE(grid.currentRow(), 1);
}

void FlexGridTest::keyPressesAreSignalled()
{
    FlexGrid grid;
    shape(grid, 3, 3, 1, 1);
    showGrid(grid);
    grid.setFocus();
    QList<int> keys;
    connect(&grid, &FlexGrid::keyPressed, &grid,
            [&keys](QKeyEvent *event) { keys.append(event->key()); });
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_5);
    QCOMPARE(keys, (QList<int>{Qt::Key_Return, Qt::Key_Down, Qt::Key_5}));
}

void FlexGridTest::toolTipShowsTheCurrentText()
{
    FlexGrid grid;
    shape(grid, 3, 3, 1, 1);
    showGrid(grid);
    const QString text = QString::fromUtf8("ライオンズ － ホークス (残り3試合)");
    grid.setToolTipText(text);
    QCOMPARE(grid.toolTipText(), text);

    const QPoint pos = centreOf(grid, 1, 1);
    QHelpEvent help(QEvent::ToolTip, pos, grid.viewport()->mapToGlobal(pos));
    QApplication::sendEvent(grid.viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), text);

    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    grid.setToolTipText(QString());
    QHelpEvent again(QEvent::ToolTip, pos, grid.viewport()->mapToGlobal(pos));
    QApplication::sendEvent(grid.viewport(), &again);
    QVERIFY(!QToolTip::isVisible());
}

void FlexGridTest::scrollingSignalsAndMovesTheBody()
{
    FlexGrid grid;
    shape(grid, 40, 40, 2, 1);
    for (int col = 0; col < 40; ++col) {
        grid.setText(0, col, QString::number(col));
    }
    showGrid(grid);
    QSignalSpy scrolled(&grid, &FlexGrid::scrolled);
    const QPoint inBody = centreOf(grid, 5, 3);

    grid.horizontalScrollBar()->setValue(80);
    QCOMPARE(scrolled.count(), 1);
    // The body moved by two columns under the same point; headers did not.
    QCOMPARE(grid.cellAt(inBody), (GridCell{5, 5}));
    QCOMPARE(grid.cellAt(QPoint(inBody.x(), 5)), (GridCell{0, 5}));
    QCOMPARE(grid.cellRect(5, 0).left(), 0);

    // Bringing the last cell into view scrolls both ways.
    grid.ensureCellVisible(39, 39);
    QCOMPARE(scrolled.count(), 3);
    const QRect last = grid.cellRect(39, 39);
    QVERIFY(grid.gridGeometry().bodyRect().contains(last));
    QCOMPARE(grid.cellAt(last.center()), (GridCell{39, 39}));

    // Already in view: no scrolling.
    grid.ensureCellVisible(38, 38);
    QCOMPARE(scrolled.count(), 3);
}

void FlexGridTest::fillingWhileSuspendedOrHiddenEndsUpToDate()
{
    FlexGrid grid;
    showGrid(grid);
    {
        FlexGrid::UpdateGuard guard(grid);
        QVERIFY(grid.updatesSuspended());
        {
            FlexGrid::UpdateGuard inner(grid);
        }
        QVERIFY(grid.updatesSuspended());
        shape(grid, 30, 60, 2, 1);
    }
    QVERIFY(!grid.updatesSuspended());
    QVERIFY(grid.gridGeometry().maxScrollX() > 0);
    QCOMPARE(grid.horizontalScrollBar()->maximum(), grid.gridGeometry().maxScrollX());
    QCOMPARE(grid.verticalScrollBar()->maximum(), grid.gridGeometry().maxScrollY());

    // The same for a grid that is hidden while it is filled.
    grid.hide();
    grid.setColCount(100);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QCOMPARE(grid.horizontalScrollBar()->maximum(), grid.gridGeometry().maxScrollX());
    QCOMPARE(grid.gridGeometry().totalWidth(), 40 * 100);
}

void FlexGridTest::defaultRowHeightFollowsTheFont()
{
    FlexGrid grid;
    grid.setRowCount(3);
    grid.setColCount(2);
    grid.setRowHeight(2, 500);
    QFont font = grid.font();
    font.setPointSize(9);
    grid.setFont(font);
    const int small = grid.defaultRowHeight();
    QCOMPARE(grid.rowHeight(0), small);
    font.setPointSize(18);
    grid.setFont(font);
    QVERIFY(grid.defaultRowHeight() > small);
    QCOMPARE(grid.rowHeight(1), grid.defaultRowHeight());
    QCOMPARE(grid.rowHeight(2), 500);
}

void FlexGridTest::largeGridPaintsCellColours()
{
    // The largest season: 88 teams, so 89 rows and 3 x 88 + 1 columns.
    FlexGrid grid;
    showGrid(grid, {800, 300});
    {
        FlexGrid::UpdateGuard guard(grid);
        shape(grid, 89, 265, 2, 1);
        for (int row = 0; row < 89; ++row) {
            for (int col = 0; col < 265; ++col) {
                grid.setText(row, col, QString::number((row * col) % 25));
            }
        }
        grid.setText(5, 4, QString());
        grid.setCellBackground(5, 4, QColor(0, 0, 255));
        grid.setText(88, 264, QString());
        grid.setCellBackground(88, 264, QColor(255, 255, 192));
        grid.setText(1, 0, QString());
    }
    QCOMPARE(pixelAt(grid, centreOf(grid, 5, 4)), QColor(0, 0, 255));
    QCOMPARE(pixelAt(grid, centreOf(grid, 1, 0)), grid.fixedBackground());

    grid.ensureCellVisible(88, 264);
    const QRect last = grid.cellRect(88, 264);
    QVERIFY(grid.viewport()->rect().contains(last));
    QCOMPARE(pixelAt(grid, last.center()), QColor(255, 255, 192));
    // The fixed column still shows at the left, painted over the body.
    QCOMPARE(pixelAt(grid, centreOf(grid, 1, 0)), grid.fixedBackground());
}

void FlexGridTest::mergedHeaderPaintsAsOneBlock()
{
    FlexGrid grid;
    shape(grid, 4, 7, 2, 1);
    grid.setMergeRow(0, true);
    grid.setMergeCol(0, true);
    // Blank equal texts merge too; the block takes its first cell's colour.
    grid.setText(0, 4, "B");
    grid.setCellBackground(0, 1, QColor(255, 255, 192));
    grid.setCellBackground(0, 2, Qt::red);
    grid.setCellBackground(0, 0, QColor(0, 0, 255));
    showGrid(grid);

    const QRect block = grid.cellRect(0, 2);
    const penarin::GridGeometry &geometry = grid.gridGeometry();
    QCOMPARE(block, geometry.singleCellRect(0, 1).united(geometry.singleCellRect(0, 3)));
    QCOMPARE(grid.cellRect(0, 1), block);
    QCOMPARE(block.width(), 3 * 40);
    // Where the line between the first two cells would be.
    const int boundary = geometry.singleCellRect(0, 1).right();
    const int y = block.top() + 3;
    QCOMPARE(pixelAt(grid, {boundary, y}), QColor(255, 255, 192));
    QCOMPARE(pixelAt(grid, {block.center().x(), y}), QColor(255, 255, 192));

    // The blank 2 x 1 top-left block.
    const QRect corner = grid.cellRect(1, 0);
    QCOMPARE(corner.height(), 40);
    QCOMPARE(pixelAt(grid, {5, geometry.singleCellRect(0, 0).bottom()}), QColor(0, 0, 255));
    QCOMPARE(pixelAt(grid, {5, corner.bottom() - 2}), QColor(0, 0, 255));
}

// A right-aligned number wider than its column is drawn from the cell's left
// edge, so its first digits stay readable; one that fits stays on the right.
void FlexGridTest::textTooWideForItsCellKeepsItsBeginning()
{
    FlexGrid grid;
    shape(grid, 2, 3, 0, 0);
    grid.setColWidth(0, 150); // 10 pixels
    // Its first character is the only ink: shown from the right, it is cut off.
    grid.setText(0, 0, "8               ");
    grid.setCellAlignment(0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid.setText(1, 1, "8");
    grid.setCellAlignment(1, 1, Qt::AlignRight | Qt::AlignVCenter);
    grid.setCellBackground(0, 0, Qt::white);
    grid.setCellBackground(1, 1, Qt::white);
    grid.setCellForeground(0, 0, Qt::black);
    grid.setCellForeground(1, 1, Qt::black);
    showGrid(grid);

    auto inkBetween = [&grid](const QRect &cell, int from, int to) {
        for (int x = cell.left() + from; x <= cell.left() + to; ++x) {
            for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y) {
                if (pixelAt(grid, {x, y}).lightness() < 128) {
                    return true;
                }
            }
        }
        return false;
    };
    QVERIFY(inkBetween(grid.cellRect(0, 0), 1, 8));
    QVERIFY(!inkBetween(grid.cellRect(1, 1), 1, 12));
    QVERIFY(inkBetween(grid.cellRect(1, 1), 20, 36));
}

// Widths are remembered per text, so a refit must still see a changed text
// and a changed font.
void FlexGridTest::fittedWidthsFollowTextAndFont()
{
    FlexGrid grid;
    shape(grid, 3, 2, 1, 0);
    QFont font = grid.font();
    font.setPointSize(9);
    grid.setFont(font);
    grid.setText(1, 0, QStringView(u"12"));
    grid.setText(2, 0, QStringView(u"12"));
    grid.fitColWidth(0, 15);
    const int small = grid.colWidth(0);
    QVERIFY(small > 15);
    grid.setText(2, 0, QStringView(u"12345678"));
    grid.fitColWidth(0, 15);
    const int longer = grid.colWidth(0);
    QVERIFY(longer > small);
    font.setPointSize(18);
    grid.setFont(font);
    grid.fitColWidth(0, 15);
    QVERIFY(grid.colWidth(0) > longer);
    font.setPointSize(9);
    grid.setFont(font);
    grid.fitColWidth(0, 15);
    QCOMPARE(grid.colWidth(0), longer);
}

// Lines are drawn joined across cells; each cell must still show its right
// and bottom edge, and a merged block none inside it.
void FlexGridTest::gridLinesFrameEveryCellButNotInsideABlock()
{
    FlexGrid grid;
    shape(grid, 5, 6, 1, 1);
    grid.setColWidth(3, 0);
    grid.setMergeRow(0, true);
    grid.setText(0, 1, "A");
    grid.setText(0, 2, "A");
    grid.setGridColor(QColor(0, 128, 0));
    grid.setBackground(Qt::white);
    showGrid(grid);
    for (int row = 1; row < 5; ++row) {
        for (const int col : {1, 2, 4, 5}) {
            const QRect cell = grid.cellRect(row, col);
            QCOMPARE(pixelAt(grid, {cell.right(), cell.center().y()}), QColor(0, 128, 0));
            QCOMPARE(pixelAt(grid, {cell.center().x(), cell.bottom()}), QColor(0, 128, 0));
            QCOMPARE(pixelAt(grid, {cell.left() + 1, cell.top() + 1}), QColor(Qt::white));
        }
    }
    const QRect block = grid.cellRect(0, 1);
    const QRgb fixedLine = grid.palette().color(QPalette::Dark).rgb();
    QCOMPARE(pixelAt(grid, {block.right(), block.center().y()}).rgb(), fixedLine);
    const int inside = grid.gridGeometry().singleCellRect(0, 1).right();
    QVERIFY(pixelAt(grid, {inside, block.top() + 2}).rgb() != fixedLine);
}

QTEST_MAIN(FlexGridTest)

#include "flexgrid_test.moc"
