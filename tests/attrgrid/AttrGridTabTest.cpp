#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "attrgrid/AttrGridFetch.h"
#include "attrgrid/AttrGridHandlers.h"
#include "attrgrid/AttrGridPage.h"
#include "cadlink/AttributeReference.h"
#include "drawing/cad/EntityPicker.h"
#include "kit/DrawingBuilder.h"
#include "kit/FaultInjector.h"
#include "shell/MainFormFixture.h"
#include "shell/ProgramFiles.h"
#include "texttab/TextTabPage.h"
#include "widgets/GridCellDelegate.h"
#include "widgets/StringGrid.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

// The main window on its grid tab beside a drawing of VALVE and PUMP block references.
class AttrGridTabTest : public MainFormTest {
protected:
    static constexpr WindowHandle kCadWindow = 2;

    void SetUp() override {
        windows.addWindow(kCadWindow, {.title = "nanoCAD 5", .thread = 2});
        link.createApplication = [this] { return withFaults(model->application(), faults); };
        MainFormTest::SetUp();
        form->pageControl().setCurrentIndex(1);
        b.block("PUMP", {{"NAME", "機器名", ""}, {"SPEC", "仕様", ""}});
        b.block("VALVE", {{"NAME", "", ""}});
        b.block("OTHER", {{"X", "x", ""}});
        valve = b.insert({.block = "VALVE",
                          .insertion = {0, 0, 0},
                          .attributes = {{.tag = "NAME", .text = "V-1"}}});
        pump = b.insert(
            {.block = "PUMP",
             .insertion = {20, 1, 0},
             .attributes = {{.tag = "NAME", .text = "P-1"}, {.tag = "SPEC", .text = "10kW"}}});
        other = b.insert(
            {.block = "OTHER", .insertion = {5, 0, 0}, .attributes = {{.tag = "X", .text = "x"}}});
        model = b.model();
        picker = std::make_shared<drawing::ScriptedPicker>();
        model->setPicker(picker);
    }

    AttrGridPage& page() { return form->attrGridTab(); }
    StringGrid& grid() { return *page().StringGrid1; }

    void fetch(const QString& tagSet, const std::vector<std::string>& handles) {
        page().ComboBox2->addItem(tagSet);
        page().ComboBox2->setCurrentText(tagSet);
        picker->addPick(handles);
        page().SpeedButton10->click();
    }

    void fetchAll() { fetch("機器,NAME,SPEC", {valve[0], pump[0], other[0]}); }

    std::string drawingText(const std::string& handle) {
        return cad::entityAs<cad::AttributeReference>(
                   model->application()->ActiveDocument()->HandleToObject(handle))
            ->TextString();
    }

    void pressEnter(int col, int row) {
        grid().setCurrentCell(row, col);
        QTest::keyClick(&grid(), Qt::Key_Return);
    }

    // The background and text colours the grid's delegate draws the cell in.
    std::pair<QColor, QColor> colours(int col, int r) {
        auto* delegate = static_cast<GridCellDelegate*>(grid().itemDelegate());
        QStyleOptionViewItem option;
        delegate->initStyleOption(&option, grid().model()->index(r, col));
        return {option.backgroundBrush.color(), option.palette.color(QPalette::Text)};
    }

    QStringList row(int r) {
        QStringList texts;
        for (int col = 0; col < grid().columnCount(); ++col)
            texts << grid().cell(col, r);
        return texts;
    }

    DrawingBuilder b;
    std::vector<std::string> valve, pump, other;
    std::shared_ptr<drawing::CadModel> model;
    std::shared_ptr<drawing::ScriptedPicker> picker;
    std::shared_ptr<FaultInjector> faults = std::make_shared<FaultInjector>();
};

TEST_F(AttrGridTabTest, FetchFillsOneRowPerReferenceWithPromptsFromAnyRow) {
    fetchAll();
    ASSERT_EQ(grid().rowCount(), 3);
    ASSERT_EQ(grid().columnCount(), 3);
    EXPECT_EQ(row(0), (QStringList{"", "機器名", "仕様"}));
    EXPECT_EQ(row(1), (QStringList{"1", "V-1", ""}));
    EXPECT_EQ(row(2), (QStringList{"2", "P-1", "10kW"}));
    EXPECT_EQ(grid().object(2, 1), 0);
    EXPECT_GT(grid().object(2, 2), 0);
    EXPECT_EQ(page().Label5->text(), "ATTR = 2 / 3");
    EXPECT_TRUE(page().SpeedButton11->isEnabled());
    EXPECT_FALSE(page().SpeedButton12->isEnabled());
    EXPECT_FALSE(form->work().runFlag);
}

// The tool comes back from the pick with the keys going to the grid, whatever had the focus.
TEST_F(AttrGridTabTest, AFetchLeavesTheFocusInTheGrid) {
    page().ComboBox2->setFocus();
    ASSERT_EQ(form->focusWidget(), page().ComboBox2);
    fetchAll();
    EXPECT_EQ(form->focusWidget(), &grid());
}

TEST_F(AttrGridTabTest, TagSetParsing) {
    const struct {
        const char* line;
        const char* pattern;
        std::size_t tags;
    } cases[] = {
        {"機器[P*],NAME", "P*", 1},
        {"機器[],NAME", "*", 1},
        {"[P*],NAME", "*", 1},
        {"機器", "*", 0},
        {"", "*", 0},
        {"a ,B , C", "*", 2},
    };
    for (const auto& c : cases) {
        const TagSet set = parseTagSet(QString::fromUtf8(c.line));
        EXPECT_EQ(set.pattern, c.pattern) << c.line;
        EXPECT_EQ(set.tags.size(), c.tags) << c.line;
    }
    EXPECT_EQ(parseTagSet("a ,B , C").tags[0], "B ");
}

TEST_F(AttrGridTabTest, ACaptionWithoutTagsAcceptsNothing) {
    fetch("空", {valve[0], pump[0]});
    EXPECT_EQ(grid().columnCount(), 1);
    EXPECT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(grid().cell(0, 1), "");
}

TEST_F(AttrGridTabTest, CancelledPickKeepsTheTableAndItsUndo) {
    fetchAll();
    form->attrGridHandlers().StringGrid1GetEditText(1, 2);
    grid().setCell(1, 2, "typed");
    picker->addCancel();
    page().SpeedButton10->click();
    EXPECT_EQ(page().Label5->text(), "INSERT = 0");
    EXPECT_EQ(grid().cell(1, 2), "typed");
    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid().cell(1, 2), "P-1");
}

TEST_F(AttrGridTabTest, AbortDuringTheFirstPassLeavesTwoEmptyRows) {
    QTimer::singleShot(0, [this] { page().SpeedButton12->click(); });
    fetchAll();
    EXPECT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(row(1), (QStringList{"", "", ""}));
    EXPECT_TRUE(form->work().records.gridBlocks.empty());
    EXPECT_FALSE(page().SpeedButton12->isEnabled());
}

TEST_F(AttrGridTabTest, AFailingRowStaysEmptyAndTheOthersAreFilled) {
    faults->failOn("TextString", pump[1]);
    fetchAll();
    EXPECT_EQ(row(1), (QStringList{"1", "V-1", ""}));
    EXPECT_EQ(row(2), (QStringList{"2", "", ""}));
}

// The grid fills with its columns unmeasured and fits them once: a fetch that breaks off
// among the rows must still show the widest text of each column filled so far.
TEST_F(AttrGridTabTest, AFetchBrokenOffInTheRowsStillShowsEachColumnsWidestText) {
    const QString wide = QStringLiteral("原水ポンプ 第二系統 予備機");
    cad::entityAs<cad::AttributeReference>(
        model->application()->ActiveDocument()->HandleToObject(valve[1]))
        ->SetTextString(wide.toStdString());
    faults->failOn("HandleToObject", pump[0]);
    fetchAll();
    ASSERT_EQ(row(1), (QStringList{"1", wide, ""}));
    ASSERT_EQ(row(2), (QStringList{"2", "", ""}));
    EXPECT_GE(grid().columnWidth(1), QFontMetrics(grid().font()).horizontalAdvance(wide));
}

TEST_F(AttrGridTabTest, EnterWritesAChangedCellAndMovesAsTheBoxesSay) {
    fetchAll();
    page().CheckBox2->setChecked(false);
    grid().setCell(1, 2, "P-9");
    pressEnter(1, 2);
    EXPECT_EQ(drawingText(pump[1]), "P-9");
    EXPECT_EQ(grid().currentColumn(), 2);
    pressEnter(2, 2); // last attribute cell, no next row: stays
    EXPECT_EQ(grid().currentColumn(), 2);
    EXPECT_EQ(grid().currentRow(), 2);
    pressEnter(1, 1); // no attribute to the right, next row starts with one
    EXPECT_EQ(grid().currentColumn(), 1);
    EXPECT_EQ(grid().currentRow(), 2);
    page().CheckBox7->setChecked(false);
    grid().setCell(1, 2, "P-10");
    pressEnter(1, 2);
    EXPECT_EQ(drawingText(pump[1]), "P-9");
}

TEST_F(AttrGridTabTest, EnterInTheOpenEditorOnTheLastRowWrapsToRowOne) {
    fetchAll();
    grid().setCurrentCell(2, 1);
    grid().editItem(grid().item(2, 1));
    ASSERT_TRUE(grid().editorOpen());
    auto* editor = grid().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "X");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(drawingText(pump[1]), "X");
    EXPECT_EQ(grid().currentRow(), 1);
    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid().cell(1, 2), "P-1");
}

TEST_F(AttrGridTabTest, AFailedEnterWritePutsTheStoredValueBack) {
    fetchAll();
    faults->failOn("SetTextString", pump[1]);
    grid().setCell(1, 2, "bad");
    pressEnter(1, 2);
    EXPECT_EQ(grid().cell(1, 2), "P-1");
    EXPECT_EQ(drawingText(pump[1]), "P-1");
}

TEST_F(AttrGridTabTest, PastedCellsAreWrittenByEnterAndByTheButton) {
    fetchAll();
    fakes.clipboard.content = "A\tB\r\n";
    grid().setSelection(QRect(1, 2, 1, 1), QPoint(1, 2));
    QTest::keyClick(&grid(), Qt::Key_V, Qt::ControlModifier);
    pressEnter(1, 2);
    EXPECT_EQ(drawingText(pump[1]), "A");
    EXPECT_EQ(drawingText(pump[2]), "10kW");
    grid().setCell(1, 1, "V-2");
    faults->failOn("SetTextString", valve[1]);
    page().SpeedButton11->click();
    EXPECT_EQ(drawingText(pump[2]), "B");
    EXPECT_EQ(drawingText(valve[1]), "V-1");
}

// An edited or pasted text wider than its column widens the column; a shorter one leaves it.
TEST_F(AttrGridTabTest, AColumnGrowsToShowAnEditedText) {
    fetchAll();
    const int before = grid().columnWidth(1);
    const QString wide = QStringLiteral("原水ポンプ 第二系統 予備機");
    grid().setCell(1, 2, wide);
    EXPECT_GE(grid().columnWidth(1), QFontMetrics(grid().font()).horizontalAdvance(wide));
    EXPECT_GT(grid().columnWidth(1), before);
    const int widened = grid().columnWidth(1);
    grid().setCell(1, 2, QStringLiteral("P"));
    EXPECT_EQ(grid().columnWidth(1), widened);
}

TEST_F(AttrGridTabTest, AfterASortAMovedCellWritesToItsOwnAttribute) {
    fetchAll();
    grid().setCurrentCell(1, 1);
    page().SpeedButton16->click(); // "P-1" sorts before "V-1"
    ASSERT_EQ(grid().cell(1, 1), "P-1");
    grid().setCell(1, 1, "P-2");
    pressEnter(1, 1);
    EXPECT_EQ(drawingText(pump[1]), "P-2");
    EXPECT_EQ(drawingText(valve[1]), "V-1");
    page().SpeedButton18->click();
    EXPECT_EQ(grid().cell(0, 1), "1");
    EXPECT_EQ(grid().cell(1, 1), "V-1");
}

TEST_F(AttrGridTabTest, CellsWithoutAttributeAreGreyAndChangedCellsRed) {
    const QColor grey(192, 192, 192);
    const QColor red(255, 0, 0);
    fetchAll();
    grid().setCell(2, 1, "hidden");
    EXPECT_EQ(colours(2, 1), std::make_pair(grey, grey));
    EXPECT_NE(colours(1, 1).first, grey);
    EXPECT_NE(colours(1, 1).second, red);
    grid().setCell(1, 2, "P-9");
    EXPECT_EQ(colours(1, 2).second, red);
    grid().setCell(1, 2, "P-1");
    EXPECT_NE(colours(1, 2).second, red);
    EXPECT_NE(colours(0, 1).first, grey);
}

TEST_F(AttrGridTabTest, FixedCellClicksSelectAColumnARowOrEverything) {
    fetchAll();
    AttrGridHandlers& h = form->attrGridHandlers();
    h.StringGrid1FixedCellClick(2, 0);
    EXPECT_EQ(grid().selection(), QRect(QPoint(2, 1), QPoint(2, 2)));
    h.StringGrid1FixedCellClick(0, 2);
    EXPECT_EQ(grid().selection(), QRect(QPoint(1, 2), QPoint(2, 2)));
    h.StringGrid1FixedCellClick(0, 0);
    EXPECT_EQ(grid().selection(), QRect(QPoint(1, 1), QPoint(2, 2)));
}

TEST_F(AttrGridTabTest, CellsWithoutAttributeForbidEditingAndEmptyTheStatus) {
    fetchAll();
    grid().setCurrentCell(2, 1);
    EXPECT_TRUE(grid().editing());
    EXPECT_EQ(form->statusPanel(0).text(), QString::fromStdString(pump[1]));
    grid().setCurrentCell(1, 2);
    EXPECT_FALSE(grid().editing());
    EXPECT_EQ(form->statusPanel(0).text(), "");
}

// A window of its own settings folder, so that what it stores reaches no other test.
TEST(AttrGridSettingsTest, OptionsAndTagListSurviveARestart) {
    QTemporaryDir folder;
    const QByteArray before = qgetenv("KALVEX_CONFIG_DIR");
    qputenv("KALVEX_CONFIG_DIR", folder.path().toUtf8());
    FakeWindowSystem windows;
    CadLink link{.windows = windows, .waiter = windows, .createApplication = {}};
    FakePorts fakes;
    {
        TOrvikMainForm form(fakes.ports, link);
        form.attrGridTab().CheckBox7->setChecked(false);
        form.attrGridTab().CheckBox6->setChecked(true);
        form.attrGridTab().ComboBox2->setCurrentIndex(3);
        form.move(-50, 70);
        form.close();
    }
    TOrvikMainForm again(fakes.ports, link);
    EXPECT_FALSE(again.attrGridTab().CheckBox7->isChecked());
    EXPECT_TRUE(again.attrGridTab().CheckBox6->isChecked());
    EXPECT_EQ(again.attrGridTab().ComboBox2->currentIndex(), 3);
    EXPECT_EQ(again.pos(), QPoint(-50, 70));
    EXPECT_TRUE(QFile::exists(folder.filePath("OrvikEditTagList.txt")));
    qputenv("KALVEX_CONFIG_DIR", before);
}

// The index a settings file stores picks the entry it picked where it was written: the
// built-in lists come in the same (Japanese) order there and here.
TEST(AttrGridSettingsTest, AStoredTagIndexSelectsTheSameBuiltInEntry) {
    QTemporaryDir folder;
    const QByteArray before = qgetenv("KALVEX_CONFIG_DIR");
    qputenv("KALVEX_CONFIG_DIR", folder.path().toUtf8());
    QFile settings(settingsFilePath());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[OrvikEdit]\r\nAttTagIndex2=1\r\nAttTagIndex1=3\r\n");
    settings.close();
    FakeWindowSystem windows;
    CadLink link{.windows = windows, .waiter = windows, .createApplication = {}};
    FakePorts fakes;
    TOrvikMainForm form(fakes.ports, link);
    EXPECT_EQ(form.attrGridTab().ComboBox2->currentText(), "機器,NAME,NAME1,SPEC,TYPE");
    EXPECT_EQ(form.textTab().ComboBox1->currentText(), "NAME1:機器名１");
    qputenv("KALVEX_CONFIG_DIR", before);
}

} // namespace
} // namespace kalvex::testing
