#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "TransformFakes.h"
#include "transform/GridCommands.h"
#include "transform/RadixButtons.h"

namespace kalvex {
namespace {

class GridCommandsTest : public ::testing::Test {
protected:
    testing::TransformFixture f;
    GridCommands commands{f.gridTarget(), f.forms, f.ports};

    void select(int left, int top, int right, int bottom) {
        f.grid.clearSelection();
        f.grid.setCurrentCell(top, left);
        f.grid.setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
    }

    QStringList cells(int col, int top, int bottom) const {
        QStringList texts;
        for (int row = top; row <= bottom; ++row)
            texts << f.grid.cell(col, row);
        return texts;
    }

    void answerAddition(const QString& addend) {
        f.dialogs.answer = [=, this](QDialog&) {
            f.forms.kasan.Edit1->setText(addend);
            return int(QDialog::Accepted);
        };
    }
};

TEST_F(GridCommandsTest, FullWidthExceptSpacesLeavesNoIdeographicSpace) {
    f.fillGrid(3, 3, {"a b", "\u3000x", "ｶﾞ", "12"});
    select(1, 1, 2, 2);
    commands.N32Click();
    EXPECT_EQ(f.grid.cell(1, 1), QStringLiteral("ａ ｂ"));
    EXPECT_EQ(f.grid.cell(2, 1), QStringLiteral(" ｘ"));
    EXPECT_EQ(f.grid.cell(1, 2), QStringLiteral("ガ"));
    EXPECT_EQ(f.grid.cell(2, 2), QStringLiteral("１２"));
    EXPECT_EQ(f.cellUndo.entries.size(), 4u);
    EXPECT_EQ(f.state.sgUndoCnt, 4);
}

TEST_F(GridCommandsTest, HalfWidthOnlyTouchesTheSelection) {
    f.fillGrid(3, 3, {"ＡＢ", "ＣＤ", "ＥＦ", "ＧＨ"});
    select(2, 1, 2, 2);
    commands.N33Click();
    EXPECT_EQ(cells(1, 1, 2), QStringList({"ＡＢ", "ＥＦ"}));
    EXPECT_EQ(cells(2, 1, 2), QStringList({"CD", "GH"}));
}

TEST_F(GridCommandsTest, ReplaceRecordsEverySelectedCellAndUndoRestoresThem) {
    const QStringList before{"aa", "b", "Aa", "c", "a", "d"};
    f.fillGrid(3, 4, before);
    select(1, 1, 2, 3);
    QString prefilled;
    f.dialogs.answer = [&](QDialog&) {
        prefilled = f.forms.tikan.Edit1->text();
        f.forms.tikan.Edit1->setText(QStringLiteral("a"));
        f.forms.tikan.Edit2->setText(QStringLiteral("x"));
        return int(QDialog::Accepted);
    };
    commands.N35Click();
    EXPECT_EQ(prefilled, QStringLiteral("aa"));
    EXPECT_EQ(cells(1, 1, 3), QStringList({"xx", "Ax", "x"}));
    EXPECT_EQ(f.state.sgUndoCnt, 6);
    f.cellUndo.undo(f.grid, f.state.sgUndoCnt);
    EXPECT_EQ(cells(1, 1, 3) + cells(2, 1, 3), QStringList({"aa", "Aa", "a", "b", "c", "d"}));
}

// Six cells, two of which hold numbers: the first command saves only the changed cells, the
// second every selected cell; undoing the batch restores the numbers either way.
TEST_F(GridCommandsTest, AdditionUndoCountsOfBothCommands) {
    const QStringList before{"TB-07", "", "AB", "  ", "W9", "x"};
    for (const bool everyCell : {false, true}) {
        f.fillGrid(3, 4, before);
        f.cellUndo.entries.clear();
        select(1, 1, 2, 3);
        answerAddition(QStringLiteral("1"));
        everyCell ? commands.N44Click() : commands.N36Click();
        EXPECT_EQ(cells(1, 1, 3), QStringList({"TB-08", "AB", "W10"}));
        EXPECT_EQ(cells(2, 1, 3), QStringList({"", "  ", "x"}));
        const int expected = everyCell ? 6 : 2;
        EXPECT_EQ(f.state.sgUndoCnt, expected);
        EXPECT_EQ(int(f.cellUndo.entries.size()), expected);
        f.cellUndo.undo(f.grid, f.state.sgUndoCnt);
        EXPECT_EQ(cells(1, 1, 3), QStringList({"TB-07", "AB", "W9"}));
    }
}

// A command that changed no cell leaves an empty batch, so that UNDO does not take back an
// earlier edit; one that never ran (addend 0) leaves the counter alone.
TEST_F(GridCommandsTest, AdditionWithoutNumbersArmsNoUndoStepAndZeroAddendChangesNothing) {
    f.fillGrid(2, 3, {"A", "B"});
    select(1, 1, 1, 2);
    f.state.sgUndoCnt = 1;
    answerAddition(QStringLiteral("1"));
    commands.N36Click();
    EXPECT_EQ(f.state.sgUndoCnt, 0);
    EXPECT_TRUE(f.cellUndo.entries.empty());
    f.state.sgUndoCnt = 7;
    answerAddition(QStringLiteral("0"));
    commands.N44Click();
    EXPECT_EQ(f.state.sgUndoCnt, 7);
}

TEST_F(GridCommandsTest, SerialOverwritesFromTheCurrentRowAndDropsTheRest) {
    QStringList texts;
    for (int i = 1; i < 11; ++i)
        texts << QStringLiteral("r%1").arg(i);
    f.fillGrid(2, 11, texts);
    select(1, 6, 1, 6);
    QString captionWhileShown;
    bool insertEnabledWhileShown = true;
    f.dialogs.answer = [&](QDialog&) {
        captionWhileShown = f.forms.renban.Button1->text();
        insertEnabledWhileShown = f.forms.renban.Button3->isEnabled();
        f.forms.renban.Button1->click();
        return f.forms.renban.result();
    };
    commands.N31Click();
    EXPECT_EQ(captionWhileShown, QStringLiteral("上書き"));
    EXPECT_FALSE(insertEnabledWhileShown);
    EXPECT_EQ(f.forms.renban.Button1->text(), QStringLiteral("追加"));
    EXPECT_TRUE(f.forms.renban.Button3->isEnabled());
    EXPECT_EQ(cells(1, 1, 10),
              QStringList({"r1", "r2", "r3", "r4", "r5", "00", "01", "02", "03", "04"}));
    EXPECT_EQ(f.state.sgUndoCnt, 5);
    f.cellUndo.undo(f.grid, f.state.sgUndoCnt);
    EXPECT_EQ(cells(1, 6, 10), texts.mid(5));
}

TEST_F(GridCommandsTest, SerialIntoSelectedRowsOnly) {
    f.fillGrid(2, 7, {"a", "b", "c", "d", "e", "f"});
    select(1, 2, 1, 4);
    f.forms.renban.Edit1->setText(QStringLiteral("sp"));
    f.forms.renban.Edit2->clear();
    f.dialogs.answer = [&](QDialog&) {
        f.forms.renban.Button1->click();
        return f.forms.renban.result();
    };
    commands.N31Click();
    EXPECT_EQ(cells(1, 1, 6), QStringList({"a", "SP", "SP", "SP", "e", "f"}));
    EXPECT_EQ(f.state.sgUndoCnt, 3);
}

TEST_F(GridCommandsTest, CancelledSerialWritesNothing) {
    f.fillGrid(2, 3, {"a", "b"});
    select(1, 1, 1, 1);
    commands.N31Click();
    EXPECT_EQ(cells(1, 1, 2), QStringList({"a", "b"}));
    EXPECT_TRUE(f.cellUndo.entries.empty());
}

} // namespace
} // namespace kalvex
