#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include "attrgrid/AttrGridPage.h"
#include "cadlink/MessageFilter.h"
#include "qtplatform/QtWindowSystem.h"
#include "search/SearchPage.h"
#include "texttab/LineEditor.h"
#include "texttab/TextTabPage.h"
#include "transform/TransformDialogs.h"
#include "widgets/StringGrid.h"

#include "MainFormFixture.h"

namespace kalvex::testing {

TEST_F(MainFormTest, CreationStartsFromTheDefaults) {
    const WorkState& work = form->work();
    EXPECT_EQ(work.TargetProgID, "nanoCAD.Application.5.0");
    EXPECT_EQ(work.startCol, -1);
    EXPECT_EQ(work.startRow, -1);
    EXPECT_FALSE(work.runFlag);
    EXPECT_EQ(form->pageControl().currentIndex(), 0);
    EXPECT_EQ(form->attrGridTab().StringGrid1->columnWidth(0), 30);
    EXPECT_EQ(link.MonitorScalePercent, 125);
    EXPECT_EQ(link.toolWindow, QtWindowSystem::handleOf(form.get()));
    EXPECT_NE(currentMessageFilter(), nullptr);
    EXPECT_TRUE(form->textTab().SynEdit1->toPlainText().isEmpty());
}

TEST_F(MainFormTest, TheEditingAidDialogsAreCreatedHidden) {
    TransformDialogs& dialogs = form->transformDialogs();
    const QWidget* created[] = {&dialogs.tikan, &dialogs.kasan, &dialogs.renban};
    const char* names[] = {"TOrvikTikanForm", "TOrvikKasanForm", "TOrvikRenbanForm"};
    form->show();
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(created[index]->objectName(), QLatin1String(names[index]));
        EXPECT_TRUE(created[index]->isHidden());
    }
}

TEST_F(MainFormTest, WithoutSettingsTheWindowIsCentredOnTheScreen) {
    const QRect screen = form->screen()->geometry();
    const QRect frame = form->frameGeometry();
    EXPECT_EQ(frame.left(), screen.left() + (screen.width() - frame.width()) / 2);
    EXPECT_EQ(frame.top(), screen.top() + (screen.height() - frame.height()) / 2);
}

TEST_F(MainFormTest, DestroyingTheWindowRevokesTheMessageFilter) {
    IMessageFilter* before = currentMessageFilter();
    ASSERT_NE(before, nullptr);
    form.reset();
    EXPECT_NE(currentMessageFilter(), before);
}

TEST_F(MainFormTest, SearchGridColumnFollowsTheWindowWidth) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    StringGrid* grid = form->searchTab().StringGrid2;
    form->pageControl().setCurrentIndex(2); // first shown: the page takes its size now
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->columnWidth(0), grid->viewport()->width());
    EXPECT_GT(grid->columnWidth(0), 250);

    form->pageControl().setCurrentIndex(0);
    form->setFixedWidth(form->width() + 120); // the user cannot resize the window; a program can
    form->pageControl().setCurrentIndex(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->columnWidth(0), grid->viewport()->width());
    EXPECT_GT(grid->columnWidth(0), 370);
}

// The window keeps its size; the fetched-data count shows five digits whole within it.
TEST_F(MainFormTest, TheFetchedDataCountHasRoomForFiveDigits) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(form->size(), QSize(TOrvikMainForm::kClientWidth, TOrvikMainForm::kClientHeight));
    QLabel* label = form->textTab().Label1;
    label->setText(QStringLiteral("取得データ数 = 99999"));
    QCoreApplication::processEvents();
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    const QRect inWindow(label->mapTo(form.get(), QPoint(0, 0)), label->size());
    EXPECT_TRUE(form->rect().contains(inWindow));
}

TEST_F(MainFormTest, ChangingTabsEmptiesTheStatusPanels) {
    form->statusPanel(0).setText(QStringLiteral("Row = 1 / 0 Col= 1"));
    form->statusPanel(1).setText(QStringLiteral("selRows = 0"));
    form->pageControl().setCurrentIndex(1);
    EXPECT_TRUE(form->statusPanel(0).text().isEmpty());
    EXPECT_TRUE(form->statusPanel(1).text().isEmpty());
}

TEST_F(MainFormTest, SelectAllSelectsTheWholeEditorText) {
    LineEditor* editor = form->textTab().SynEdit1;
    editor->setPlainText(QStringLiteral("R-101\nポンプ\nP-2"));
    form->textTab().SpeedButton3->click();
    EXPECT_EQ(editor->textCursor().selectedText(), QStringLiteral("R-101") + QChar(0x2029) +
                                                       QStringLiteral("ポンプ") + QChar(0x2029) +
                                                       QStringLiteral("P-2"));
}

TEST_F(MainFormTest, AbortButtonsClearTheRunFlag) {
    QPushButton* abortText = form->textTab().SpeedButton5;
    QPushButton* abortGrid = form->attrGridTab().SpeedButton12;
    form->work().runFlag = true;
    abortText->setEnabled(true);
    abortText->click();
    EXPECT_FALSE(form->work().runFlag);
    EXPECT_FALSE(abortText->isEnabled());

    form->work().runFlag = true;
    abortGrid->setEnabled(true);
    abortGrid->click();
    EXPECT_FALSE(form->work().runFlag);
    EXPECT_TRUE(abortGrid->isEnabled()); // its operation disables it when it ends
}

TEST_F(MainFormTest, UpperCaseOptionTurnsTypedSearchTextIntoCapitals) {
    QLineEdit* search = form->searchTab().Edit3;
    QTest::keyClicks(search, QStringLiteral("p-1a"));
    EXPECT_EQ(search->text(), QStringLiteral("P-1A"));
    form->searchTab().setSearchInputCase(InputCase::Normal);
    search->clear();
    QTest::keyClicks(search, QStringLiteral("p-1a"));
    EXPECT_EQ(search->text(), QStringLiteral("p-1a"));
}

} // namespace kalvex::testing
