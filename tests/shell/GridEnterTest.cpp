#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "attrgrid/AttrGridPage.h"
#include "cadlink/AttributeReference.h"
#include "cadlink/Text.h"
#include "drawing/cad/EntityPicker.h"
#include "kit/DrawingBuilder.h"
#include "search/SearchPage.h"
#include "widgets/StringGrid.h"
#include "workstate/WorkState.h"

#include "MainFormFixture.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

enum class Grid { Attributes, Search };

// Enter in either string grid of the main window, each filled by its own fetch: the attribute
// grid with the NAME attributes V-1 and V-2 of two references (cells (1, 1) and (1, 2)), the
// search grid with the TEXTs T-1 and T-2 (cells (0, 0) and (0, 1)). Both tabs start with
// "Enter writes" and "Enter moves down" ticked.
class GridEnterTest : public MainFormTest, public ::testing::WithParamInterface<Grid> {
protected:
    static constexpr WindowHandle kCadWindow = 2;

    void SetUp() override {
        windows.addWindow(kCadWindow, {.title = "nanoCAD 5", .thread = 2});
        link.createApplication = [this] { return model->application(); };
        MainFormTest::SetUp();
        DrawingBuilder b;
        b.block("VALVE", {{"NAME", "", ""}});
        for (const char* name : {"V-1", "V-2"})
            inserts.push_back(b.insert({.block = "VALVE", .attributes = {{"NAME", name}}}));
        texts = {b.text({.text = "T-1"}), b.text({.text = "T-2"})};
        model = b.model();
        picker = std::make_shared<drawing::ScriptedPicker>();
        model->setPicker(picker);
        fetch();
    }

    void fetch() {
        if (GetParam() == Grid::Attributes) {
            form->pageControl().setCurrentIndex(1);
            AttrGridPage& page = form->attrGridTab();
            page.ComboBox2->addItem(QStringLiteral("弁,NAME"));
            page.ComboBox2->setCurrentText(QStringLiteral("弁,NAME"));
            picker->addPick({inserts[0][0], inserts[1][0]});
            page.SpeedButton10->click();
        } else {
            form->pageControl().setCurrentIndex(2);
            form->searchTab().Edit3->setText(QStringLiteral("T-"));
            form->searchTab().SpeedButton14->click();
        }
    }

    bool attributes() const { return GetParam() == Grid::Attributes; }
    StringGrid& grid() {
        return attributes() ? *form->attrGridTab().StringGrid1 : *form->searchTab().StringGrid2;
    }
    // The cell of the n-th value, as (column, row).
    QPoint cellOf(int n) const { return attributes() ? QPoint(1, n + 1) : QPoint(0, n); }
    QString fetched(int n) const {
        return QString::fromLatin1(attributes() ? "V-%1" : "T-%1").arg(n + 1);
    }
    std::string drawingText(int n) {
        auto object = model->application()->ActiveDocument()->HandleToObject(
            attributes() ? inserts[n][1] : texts[n]);
        return attributes() ? cad::entityAs<cad::AttributeReference>(object)->TextString()
                            : cad::entityAs<cad::Text>(object)->TextString();
    }
    int undoCount() { return attributes() ? form->work().sgUndoCnt : form->work().sgUndoCnt2; }

    void makeCurrent(int n) { grid().setCurrentCell(cellOf(n).y(), cellOf(n).x()); }
    QPoint current() { return {grid().currentColumn(), grid().currentRow()}; }
    QLineEdit* editor() {
        return form->findChild<QLineEdit*>(grid().objectName() + QStringLiteral(".InplaceEdit"));
    }

    std::vector<std::vector<std::string>> inserts;
    std::vector<std::string> texts;
    std::shared_ptr<drawing::CadModel> model;
    std::shared_ptr<drawing::ScriptedPicker> picker;
};

TEST_P(GridEnterTest, EnterWithTheEditorClosedOpensItOnTheCurrentCellAndSavesTheCell) {
    ASSERT_EQ(grid().cell(cellOf(1).x(), cellOf(1).y()), fetched(1));
    makeCurrent(0);
    ASSERT_FALSE(grid().editorOpen());
    QTest::keyClick(&grid(), Qt::Key_Return);
    EXPECT_TRUE(grid().editorOpen());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), fetched(0));
    EXPECT_EQ(current(), cellOf(0));
    EXPECT_EQ(undoCount(), 1);
}

TEST_P(GridEnterTest, EnterInTheOpenEditorWritesTheCellClosesTheEditorAndMovesDown) {
    makeCurrent(0);
    QTest::keyClick(&grid(), Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    editor()->setText(QStringLiteral("X-1"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_FALSE(grid().editorOpen());
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(drawingText(0), "X-1");
    EXPECT_EQ(current(), cellOf(1));

    QTest::keyClick(&grid(), Qt::Key_Return);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), fetched(1));
    // Each opening saved its cell: the second undo takes the first cell's edit back.
    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid().cell(cellOf(0).x(), cellOf(0).y()), fetched(0));
}

TEST_P(GridEnterTest, EnterWithTheEditorClosedWritesAChangedCellWithoutMoving) {
    makeCurrent(1);
    grid().setCell(cellOf(1).x(), cellOf(1).y(), QStringLiteral("X-2"));
    QTest::keyClick(&grid(), Qt::Key_Return);
    EXPECT_EQ(drawingText(1), "X-2");
    EXPECT_EQ(current(), cellOf(1));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), "X-2");
}

INSTANTIATE_TEST_SUITE_P(BothGrids, GridEnterTest,
                         ::testing::Values(Grid::Attributes, Grid::Search),
                         [](const ::testing::TestParamInfo<Grid>& info) {
                             return info.param == Grid::Attributes ? "StringGrid1" : "StringGrid2";
                         });

} // namespace
} // namespace kalvex::testing
