#include <QApplication>
#include <QLabel>
#include <QMetaObject>
#include <QTest>

#include "SearchFixture.h"
#include "search/SearchPattern.h"
#include "workstate/WorkState.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;
using drawing::LayerState;

class TextSearchTest : public SearchTest {
protected:
    void SetUp() override {
        builder.layer("OLD", LayerState::Locked).layer("OLD2");
        handles.push_back(builder.text({.text = "B", .insertion = {1, 2, 0}}));
        handles.push_back(builder.text({.text = "A", .insertion = {3.25, 4.5, 0}}));
        handles.push_back(builder.text({.text = "B", .insertion = {5, 6, 0}, .layer = "OLD"}));
        handles.push_back(builder.text({.text = "C", .insertion = {7, 8, 0}, .layer = "OLD2"}));
        handles.push_back(builder.text({.text = "XAB", .insertion = {9, 9, 0}}));
        use(builder);
        SearchTest::SetUp();
    }

    // Clicks the button once the search has started reading its hits.
    void clickWhileRunning(QWidget* target) {
        QMetaObject::invokeMethod(
            target, [target] { static_cast<QAbstractButton*>(target)->click(); },
            Qt::QueuedConnection);
    }

    void expectIdleAndEmpty() {
        EXPECT_TRUE(hits().empty());
        EXPECT_EQ(gridTexts(), QStringList{""});
        EXPECT_EQ(grid().object(0, 0), 0);
        EXPECT_EQ(page().SpeedButton14->text(), "検索");
        EXPECT_TRUE(page().Edit3->isEnabled());
        EXPECT_FALSE(form->work().runFlag);
        EXPECT_TRUE(model->selectionSets().empty());
    }

    int selectCalls() { return faults->callCount("Select"); }

    DrawingBuilder builder;
    std::vector<std::string> handles;
};

TEST_F(TextSearchTest, HitsAreSortedByTextTaggedAndTheFirstIsShown) {
    search("");
    EXPECT_EQ(page().Label7->text(), "[*] (部分一致)");
    EXPECT_EQ(gridTexts(), (QStringList{"A", "B", "B", "C", "XAB"}));
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(grid().object(0, row), row + 1);
    // The two Bs stay in drawing order: exchanges move the first B past the other only when
    // one of them is smaller.
    EXPECT_EQ(hits()[1].sHnd, handles[0]);
    EXPECT_EQ(hits()[2].sHnd, handles[2]);
    EXPECT_EQ(hits()[0].index, 1);
    EXPECT_EQ(grid().currentRow(), 0);
    EXPECT_EQ(page().Label6->text(), "1 / 5");
    EXPECT_EQ(form->statusPanel(0).text(), QString::fromStdString(handles[1]));
    EXPECT_EQ(form->statusPanel(1).text(), "3.250, 4.500");
    EXPECT_EQ(page().SpeedButton14->text(), "検索");
    EXPECT_TRUE(page().Edit3->isEnabled());
    EXPECT_TRUE(model->selectionSets().empty());
}

TEST_F(TextSearchTest, PrefixAndContainsSendTheirPatterns) {
    page().CheckBox3->setChecked(true);
    search("A");
    EXPECT_EQ(page().Label7->text(), "[A*] (部分一致)");
    EXPECT_EQ(gridTexts(), (QStringList{"A"}));
    page().CheckBox3->setChecked(false); // searches again with the new setting
    EXPECT_EQ(page().Label7->text(), "[*A*] (部分一致)");
    EXPECT_EQ(gridTexts(), (QStringList{"A", "XAB"}));
}

TEST_F(TextSearchTest, OnlyThisSearchsLockedLayersMarkHits) {
    search("B");
    std::vector<bool> locked;
    for (const Orvik2& hit : hits())
        locked.push_back(hit.locked);
    EXPECT_EQ(locked, (std::vector<bool>{false, true, false}));

    DrawingBuilder unlocked;
    unlocked.layer("OLD");
    unlocked.text({.text = "B", .layer = "OLD"});
    use(unlocked);
    search("B");
    ASSERT_EQ(hits().size(), 1u);
    EXPECT_FALSE(hits()[0].locked);
}

TEST_F(TextSearchTest, ASearchWithoutHitsShowsOneEmptyRow) {
    form->statusPanel(0).setText("stale");
    search("NOTHING");
    EXPECT_EQ(page().Label6->text(), "");
    expectIdleAndEmpty();
    EXPECT_EQ(form->statusPanel(0).text(), "");
}

TEST_F(TextSearchTest, AbortMidSearchDropsTheHits) {
    search("B");
    ASSERT_EQ(hits().size(), 3u);
    page().Edit3->setText("");
    clickWhileRunning(page().SpeedButton14);
    page().SpeedButton14->click();
    expectIdleAndEmpty();
    EXPECT_EQ(page().Label7->text(), "検索 (部分一致)");
}

TEST_F(TextSearchTest, ATogglesWhileRunningAbortsTheSearch) {
    page().Edit3->setText("B");
    clickWhileRunning(page().CheckBox4);
    page().SpeedButton14->click();
    expectIdleAndEmpty();
    EXPECT_EQ(page().Label7->text(), "検索 (部分一致)");
    EXPECT_EQ(selectCalls(), 1);
}

// On the shown tab the progress label keeps one size, wide enough for its text, while a search
// runs (so that a new text repaints only the label); afterwards it follows its layout again.
TEST_F(TextSearchTest, TheProgressLabelKeepsOneSizeWhileASearchRuns) {
    form->show();
    QApplication::processEvents();
    QLabel& progress = *page().Label6;
    const QSize minimum = progress.minimumSize();
    const QSize maximum = progress.maximumSize();
    ASSERT_NE(minimum, maximum);
    bool held = false;
    bool fits = false;
    QMetaObject::invokeMethod(
        &progress,
        [&] {
            held = progress.minimumSize() == progress.maximumSize();
            fits = progress.sizeHint().width() <= progress.minimumWidth();
        },
        Qt::QueuedConnection);
    search("B");
    EXPECT_TRUE(held);
    EXPECT_TRUE(fits);
    EXPECT_EQ(progress.minimumSize(), minimum);
    EXPECT_EQ(progress.maximumSize(), maximum);
    EXPECT_EQ(progress.text(), "1 / 3");
}

TEST_F(TextSearchTest, TogglesSearchAgainOnlyWithTextOnTheSearchTab) {
    page().Edit3->setText("");
    page().CheckBox3->toggle();
    page().CheckBox4->toggle();
    EXPECT_EQ(selectCalls(), 0);

    page().Edit3->setText("B");
    form->pageControl().setCurrentIndex(0);
    page().CheckBox3->toggle();
    EXPECT_EQ(selectCalls(), 0);

    form->pageControl().setCurrentIndex(2);
    page().CheckBox3->toggle();
    page().CheckBox4->toggle();
    EXPECT_EQ(selectCalls(), 2);
    EXPECT_EQ(page().Label7->text(), "[B*] (部分一致)"); // the third toggle of "先頭一致"
}

TEST_F(TextSearchTest, UpperCaseInputFollowsTheCheckBox) {
    page().Edit3->clear();
    page().CheckBox4->setChecked(true);
    QTest::keyClicks(page().Edit3, "xab");
    EXPECT_EQ(page().Edit3->text(), "XAB");
    page().Edit3->clear();
    page().CheckBox4->setChecked(false);
    QTest::keyClicks(page().Edit3, "xab");
    EXPECT_EQ(page().Edit3->text(), "xab");
}

TEST_F(TextSearchTest, EnterInTheSearchTextSearches) {
    page().Edit3->setText("C");
    QTest::keyClick(page().Edit3, Qt::Key_Return);
    EXPECT_EQ(gridTexts(), (QStringList{"C"}));
}

TEST_F(TextSearchTest, WithoutCadTheResultIsEmptyAndNothingIsSaid) {
    search("B");
    windows.windows.erase(kCadWindow);
    search("B");
    expectIdleAndEmpty();
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(TextSearchTest, AnErrorWhileReadingIsReportedAndLeavesTheTabIdle) {
    search("B");
    faults->failOn("TextString", handles[2]);
    search("B");
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    expectIdleAndEmpty();
    EXPECT_EQ(page().Label7->text(), "検索 (部分一致)");
}

TEST_F(TextSearchTest, ANewSearchEmptiesTheGridHistory) {
    search("B");
    form->work().sgUndoCnt2 = 3;
    grid().editItem(grid().item(0, 0));
    search("B");
    EXPECT_EQ(form->work().sgUndoCnt2, 0);
    grid().setCell(0, 0, "changed");
    QTest::keyClick(&grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid().cell(0, 0), "changed");
}

} // namespace
} // namespace kalvex::testing
