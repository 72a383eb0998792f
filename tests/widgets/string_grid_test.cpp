#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QWindow>

#include "widget_test_support.h"
#include "widgets/string_grid.h"

namespace orlimo {
namespace {

using test::px;

const QColor kFixed(0x1A, 0x30, 0x55);
const QColor kGridLine(0x80, 0x80, 0x80);
const QColor kCell(0x00, 0x00, 0x00);
const QColor kAz(0x01, 0x28, 0x45);

// Shaped like the satellite table: 13 columns, 4 rows, one fixed column, no
// fixed row, no horizontal lines between normal cells.
void configureTable(TXStringGrid& g)
{
    g.setColCount(13);
    g.setRowCount(4);
    g.setFixedRows(0);
    g.setFixedCols(1);
    g.setDefaultRowHeight(18);
    g.setColWidth(0, 30);
    for (int c = 1; c < 12; ++c)
        g.setColWidth(c, 25);
    g.setColWidth(12, 27);
    g.setOptions(goFixedVertLine | goFixedHorzLine | goVertLine);
    g.setColor(Qt::white);
    g.setFixedColor(kFixed);
    g.setFixedLineColor(Qt::black);
    g.setGridLineColor(kGridLine);
    g.setSelectedColor(Qt::black);
    g.setSelectedTextColor(QColor(0x00, 0x80, 0x00));
    for (int c = 0; c < 13; ++c)
        g.column(c)->setColor(kCell);
    g.resize(349, 81);
}

class StringGridTest : public test::WidgetFixture {
protected:
    TXStringGrid grid;
};

TEST_F(StringGridTest, OneColumnItemPerColumn)
{
    grid.setColCount(8);
    EXPECT_EQ(grid.columnCount(), 8);
    grid.column(7)->setCaption("last");
    EXPECT_EQ(grid.cell(7, 0), "last");
    grid.column(2)->setWidth(40);
    EXPECT_EQ(grid.colWidth(2), 40);
    grid.setColCount(3);
    EXPECT_EQ(grid.columnCount(), 3);
    EXPECT_EQ(grid.column(3), nullptr);

    grid.column(0)->setColor(Qt::red);
    grid.setCell(0, 1, "a");
    grid.moveColumn(0, 2);  // the item and the cells travel together
    EXPECT_EQ(grid.column(2)->color(), QColor(Qt::red));
    EXPECT_EQ(grid.column(2)->index(), 2);
    EXPECT_EQ(grid.cell(2, 1), "a");
    EXPECT_EQ(grid.column(2)->width(), 64);
}

TEST_F(StringGridTest, ColumnTextAndBounds)
{
    configureTable(grid);
    grid.setColumnText(0, "C/No\r\nSV\r\nAz\r\nEl");
    EXPECT_EQ(grid.cell(0, 0), "C/No");
    EXPECT_EQ(grid.cell(0, 3), "El");
    EXPECT_EQ(grid.columnText(0), "C/No\r\nSV\r\nAz\r\nEl\r\n");
    grid.setColumnText(0, "");
    EXPECT_EQ(grid.cell(0, 3), "");
    grid.setCell(20, 1, "x");  // outside: ignored
    grid.setCell(-1, -1, "x");
    EXPECT_EQ(grid.cell(20, 1), "");
    grid.setColCount(0);
    EXPECT_EQ(grid.colCount(), 1);
    grid.setFixedCols(5);
    EXPECT_EQ(grid.fixedCols(), 0);
}

TEST_F(StringGridTest, CellGeometry)
{
    configureTable(grid);
    EXPECT_EQ(grid.cellRect(0, 0), QRect(0, 0, 30, 18));
    EXPECT_EQ(grid.cellRect(1, 0), QRect(31, 0, 25, 18));  // a vertical line after each column
    // Fixed horizontal lines are on, so every row is followed by a line's width.
    EXPECT_EQ(grid.cellRect(2, 1), QRect(57, 19, 25, 18));
    EXPECT_EQ(grid.cellRect(12, 3), QRect(31 + 11 * 26, 57, 27, 18));
    EXPECT_EQ(grid.sizeHint().height(), 76);
}

// Fixed cells first, normal cells after, each framing itself: a later cell's
// ring covers the line it shares with an earlier one.
TEST_F(StringGridTest, DrawingOrderDecidesSharedLines)
{
    configureTable(grid);
    grid.setCurrentCell(5, 3);
    const QImage img = test::render(grid);
    EXPECT_EQ(px(img, 15, 9), kFixed);        // fixed column in a normal row: grid's fixed colour
    EXPECT_EQ(px(img, 40, 9), kCell);
    EXPECT_EQ(px(img, 30, 9), kGridLine);     // fixed/normal line: normal cell drew last
    EXPECT_EQ(px(img, 15, 18), QColor(Qt::black));  // between fixed cells: fixed line colour
    EXPECT_EQ(px(img, 40, 17), kCell);        // row 0 keeps its last pixel row
    EXPECT_EQ(px(img, 40, 18), kGridLine);    // the line between rows: row 1's ring, drawn last
    EXPECT_EQ(px(img, 40, 19), kCell);
    EXPECT_EQ(px(img, 56, 9), kGridLine);     // vertical line between normal cells
}

// A changed cell repaints itself and its frame alone, the cells around it drawn again
// only for the lines they share; a text set as it was repaints nothing. The screen ends
// as a fresh rendering of the whole grid.
TEST_F(StringGridTest, AChangedCellRepaintsOnlyItselfAndItsFrame)
{
    test::PaintLog log;
    configureTable(grid);
    for (int c = 0; c < 13; ++c)
        grid.setColumnText(c, QStringLiteral("4%1\r\n%1\r\n12%1\r\n3%1").arg(c));
    grid.show();
    ASSERT_TRUE(test::spinUntil([&] { return grid.windowHandle() && grid.windowHandle()->isExposed(); }));
    QCoreApplication::processEvents();
    grid.installEventFilter(&log);
    grid.setCell(5, 1, QStringLiteral("17"));
    grid.setColumnText(7, grid.columnText(7));
    QCoreApplication::processEvents();
    const QRect frame = grid.cellRect(5, 1).adjusted(-1, -1, 1, 1);
    EXPECT_FALSE(log.painted.isEmpty());
    EXPECT_EQ(log.painted - frame, QRegion());
    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(grid.winId()).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), grid.grab().toImage().convertToFormat(QImage::Format_RGB32));
}

TEST_F(StringGridTest, CellPropsRunsAfterSelectionColours)
{
    configureTable(grid);
    grid.setCurrentCell(3, 0);
    unsigned seenState = 0;
    QColor seenBrush;
    grid.setOnCellProps([&](TXStringGrid&, TCellCanvas& canvas, TAlignment&, QString&,
                            unsigned state, int row, int col) {
        if (col == 3 && row == 0) {
            seenState = state;
            seenBrush = canvas.brushColor;
            canvas.brushColor = QColor(0xBB, 0xFF, 0x77);
        }
        if (row == 2 && col >= 1)
            canvas.brushColor = kAz;
    });
    grid.setSelectedColor(Qt::magenta);
    const QImage img = test::render(grid);
    EXPECT_TRUE(seenState & gdSelected);
    EXPECT_FALSE(seenState & gdFixed);
    EXPECT_EQ(seenBrush, QColor(Qt::magenta));
    EXPECT_EQ(px(img, 95, 1), QColor(0xBB, 0xFF, 0x77));  // cell (3, 0) spans x 83..107
    EXPECT_EQ(px(img, 40, 44), kAz);
    EXPECT_EQ(px(img, 15, 44), kFixed);  // caption column untouched by this hook

    grid.setOnCellProps(nullptr);  // without the hook the selection colour shows
    EXPECT_EQ(px(test::render(grid), 95, 1), QColor(Qt::magenta));
}

TEST_F(StringGridTest, NoFixedRowDrawsCaptionsAsText)
{
    configureTable(grid);
    grid.column(1)->setHeaderColor(QColor(0x38, 0x1D, 0x1D));
    grid.column(1)->setCaption("1");
    grid.column(1)->setFontColor(Qt::yellow);
    QFont big("Arial");
    big.setPixelSize(14);
    big.setBold(true);
    grid.column(1)->setFont(big);
    const QImage img = test::render(grid);
    const QRect c = grid.cellRect(1, 0).adjusted(1, 1, -1, -1);
    EXPECT_EQ(test::countColor(img, QColor(0x38, 0x1D, 0x1D)), 0);
    EXPECT_GT(test::countPixels(img, [](QColor v) { return v != kCell; }, c), 3);
}

TEST_F(StringGridTest, AlignmentAndSingleLine)
{
    configureTable(grid);
    grid.setDefaultRowHeight(40);
    grid.setColWidth(1, 60);
    grid.column(1)->setFontColor(Qt::white);
    grid.setCell(1, 1, "A\nB");
    const QRect c = grid.cellRect(1, 1);
    const auto ink = [](QColor v) { return v != kCell && v != kGridLine; };
    const QRect inside = c.adjusted(1, 1, -1, -1);

    grid.column(1)->setAlignment(TAlignment::taRightJustify);
    QImage img = test::render(grid);
    EXPECT_EQ(test::countPixels(img, ink, QRect(inside.left(), inside.top(), 25, inside.height())), 0);
    const auto oneLine = test::rowSpan(img, ink, inside);

    grid.setMultiLine(true);
    const auto twoLines = test::rowSpan(test::render(grid), ink, inside);
    ASSERT_GE(oneLine.first, 0);
    EXPECT_GT(twoLines.second - twoLines.first, oneLine.second - oneLine.first + 5);

    grid.column(1)->setAlignment(TAlignment::taLeftJustify);
    img = test::render(grid);
    EXPECT_EQ(test::countPixels(img, ink, QRect(inside.right() - 25, inside.top(), 25, inside.height())), 0);
}

TEST_F(StringGridTest, SelectCellHandlerCanRefuse)
{
    configureTable(grid);
    grid.setOnSelectCell([](TXStringGrid&, int, int, bool& can) { can = false; });
    const QPoint at = grid.cellRect(4, 2).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, grid.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&grid, &press);
    EXPECT_NE(grid.currentCol(), 4);
    grid.setOnSelectCell(nullptr);
    QCoreApplication::sendEvent(&grid, &press);
    EXPECT_EQ(grid.currentCol(), 4);
    EXPECT_EQ(grid.currentRow(), 2);
}

}  // namespace
}  // namespace orlimo
