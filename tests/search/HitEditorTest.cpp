#include <QAbstractItemDelegate>
#include <QLineEdit>
#include <QTest>

#include "SearchFixture.h"
#include "widgets/GridCellDelegate.h"
#include "workstate/WorkState.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;
using drawing::LayerState;

// Hits after a search for "P": P1, P2 (locked), P3, P4 in rows 0 to 3.
class HitEditorTest : public SearchTest {
protected:
    void SetUp() override {
        builder.layer("LOCK", LayerState::Locked);
        p1 = builder.text({.text = "P1", .insertion = {1, 1, 0}});
        p2 = builder.text({.text = "P2", .insertion = {2, 2, 0}, .layer = "LOCK"});
        p3 = builder.text({.text = "P3", .insertion = {3, 3, 0}});
        p4 = builder.text({.text = "P4", .insertion = {4, 4, 0}});
        use(builder);
        SearchTest::SetUp();
        search("P");
        ASSERT_EQ(gridTexts(), (QStringList{"P1", "P2", "P3", "P4"}));
    }

    // Opens the cell editor on the row, types the text and presses Enter in the editor.
    void editWithEnter(int row, const QString& text) {
        grid().setCurrentCell(row, 0);
        grid().editItem(grid().item(row, 0));
        auto* editor = qobject_cast<QLineEdit*>(grid().indexWidget(grid().model()->index(row, 0)));
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    void pressUndo() { QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier); }

    struct Look {
        bool locked = false;
        bool changed = false;
    };

    // The colours the grid's delegate draws the row in.
    Look lookOf(int row) {
        auto* delegate = static_cast<GridCellDelegate*>(grid().itemDelegate());
        QStyleOptionViewItem option;
        delegate->initStyleOption(&option, grid().model()->index(row, 0));
        return {.locked = option.backgroundBrush.color() == QColor(0xC0, 0xC0, 0xC0),
                .changed = option.palette.color(QPalette::Text) == QColor(0xFF, 0, 0)};
    }

    DrawingBuilder builder;
    std::string p1, p2, p3, p4;
};

TEST_F(HitEditorTest, EnterWritesTheRowRereadsItAndMovesDown) {
    editWithEnter(0, "P1-new");
    EXPECT_EQ(drawingText(p1), "P1-new");
    EXPECT_EQ(hits()[0].text, "P1-new");
    EXPECT_FALSE(lookOf(0).changed);
    EXPECT_EQ(grid().currentRow(), 1);
    EXPECT_EQ(page().Label6->text(), "2 / 4");
    EXPECT_EQ(form->statusPanel(0).text(), QString::fromStdString(p2));
    EXPECT_EQ(form->statusPanel(1).text(), "2.000, 2.000");
}

TEST_F(HitEditorTest, EnterOnTheLastRowWrapsToTheFirst) {
    editWithEnter(3, "P4-new");
    EXPECT_EQ(drawingText(p4), "P4-new");
    EXPECT_EQ(grid().currentRow(), 0);
}

TEST_F(HitEditorTest, EnterOptionsOffNeitherWriteNorMove) {
    page().CheckBox5->setChecked(false);
    page().CheckBox8->setChecked(false);
    editWithEnter(0, "P1-new");
    EXPECT_EQ(drawingText(p1), "P1");
    EXPECT_EQ(grid().cell(0, 0), "P1-new");
    EXPECT_TRUE(lookOf(0).changed);
    EXPECT_TRUE(page().SpeedButton15->isEnabled());
    EXPECT_EQ(grid().currentRow(), 0);
}

TEST_F(HitEditorTest, EnterRevertsLockedRowsAndFailedWrites) {
    editWithEnter(1, "P2-new");
    EXPECT_EQ(grid().cell(0, 1), "P2");
    EXPECT_EQ(drawingText(p2), "P2");

    textEntity(p3)->Delete();
    editWithEnter(2, "P3-new");
    EXPECT_EQ(grid().cell(0, 2), "P3");
    EXPECT_EQ(hits()[2].text, "P3");
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(HitEditorTest, AnEmptiedCellShowsTheFetchedStringAndIsNotWritten) {
    grid().setCell(0, 2, "");
    EXPECT_EQ(grid().cell(0, 2), "P3");
    editWithEnter(0, "");
    EXPECT_EQ(grid().cell(0, 0), "P1");
    EXPECT_EQ(drawingText(p1), "P1");
    EXPECT_FALSE(page().SpeedButton15->isEnabled());
}

TEST_F(HitEditorTest, LockedRowsAreSilverAndChangedRowsRed) {
    grid().setCell(0, 3, "P4-new");
    EXPECT_TRUE(lookOf(1).locked);
    EXPECT_FALSE(lookOf(1).changed);
    EXPECT_FALSE(lookOf(0).locked);
    EXPECT_TRUE(lookOf(3).changed);
    grid().setCell(0, 3, "P4");
    EXPECT_FALSE(lookOf(3).changed);
}

TEST_F(HitEditorTest, BulkWriteCountsLockedAndFailedRows) {
    grid().setCell(0, 0, "P1-new");
    grid().setCell(0, 1, "P2-new");
    grid().setCell(0, 2, "P3-new");
    textEntity(p3)->Delete();
    ASSERT_TRUE(page().SpeedButton15->isEnabled());
    page().SpeedButton15->click();
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text,
              "1 / 2 個の TEXT を更新しました．\nロック画層の TEXT 1 個は更新されません．");
    EXPECT_EQ(fakes.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(drawingText(p1), "P1-new");
    EXPECT_EQ(hits()[0].text, "P1-new");
    EXPECT_EQ(drawingText(p2), "P2");
    EXPECT_EQ(hits()[2].text, "P3");
    EXPECT_FALSE(page().SpeedButton15->isEnabled());
    model->drawing().undo();
    EXPECT_EQ(drawingText(p1), "P1");
}

TEST_F(HitEditorTest, BulkWriteWithoutChangesOrCadHasNothingToDo) {
    grid().setCell(0, 0, "P1-new"); // makes the button available
    grid().setCell(0, 0, "P1");
    page().SpeedButton15->click();
    grid().setCell(0, 0, "P1-new");
    windows.windows.erase(kCadWindow);
    page().SpeedButton15->click();
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    for (const MessageRequest& shown : fakes.messages.shown)
        EXPECT_EQ(shown.text, "更新対象の TEXT はありません．");
    EXPECT_TRUE(page().SpeedButton15->isEnabled());
    EXPECT_EQ(drawingText(p1), "P1");
}

TEST_F(HitEditorTest, CtrlZTakesBackOneEditAndThenTheOneBefore) {
    page().CheckBox5->setChecked(false);
    page().CheckBox8->setChecked(false);
    editWithEnter(0, "first");
    editWithEnter(2, "second");
    pressUndo();
    EXPECT_EQ(grid().cell(0, 2), "P3");
    EXPECT_EQ(grid().cell(0, 0), "first");
    EXPECT_EQ(form->work().sgUndoCnt2, 0);
    pressUndo();
    EXPECT_EQ(grid().cell(0, 0), "P1");
    EXPECT_EQ(grid().currentRow(), 0);
}

TEST_F(HitEditorTest, RangeKeysGoToTheGridClipboard) {
    grid().setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 0), true);
    QTest::keyClick(&grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(fakes.clipboard.content, "P1\r\nP2\r\n");
    fakes.clipboard.content = "X\r\n";
    grid().clearSelection();
    grid().setCurrentCell(2, 0);
    QTest::keyClick(&grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid().cell(0, 2), "X");
    pressUndo();
    EXPECT_EQ(grid().cell(0, 2), "P3");
}

TEST_F(HitEditorTest, ARowWithoutHitClearsTheStatusAndCounter) {
    search("NOTHING");
    form->statusPanel(0).setText("stale");
    page().Label6->setText("stale");
    grid().setCurrentCell(0, 0);
    emit grid().currentCellChanged(0, 0, 0, 0);
    EXPECT_EQ(form->statusPanel(0).text(), "");
    EXPECT_EQ(page().Label6->text(), "");
}

} // namespace
} // namespace kalvex::testing
