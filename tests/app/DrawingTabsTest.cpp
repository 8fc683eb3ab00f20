#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "cadlink/Text.h"
#include "drawing/cad/EntityPicker.h"
#include "drawing/dxf/DxfFile.h"
#include "drawingwindow/DrawingWindow.h"
#include "kit/DrawingBuilder.h"
#include "search/SearchPage.h"
#include "shell/TOrvikMainForm.h"
#include "support/FakePorts.h"
#include "support/FakeWindowSystem.h"
#include "texttab/LineEditor.h"
#include "texttab/TextTabPage.h"
#include "widgets/StringGrid.h"

namespace kalvex::testing {
namespace {

constexpr WindowHandle kCadWindow = 2;

// The tool beside the real drawing window holding two drawings, A and B, whose one TEXT has
// the same handle in both: written by handle into the wrong drawing, a change would land.
class DrawingTabsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePorts fakes;
    FakeWindowSystem windows;
    drawing::DrawingWindow window{fakes.messages, QStringLiteral("nanoCAD 5")};
    CadLink link{.windows = windows, .waiter = windows, .createApplication = [this] {
                     return window.connect();
                 }};
    std::unique_ptr<TOrvikMainForm> form;
    std::shared_ptr<drawing::ScriptedPicker> picks = std::make_shared<drawing::ScriptedPicker>();
    std::string handle;

    void SetUp() override {
        windows.addWindow(kCadWindow, {.title = "nanoCAD 5", .thread = 2});
        handle = writeDrawing("a.dxf", "A-1");
        ASSERT_EQ(writeDrawing("b.dxf", "B-1"), handle);
        ASSERT_TRUE(window.openFile(path("a.dxf")));
        ASSERT_TRUE(window.openFile(path("b.dxf")));
        window.setPicker(picks);
        form = std::make_unique<TOrvikMainForm>(fakes.ports, link);
    }

    QString path(const char* name) { return dir.filePath(QString::fromLatin1(name)); }

    std::string writeDrawing(const char* name, const char* text) {
        drawing::DrawingBuilder b;
        const std::string h = b.text({.text = text, .insertion = {0, 0, 0}, .height = 5});
        drawing::saveDxf(*b.drawing(), path(name).toStdString());
        return h;
    }

    std::string textIn(int tab) {
        window.activateTab(tab);
        return cad::entityAs<cad::Text>(
                   window.model()->application()->ActiveDocument()->HandleToObject(handle))
            ->TextString();
    }

    void fetchTextFromA() {
        window.activateTab(0);
        picks->addPick({handle});
        form->textTab().SpeedButton1->click();
        ASSERT_EQ(form->textTab().SynEdit1->toPlainText(), QStringLiteral("A-1"));
    }

    void updateTo(const QString& text) {
        form->textTab().SynEdit1->setPlainText(text);
        form->textTab().SpeedButton2->click();
    }
};

TEST_F(DrawingTabsTest, AnUpdateAfterATabSwitchWritesIntoTheDrawingTheTextsCameFrom) {
    fetchTextFromA();
    window.activateTab(1);
    updateTo(QStringLiteral("A-2"));
    EXPECT_EQ(textIn(0), "A-2");
    EXPECT_EQ(textIn(1), "B-1");
    window.activateTab(0);
    EXPECT_TRUE(window.isModified());
    window.activateTab(1);
    EXPECT_FALSE(window.isModified());

    // Each drawing undoes its own changes only.
    window.undo();
    EXPECT_EQ(textIn(0), "A-2");
    window.activateTab(0);
    window.undo();
    EXPECT_EQ(textIn(0), "A-1");
}

TEST_F(DrawingTabsTest, ClosingTheSourceDrawingAsksAndThenNothingIsWritten) {
    fetchTextFromA();
    updateTo(QStringLiteral("A-2"));
    fakes.messages.shown.clear();
    fakes.messages.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(window.closeTab(0));
    EXPECT_EQ(window.tabCount(), 2);
    fakes.messages.answers = {MessageAnswer::No};
    EXPECT_TRUE(window.closeTab(0));
    ASSERT_EQ(window.tabCount(), 1);
    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_EQ(fakes.messages.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(fakes.messages.shown[0].text.contains(QStringLiteral("a.dxf")));

    fakes.messages.shown.clear();
    updateTo(QStringLiteral("A-3"));
    EXPECT_EQ(textIn(0), "B-1");
    EXPECT_FALSE(window.isModified());
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_TRUE(fakes.messages.shown[0].text.contains(QStringLiteral("閉じられています")));
    // What was not saved of A is gone; the file keeps what it had.
    EXPECT_NE(drawing::loadDxf(path("a.dxf").toStdString())->serialize().find("A-1"),
              std::string::npos);
}

// The search tab keeps its hits' drawing too: the mechanism is the same for every tab.
TEST_F(DrawingTabsTest, SearchHitsAreWrittenIntoTheDrawingSearched) {
    window.activateTab(1);
    form->pageControl().setCurrentIndex(2);
    SearchPage& search = form->searchTab();
    search.Edit3->setText(QStringLiteral("B-*"));
    search.SpeedButton14->click();
    ASSERT_EQ(search.StringGrid2->cell(0, 0), QStringLiteral("B-1"));
    window.activateTab(0);
    search.StringGrid2->setCell(0, 0, QStringLiteral("B-2"));
    search.SpeedButton15->click();
    EXPECT_EQ(textIn(1), "B-2");
    EXPECT_EQ(textIn(0), "A-1");
}

TEST_F(DrawingTabsTest, TabsOpenOnceSaveTogetherAndAskInTurnWhenTheWindowCloses) {
    EXPECT_TRUE(window.openFile(path("a.dxf")));
    EXPECT_EQ(window.tabCount(), 2);
    EXPECT_EQ(window.activeTab(), 0);
    EXPECT_FALSE(window.openFile(path("missing.dxf")));
    EXPECT_EQ(window.tabCount(), 2);

    fetchTextFromA();
    updateTo(QStringLiteral("A-2"));
    fakes.messages.shown.clear();
    fakes.messages.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(window.close());
    EXPECT_EQ(window.tabCount(), 2);
    EXPECT_TRUE(window.saveAll());
    EXPECT_FALSE(window.isModified());
    EXPECT_NE(drawing::loadDxf(path("a.dxf").toStdString())->serialize().find("A-2"),
              std::string::npos);
    EXPECT_TRUE(window.close());
}

} // namespace
} // namespace kalvex::testing
