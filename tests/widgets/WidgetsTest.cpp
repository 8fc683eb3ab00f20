#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/ColumnSizer.h"
#include "widgets/GridCellDelegate.h"
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

// Rows made whole in one pass replace the old ones: the filled column holds texts and
// objects, the other cells are empty, and every cell is styled as fixed or editable.
TEST(StringGridTest, RowsFilledInOnePassReplaceTheOldOnesStyledAsEveryCellIs) {
    StringGrid grid;
    grid.setColumnCount(3);
    grid.setRowCount(6);
    grid.setFixed(1, 1);
    grid.setCell(2, 5, QStringLiteral("old"));
    grid.setRows(4, 2, [](int row) {
        return StringGrid::CellContent{QStringLiteral("R%1").arg(row), 10 + row};
    });
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.cell(2, 3), QStringLiteral("R3"));
    EXPECT_EQ(grid.object(2, 3), 13);
    EXPECT_EQ(grid.cell(1, 3), QString());
    EXPECT_EQ(grid.object(1, 3), 0);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QTableWidgetItem* cell = grid.item(row, col);
            ASSERT_NE(cell, nullptr) << col << "," << row;
            EXPECT_EQ(cell->flags().testFlag(Qt::ItemIsEditable), col > 0 && row > 0);
            EXPECT_EQ(cell->data(Qt::BackgroundRole).isValid(), col == 0 || row == 0);
        }
    }
}

// A filled cell changes as any other: the grid tells of a new text or object once, not of the
// same one again, and the cell's other roles and a copy of it keep what it holds.
TEST(StringGridTest, FilledCellsChangeAndTellOfChangesAsOtherCellsDo) {
    StringGrid grid;
    grid.setColumnCount(2);
    grid.setRows(3, 1, [](int row) {
        return StringGrid::CellContent{QStringLiteral("R%1").arg(row), row + 1};
    });
    std::vector<std::pair<int, int>> changed;
    QObject::connect(&grid, &QTableWidget::itemChanged, [&changed](QTableWidgetItem* item) {
        changed.emplace_back(item->column(), item->row());
    });
    grid.setCell(1, 2, QStringLiteral("R2"));
    EXPECT_TRUE(changed.empty());
    grid.setCell(1, 2, QStringLiteral("new"));
    grid.setObject(1, 0, 7);
    grid.setObject(1, 0, 7);
    grid.setCell(0, 1, QStringLiteral("left"));
    ASSERT_EQ(changed, (std::vector<std::pair<int, int>>{{1, 2}, {1, 0}, {0, 1}}));
    EXPECT_EQ(grid.cell(1, 2), QStringLiteral("new"));
    EXPECT_EQ(grid.object(1, 2), 3);
    EXPECT_EQ(grid.object(1, 0), 7);
    EXPECT_EQ(grid.model()->data(grid.model()->index(2, 1), Qt::EditRole).toString(),
              QStringLiteral("new"));

    // The model's own edit, as the cell editor commits it.
    grid.model()->setData(grid.model()->index(1, 1), QStringLiteral("typed"), Qt::EditRole);
    EXPECT_EQ(grid.cell(1, 1), QStringLiteral("typed"));
    EXPECT_EQ(changed.size(), 4u);

    QTableWidgetItem* cell = grid.item(1, 1);
    cell->setToolTip(QStringLiteral("tip"));
    const std::unique_ptr<QTableWidgetItem> copy(cell->clone());
    EXPECT_EQ(copy->text(), QStringLiteral("typed"));
    EXPECT_EQ(copy->data(StringGrid::kObjectRole).toInt(), 2);
    EXPECT_EQ(copy->toolTip(), QStringLiteral("tip"));
}

// However the current cell is moved or a range is made (keys, a click or a drag over the
// fixed row and column, a range set in code), both stay within the data cells.
TEST(StringGridTest, TheCurrentCellAndTheRangeStayWithinTheDataCells) {
    StringGrid grid;
    grid.setColumnCount(3);
    grid.setRowCount(4);
    grid.setFixed(1, 1);
    grid.resize(300, 200);
    grid.show();
    grid.setCurrentCell(1, 1);
    for (const QKeyCombination key :
         {QKeyCombination(Qt::Key_Up), QKeyCombination(Qt::Key_Left),
          QKeyCombination(Qt::Key_PageUp), QKeyCombination(Qt::Key_Home),
          QKeyCombination(Qt::ControlModifier, Qt::Key_Home),
          QKeyCombination(Qt::ShiftModifier, Qt::Key_Up)}) {
        QTest::keyClick(&grid, key.key(), key.keyboardModifiers());
        EXPECT_EQ(QPoint(grid.currentColumn(), grid.currentRow()), QPoint(1, 1));
    }
    EXPECT_EQ(grid.selection(), QRect(1, 1, 1, 1));
    const QPoint fixedCorner = grid.visualItemRect(grid.item(0, 0)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, fixedCorner);
    EXPECT_EQ(QPoint(grid.currentColumn(), grid.currentRow()), QPoint(1, 1));
    const QPoint dataCell = grid.visualItemRect(grid.item(3, 2)).center();
    const QPoint firstDataCell = grid.visualItemRect(grid.item(1, 1)).center();
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, dataCell);
    for (const QPoint at : {firstDataCell, fixedCorner}) {
        QMouseEvent drag(QEvent::MouseMove, at, grid.viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &drag);
    }
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, fixedCorner);
    EXPECT_EQ(QPoint(grid.currentColumn(), grid.currentRow()), QPoint(1, 1));
    EXPECT_EQ(grid.selection(), QRect(QPoint(1, 1), QPoint(2, 3)));
    grid.selectAll();
    EXPECT_EQ(grid.selection(), QRect(QPoint(1, 1), QPoint(2, 3)));
    grid.setSelection(QRect(QPoint(0, 0), QPoint(1, 2)), QPoint(0, 0));
    EXPECT_EQ(grid.selection(), QRect(QPoint(1, 1), QPoint(1, 2)));
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

// A grid with one fixed row and column and the data cells "a" (1, 1) and "b" (1, 2), whose
// hooks record what they hear.
class StringGridEnterTest : public ::testing::Test {
protected:
    struct Heard {
        int key;
        bool editorOpen;
        QString cell;
        bool operator==(const Heard&) const = default;
    };

    void SetUp() override {
        grid.setObjectName(QStringLiteral("StringGrid9"));
        grid.setColumnCount(2);
        grid.setRowCount(3);
        grid.setFixed(1, 1);
        grid.setCell(1, 1, QStringLiteral("a"));
        grid.setCell(1, 2, QStringLiteral("b"));
        grid.keyDown = [this](int& key, Qt::KeyboardModifiers) {
            heard.push_back({key, grid.editorOpen(), grid.cell(1, 1)});
            if (onEnter)
                onEnter(key);
        };
        grid.getEditText = [this](int col, int row) { opened.emplace_back(col, row); };
        grid.setCurrentCell(1, 1);
    }

    QLineEdit* editor() {
        return grid.findChild<QLineEdit*>(QStringLiteral("StringGrid9.InplaceEdit"));
    }

    StringGrid grid;
    std::vector<Heard> heard;
    std::vector<QPoint> opened;
    std::function<void(int& key)> onEnter;
};

TEST_F(StringGridEnterTest, EnterWithTheEditorClosedRunsTheKeyHookAndThenOpensTheEditor) {
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(heard, (std::vector<Heard>{{Qt::Key_Return, false, "a"}}));
    EXPECT_TRUE(grid.editorOpen());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), "a");
    EXPECT_EQ(opened, (std::vector<QPoint>{{1, 1}}));
}

TEST_F(StringGridEnterTest, EnterInTheOpenEditorPutsTheEditInTheCellBeforeTheHookHearsOfIt) {
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    editor()->setText(QStringLiteral("a2"));
    QTest::keyClick(editor(), Qt::Key_Enter);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1], (Heard{Qt::Key_Enter, true, "a2"}));
    EXPECT_FALSE(grid.editorOpen());
    EXPECT_EQ(editor(), nullptr) << "a closed editor gives up its name";
    EXPECT_EQ(grid.cell(1, 1), "a2");
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(StringGridEnterTest, AHookThatPutsTheCellBackAndMovesIsNotUndoneByTheEditor) {
    grid.editItem(grid.item(1, 1));
    ASSERT_NE(editor(), nullptr);
    editor()->setText(QStringLiteral("typed"));
    onEnter = [this](int&) {
        grid.setCell(1, 1, QStringLiteral("a"));
        grid.setCurrentCell(2, 1);
    };
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(grid.cell(1, 1), "a");
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_FALSE(grid.editorOpen());
}

TEST_F(StringGridEnterTest, EnterOpensTheEditorOnTheCellTheHookMovedTo) {
    onEnter = [this](int&) { grid.setCurrentCell(2, 1); };
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(opened, (std::vector<QPoint>{{1, 2}}));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), "b");
}

TEST_F(StringGridEnterTest, AConsumedEnterOrACellThatCannotBeEditedOpensNoEditor) {
    onEnter = [](int& key) { key = 0; };
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_FALSE(grid.editorOpen());
    onEnter = nullptr;
    grid.setCurrentCell(1, 0); // fixed column
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_FALSE(grid.editorOpen());
    grid.setCurrentCell(1, 1);
    grid.setEditing(false);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_FALSE(grid.editorOpen());
    EXPECT_EQ(heard.size(), 3u);
    EXPECT_TRUE(opened.empty());
}

// One column 120 pixels wide, a row for each text.
void fillColumn(StringGrid& grid, int rowHeight, const QStringList& texts) {
    grid.setColumnCount(1);
    grid.setRowCount(int(texts.size()));
    grid.setColumnWidth(0, 120);
    grid.setDefaultRowHeight(rowHeight);
    grid.resize(160, rowHeight * int(texts.size()) + 40);
    for (int row = 0; row < texts.size(); ++row)
        grid.setCell(0, row, texts[row]);
}

// Rows "x", "y", "z": the hook puts row 0 on silver and draws row 1's text red.
TEST(StringGridLookTest, TheCellLookHookColoursCellsAndCoversTheirSelection) {
    const QColor silver(0xC0, 0xC0, 0xC0);
    const QColor red(0xFF, 0x00, 0x00);
    StringGrid grid;
    fillColumn(grid, 24, {"x", "y", "z"});
    grid.cellLook = [&](int, int row) {
        return row == 0   ? CellLook{.background = silver}
               : row == 1 ? CellLook{.text = red}
                          : CellLook{};
    };
    grid.setSelection(QRect(0, 0, 1, 2), QPoint(0, 0));
    grid.show();
    const QImage image = grid.viewport()->grab().toImage();
    const auto pixelsIn = [&](int row, const QColor& colour) {
        const QRect rect = grid.visualItemRect(grid.item(row, 0)).adjusted(2, 2, -2, -2);
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                count += image.pixelColor(x, y) == colour;
        return count;
    };
    const QRect cell0 = grid.visualItemRect(grid.item(0, 0));
    EXPECT_EQ(image.pixelColor(cell0.right() - 4, cell0.center().y()), silver);
    EXPECT_GT(pixelsIn(1, red), 0);
    EXPECT_EQ(pixelsIn(2, red), 0);
    EXPECT_EQ(pixelsIn(2, silver), 0);

    auto* delegate = static_cast<GridCellDelegate*>(grid.itemDelegate());
    QStyleOptionViewItem option;
    delegate->initStyleOption(&option, grid.model()->index(1, 0));
    EXPECT_EQ(option.palette.color(QPalette::Text), red);
    EXPECT_EQ(option.palette.color(QPalette::HighlightedText), red);
}

// A changed cell is drawn as the others are, only in red: selected, it keeps the highlight,
// and its text starts at the top edge of the cell like every cell's text.
TEST(StringGridLookTest, RedTextKeepsTheHighlightAndSitsAtTheTopLikeTheOthers) {
    const QColor red(0xFF, 0x00, 0x00);
    StringGrid grid;
    fillColumn(grid, 40, {"MMM", "MMM", "MMM"});
    grid.cellLook = [&](int, int row) { return row == 1 ? CellLook{.text = red} : CellLook{}; };
    grid.setSelection(QRect(0, 1, 1, 1), QPoint(0, 1));
    grid.show();
    const QImage image = grid.viewport()->grab().toImage();
    const QColor highlight = grid.palette().color(QPalette::Highlight);
    // The first pixel row, counted from the cell's top, that holds a pixel of the colour.
    const auto firstRowOf = [&](int row, const std::function<bool(const QColor&)>& wanted) {
        const QRect rect = grid.visualItemRect(grid.item(row, 0));
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (wanted(image.pixelColor(x, y)))
                    return y - rect.top();
        return -1;
    };
    const int redText = firstRowOf(1, [&](const QColor& c) { return c == red; });
    const int plainText = firstRowOf(2, [](const QColor& c) { return c.lightness() < 100; });
    EXPECT_EQ(firstRowOf(1, [&](const QColor& c) { return c == highlight; }), 0);
    EXPECT_GE(redText, 0);
    EXPECT_LT(redText, 10) << "red text at the top edge of a 40-pixel row";
    EXPECT_EQ(redText, plainText);
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

// Japanese collation: punctuation before digits, Latin before kana and kanji, kanji in the
// order of their readings, full- and half-width forms of a letter together.
TEST(SortedComboBoxTest, ItemsFollowTheJapaneseCollation) {
    SortedComboBox list;
    list.addItems({QStringLiteral("線番"), QStringLiteral("NAME1:b"), QStringLiteral("図枠"),
                   QStringLiteral("NAME:a"), QStringLiteral("機器"), QStringLiteral("ポンプ"),
                   QStringLiteral("Ｂ"), QStringLiteral("A")});
    QStringList shown;
    for (int index = 0; index < list.count(); ++index)
        shown.append(list.itemText(index));
    EXPECT_EQ(shown,
              (QStringList{"A", "Ｂ", "NAME:a", "NAME1:b", "ポンプ", "機器", "図枠", "線番"}));
}

} // namespace kalvex::testing
