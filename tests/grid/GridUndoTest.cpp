#include <gtest/gtest.h>

#include "grid/GridClipboardKey.h"
#include "grid/TUndoCells.h"
#include "support/FakePorts.h"
#include "widgets/StringGrid.h"

namespace kalvex {
namespace {

// A 4 x 8 grid with a fixed row and column whose data cells hold "c,r".
class GridUndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setColumnCount(4);
        grid.setRowCount(8);
        grid.setFixed(1, 1);
        for (int row = 1; row < 8; ++row)
            for (int col = 1; col < 4; ++col)
                grid.setCell(col, row, QStringLiteral("%1,%2").arg(col).arg(row));
    }

    void press(int key, Qt::KeyboardModifiers shift = Qt::ControlModifier) {
        GridClipboardKey(grid, key, shift, {clipboard, messages, {cells, counter}});
    }

    void paste(const QString& text, const QRect& range) {
        grid.setSelection(range, range.topLeft());
        clipboard.content = text;
        press(Qt::Key_V);
    }

    StringGrid grid;
    TUndoCells cells;
    std::int32_t counter = 0;
    testing::FakeClipboardPort clipboard;
    testing::FakeMessagePort messages;
};

TEST_F(GridUndoTest, OpeningTheEditorAloneStillTakesBackToTheSameTextAndMovesThere) {
    counter = 1;
    cells.Add(grid, 2, 3);
    grid.setCurrentCell(1, 1);
    undoBatchOnce(grid, {cells, counter});
    EXPECT_EQ(grid.cell(2, 3), "2,3");
    EXPECT_EQ(grid.currentColumn(), 2);
    EXPECT_EQ(grid.currentRow(), 3);
    EXPECT_EQ(cells.Count(), 0);
}

TEST_F(GridUndoTest, CtrlZTakesBackAPasteOfSixThenOneOlderEntry) {
    counter = 1;
    cells.Add(grid, 3, 7);
    grid.setCell(3, 7, "typed");
    paste("x\ty\r\n", QRect(1, 1, 2, 3));
    ASSERT_EQ(counter, 6);
    undoBatchOnce(grid, {cells, counter});
    EXPECT_EQ(counter, 0);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(grid.cell(1, row), QStringLiteral("1,%1").arg(row));
        EXPECT_EQ(grid.cell(2, row), QStringLiteral("2,%1").arg(row));
    }
    EXPECT_EQ(grid.cell(3, 7), "typed");
    undoBatchOnce(grid, {cells, counter});
    EXPECT_EQ(grid.cell(3, 7), "3,7");
}

TEST_F(GridUndoTest, TwoPressesOfTheButtonTakeBackTwelveEntries) {
    paste("a\tb\r\n", QRect(1, 1, 2, 3));
    paste("p\tq\r\n", QRect(1, 4, 2, 3));
    ASSERT_EQ(cells.Count(), 12);
    undoBatchRepeat(grid, {cells, counter});
    EXPECT_EQ(counter, 6);
    EXPECT_EQ(grid.cell(1, 4), "1,4");
    EXPECT_EQ(grid.cell(1, 1), "a");
    undoBatchRepeat(grid, {cells, counter});
    EXPECT_EQ(grid.cell(1, 1), "1,1");
    EXPECT_EQ(cells.Count(), 0);
}

TEST_F(GridUndoTest, CopyAloneMakesTheNextCtrlZTakeBackOneEntry) {
    paste("a\r\n", QRect(1, 1, 1, 2));
    grid.setSelection(QRect(1, 1, 1, 1), QPoint(1, 1));
    press(Qt::Key_C);
    EXPECT_EQ(counter, 0);
    undoBatchOnce(grid, {cells, counter});
    EXPECT_EQ(grid.cell(1, 2), "1,2");
    EXPECT_EQ(grid.cell(1, 1), "a");
}

// A key that changed no cell (a copy, a paste of an empty clipboard) leaves the batch empty:
// the UNDO button then takes nothing back, not the edit made before.
TEST_F(GridUndoTest, AfterAKeyThatChangedNothingTheButtonTakesNothingBack) {
    counter = 1;
    cells.Add(grid, 2, 2);
    grid.setCell(2, 2, "edited");
    grid.setSelection(QRect(1, 1, 1, 1), QPoint(1, 1));
    for (const QString& clipboardText : {QString(), QStringLiteral("no row end")}) {
        paste(clipboardText, QRect(1, 1, 1, 1));
        EXPECT_EQ(counter, 0);
        undoBatchRepeat(grid, {cells, counter});
        EXPECT_EQ(grid.cell(2, 2), "edited");
    }
    press(Qt::Key_C);
    undoBatchRepeat(grid, {cells, counter});
    EXPECT_EQ(grid.cell(2, 2), "edited");
    EXPECT_EQ(cells.Count(), 1);
}

TEST_F(GridUndoTest, UndoOfOneGridLeavesTheOtherGridsEntries) {
    StringGrid other;
    other.setColumnCount(2);
    other.setRowCount(2);
    other.setCell(1, 1, "other");
    cells.Add(other, 1, 1);
    other.setCell(1, 1, "changed");
    cells.Add(grid, 1, 1);
    grid.setCell(1, 1, "changed");
    cells.Undo(grid);
    cells.Undo(grid);
    EXPECT_EQ(grid.cell(1, 1), "1,1");
    EXPECT_EQ(other.cell(1, 1), "changed");
    ASSERT_EQ(cells.Count(), 1);
    cells.Undo(other);
    EXPECT_EQ(other.cell(1, 1), "other");
}

TEST_F(GridUndoTest, ALimitOfThreeDropsTheOldestAndRenumbers) {
    cells.setUndoLevels(3);
    for (int row = 1; row <= 4; ++row)
        cells.Add(grid, 1, row);
    ASSERT_EQ(cells.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(cells.GetItem(i).UndoLevel(), i);
        EXPECT_EQ(cells.GetItem(i).Y(), i + 2);
    }
}

TEST_F(GridUndoTest, TheSameCellIsSavedEveryTimeEvenUnchanged) {
    cells.Add(grid, 1, 1);
    cells.Add(grid, 1, 1);
    EXPECT_EQ(cells.Count(), 2);
    EXPECT_EQ(cells.GetItem(1).UndoLevel(), 1);
}

} // namespace
} // namespace kalvex
