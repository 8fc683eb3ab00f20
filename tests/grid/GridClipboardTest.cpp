#include <gtest/gtest.h>

#include "grid/GridClipboardKey.h"
#include "support/FakePorts.h"
#include "widgets/StringGrid.h"

namespace kalvex {
namespace {

class GridClipboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setColumnCount(4);
        grid.setRowCount(6);
        grid.setFixed(1, 1);
    }

    int press(int key, const QRect& range, Qt::KeyboardModifiers shift = Qt::ControlModifier) {
        grid.setSelection(range, range.topLeft());
        GridClipboardKey(grid, key, shift, {clipboard, messages, {cells, counter}});
        return key;
    }

    QStringList column(int col) const {
        QStringList texts;
        for (int row = 1; row < grid.rowCount(); ++row)
            texts << grid.cell(col, row);
        return texts;
    }

    StringGrid grid;
    TUndoCells cells;
    std::int32_t counter = 0;
    testing::FakeClipboardPort clipboard;
    testing::FakeMessagePort messages;
};

TEST_F(GridClipboardTest, CopyOfTwoRowsOfThreeEndsEveryRowWithCrLf) {
    const char* texts[2][3] = {{"a", "b", "c"}, {"d", "e", "f"}};
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            grid.setCell(col + 1, row + 1, texts[row][col]);
    EXPECT_EQ(press(Qt::Key_C, QRect(1, 1, 3, 2)), 0);
    EXPECT_EQ(clipboard.content, "a\tb\tc\r\nd\te\tf\r\n");
    EXPECT_EQ(cells.Count(), 0);
}

TEST_F(GridClipboardTest, PasteRepeatsTheBlockDownTheRangeOnly) {
    struct Case {
        const char* text;
        QStringList expected;
        int saved;
    };
    const Case cases[] = {
        {"x\r\n", {"x", "x", "x", "x", "x"}, 5},
        {"p\r\nq\r\n", {"p", "q", "p", "q", "p"}, 5},
        {"a\r\nb\r\nc\r\n", {"a", "b", "c", "a", "b"}, 5},
        {"tail without row end", {"old", "old", "old", "old", "old"}, 0},
        {"\r\n", {"", "", "", "", ""}, 5},
    };
    for (const Case& c : cases) {
        for (int row = 1; row < 6; ++row)
            grid.setCell(1, row, "old");
        clipboard.content = c.text;
        press(Qt::Key_V, QRect(1, 1, 1, 5));
        EXPECT_EQ(column(1), c.expected) << c.text;
        EXPECT_EQ(counter, c.saved) << c.text;
    }
}

TEST_F(GridClipboardTest, ThreeFieldsIntoOneColumnWriteThreeColumnsAndDropTheOverflow) {
    clipboard.content = "1\t2\t3\r\n";
    press(Qt::Key_V, QRect(2, 5, 1, 1));
    EXPECT_EQ(grid.cell(2, 5), "1");
    EXPECT_EQ(grid.cell(3, 5), "2");
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(cells.Count(), 2);
}

TEST_F(GridClipboardTest, CopyPastedBackChangesNothingButSavesEveryCell) {
    grid.setCell(1, 1, "a");
    grid.setCell(2, 2, "b");
    press(Qt::Key_C, QRect(1, 1, 2, 2));
    press(Qt::Key_V, QRect(1, 1, 2, 2));
    EXPECT_EQ(grid.cell(1, 1), "a");
    EXPECT_EQ(grid.cell(2, 2), "b");
    EXPECT_EQ(cells.Count(), 4);
    EXPECT_EQ(counter, 4);
}

TEST_F(GridClipboardTest, DeleteOnOneCellIsLeftToTheGrid) {
    grid.setCell(1, 1, "keep");
    EXPECT_EQ(press(Qt::Key_Delete, QRect(1, 1, 1, 1), Qt::NoModifier), Qt::Key_Delete);
    EXPECT_EQ(grid.cell(1, 1), "keep");
    EXPECT_EQ(cells.Count(), 0);
    EXPECT_EQ(press(Qt::Key_Delete, QRect(1, 1, 2, 1), Qt::NoModifier), 0);
    EXPECT_EQ(grid.cell(1, 1), "");
    EXPECT_EQ(counter, 2);
}

TEST_F(GridClipboardTest, CutClearsTheRangeEvenWhenTheClipboardRefuses) {
    grid.setCell(1, 1, "a");
    clipboard.failWrites = true;
    press(Qt::Key_X, QRect(1, 1, 1, 2));
    EXPECT_EQ(grid.cell(1, 1), "");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QString::fromUtf16(kClipboardCopyFailed));
    EXPECT_EQ(counter, 2);
}

TEST_F(GridClipboardTest, KeysWithoutCtrlOrOtherCtrlKeysAreNotConsumed) {
    EXPECT_EQ(press(Qt::Key_V, QRect(1, 1, 1, 1), Qt::NoModifier), Qt::Key_V);
    EXPECT_EQ(press(Qt::Key_A, QRect(1, 1, 1, 1)), Qt::Key_A);
    EXPECT_EQ(press(Qt::Key_C, QRect(1, 1, 1, 1), Qt::ControlModifier | Qt::ShiftModifier), 0);
}

} // namespace
} // namespace kalvex
