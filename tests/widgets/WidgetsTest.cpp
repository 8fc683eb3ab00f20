#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/ColumnSizer.h"
#include "widgets/SortedComboBox.h"
#include "widgets/StringGrid.h"

namespace kalvex::testing {

TEST(StringGridTest, CellsHoldTextAndAnObjectSlotAddressedByColumnThenRow) {
    StringGrid grid;
    grid.setColumnCount(3);
    grid.setRowCount(4);
    grid.setFixed(1, 1);
    grid.setCell(2, 1, QStringLiteral("P-101"));
    grid.setObject(2, 1, 7);
    EXPECT_EQ(grid.cell(2, 1), QStringLiteral("P-101"));
    EXPECT_EQ(grid.object(2, 1), 7);
    EXPECT_EQ(grid.cell(1, 2), QString());
    EXPECT_EQ(grid.object(1, 2), 0);
    // Cells outside the grid are ignored.
    grid.setCell(5, 1, QStringLiteral("x"));
    grid.setObject(1, 9, 3);
    EXPECT_EQ(grid.cell(5, 1), QString());
    EXPECT_EQ(grid.object(1, 9), 0);
}

TEST(StringGridTest, OnlyCellsOutsideTheFixedRowAndColumnCanBeEdited) {
    StringGrid grid;
    grid.setColumnCount(2);
    grid.setRowCount(2);
    grid.setFixed(1, 1);
    grid.setRowCount(4); // rows added later are styled too
    grid.setColumnCount(3);
    struct Case {
        int col;
        int row;
        bool editable;
    };
    const Case cases[] = {{0, 0, false}, {1, 0, false}, {0, 3, false},
                          {1, 1, true},  {2, 3, true},  {2, 1, true}};
    for (const Case& test : cases) {
        SCOPED_TRACE(::testing::Message() << test.col << "," << test.row);
        QTableWidgetItem* cell = grid.item(test.row, test.col);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->flags().testFlag(Qt::ItemIsEditable), test.editable);
    }
}

TEST(StringGridTest, ColumnLinesCanBeDraggedWithinTheFixedRowOnly) {
    StringGrid grid;
    grid.resize(400, 200);
    grid.setColumnCount(3);
    grid.setRowCount(4);
    grid.setFixed(1, 1);
    grid.verticalHeader()->setDefaultSectionSize(20);
    for (int column = 0; column < 3; ++column)
        grid.setColumnWidth(column, 60);
    new ColumnSizer(grid);
    QWidget* area = grid.viewport();
    const int line = grid.columnViewportPosition(1) + 60; // right-hand line of column 1

    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(line + 1, 10));
    QTest::mouseMove(area, QPoint(line + 41, 10));
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(line + 41, 10));
    EXPECT_EQ(grid.columnWidth(1), 100);
    EXPECT_EQ(grid.columnWidth(2), 60);

    // The same drag among the ordinary rows selects cells instead.
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(line + 40, 50));
    QTest::mouseMove(area, QPoint(line + 80, 50));
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(line + 80, 50));
    EXPECT_EQ(grid.columnWidth(1), 100);
}

TEST(SortedComboBoxTest, ItemsStaySortedWithoutRegardToCaseHoweverTheyAreAdded) {
    SortedComboBox list;
    list.addItems({QStringLiteral("SENBAN:線番"), QStringLiteral("name:機器名"),
                   QStringLiteral("JCMNT1:コメント１")});
    list.setCurrentIndex(1); // "name:機器名"
    list.addItem(QStringLiteral("AREA:エリア"));
    list.insertItem(0, QStringLiteral("TYPE:型式"));
    QStringList shown;
    for (int index = 0; index < list.count(); ++index)
        shown.append(list.itemText(index));
    EXPECT_EQ(shown, (QStringList{"AREA:エリア", "JCMNT1:コメント１", "name:機器名", "SENBAN:線番",
                                  "TYPE:型式"}));
    EXPECT_EQ(list.currentText(), QStringLiteral("name:機器名"));
    EXPECT_EQ(list.currentIndex(), 2);
}

} // namespace kalvex::testing
