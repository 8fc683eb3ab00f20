#include <QPalette>

#include "TextTabFixture.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;
using drawing::LayerState;

const QString kZeroSpacingMessage = QStringLiteral(
    "dX, dY が 0 です．\rdX, dY の値を設定するか、[取得]で複数の TEXT を選択してください．");

QColor textColor(const QLineEdit& edit) {
    return edit.palette().color(QPalette::Text);
}

TEST_F(TextTabTest, OneTextGivesZeroSpacingInRedWithItsMessage) {
    DrawingBuilder b;
    const std::string h = b.text({.text = "TB-01", .insertion = {10, 20, 0}});
    use(b);
    fetch({h});
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("TB-01"));
    EXPECT_EQ(page().Edit1->text(), QStringLiteral("0.00"));
    EXPECT_EQ(page().Edit2->text(), QStringLiteral("0.00"));
    EXPECT_EQ(textColor(*page().Edit1), QColor(255, 0, 0));
    EXPECT_EQ(textColor(*page().Edit2), QColor(255, 0, 0));
    EXPECT_EQ(messageTexts(), QStringList{kZeroSpacingMessage});
    EXPECT_TRUE(page().SpeedButton2->isEnabled());
    EXPECT_FALSE(page().SpeedButton6->isEnabled());
}

TEST_F(TextTabTest, SpacingBelowTwoDecimalsCountsAsZero) {
    DrawingBuilder b;
    const std::string a = b.text({.text = "A", .insertion = {10, 20, 0}});
    const std::string c = b.text({.text = "B", .insertion = {10.004, 20, 0}});
    use(b);
    page().CheckBox1->setChecked(false);
    fetch({a, c});
    EXPECT_EQ(page().Edit1->text(), QStringLiteral("0.00"));
    EXPECT_EQ(messageTexts(), QStringList{kZeroSpacingMessage});
    EXPECT_TRUE(page().SpeedButton6->isEnabled());
}

TEST_F(TextTabTest, SpacingIsTakenFromTheLastTwoTextsInBlack) {
    DrawingBuilder b;
    const std::string a = b.text({.text = "A", .insertion = {0, 50, 0}});
    const std::string c = b.text({.text = "B", .insertion = {0, 45, 0}});
    const std::string d = b.text({.text = "C", .insertion = {0, 37.5, 0}});
    use(b);
    fetch({a, c, d});
    EXPECT_EQ(page().Edit1->text(), QStringLiteral("0.00"));
    EXPECT_EQ(page().Edit2->text(), QStringLiteral("-7.50"));
    EXPECT_EQ(textColor(*page().Edit1), QColor(0, 0, 0));
    EXPECT_TRUE(messages().empty());
}

TEST_F(TextTabTest, TextsOnLockedLayersAreLeftOutAndCounted) {
    DrawingBuilder b;
    b.layer("旧図", LayerState::Locked).layer("OLD", LayerState::Locked);
    std::vector<std::string> handles;
    handles.push_back(b.text({.text = "1", .insertion = {0, 40, 0}}));
    handles.push_back(b.text({.text = "x", .insertion = {0, 30, 0}, .layer = "旧図"}));
    handles.push_back(b.text({.text = "2", .insertion = {0, 20, 0}}));
    handles.push_back(b.text({.text = "y", .insertion = {0, 10, 0}, .layer = "OLD"}));
    handles.push_back(b.text({.text = "3", .insertion = {0, 0, 0}}));
    use(b);
    fetch(handles);
    EXPECT_EQ(editorLines(), (QStringList{"1", "2", "3"}));
    ASSERT_EQ(records().size(), 3u);
    EXPECT_EQ(records()[1].sHnd, handles[2]);
    EXPECT_EQ(messageTexts().value(0), QStringLiteral("ロック画層のTEXT 2 個を除外しました."));
}

TEST_F(TextTabTest, AllTextsLockedEmptiesTheEditorButKeepsSpacingAndButtons) {
    DrawingBuilder b;
    b.layer("OLD", LayerState::Locked);
    const std::string first = b.text({.text = "a", .insertion = {0, 0, 0}});
    const std::string second = b.text({.text = "b", .insertion = {5, 0, 0}});
    const std::string locked = b.text({.text = "x", .layer = "OLD"});
    use(b);
    fetch({first, second});
    fetch({locked});
    EXPECT_TRUE(records().empty());
    EXPECT_TRUE(editor().toPlainText().isEmpty());
    EXPECT_EQ(page().Edit1->text(), QStringLiteral("5.00"));
    EXPECT_TRUE(page().SpeedButton6->isEnabled());
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("ロック画層のTEXT 1 個を除外しました.")});
}

// Line k of the editor always belongs to record k: a string the editor would split into
// several lines is left out of the fetch and counted, and an update without edits rewrites
// nothing and appends nothing.
TEST_F(TextTabTest, TextsHoldingALineBreakAreLeftOutAndCounted) {
    DrawingBuilder b;
    b.layer("OLD", LayerState::Locked);
    const std::vector<std::string> breaks = {"X\u2029Y", "A\u2028B", "C\rD", "E\nF"};
    std::vector<std::string> handles;
    handles.push_back(b.text({.text = "L1", .insertion = {0, 40, 0}}));
    for (const std::string& text : breaks)
        handles.push_back(b.text({.text = text, .insertion = {0, 30, 0}}));
    handles.push_back(b.text({.text = "L3", .insertion = {0, 20, 0}}));
    handles.push_back(b.text({.text = "x", .insertion = {0, 15, 0}, .layer = "OLD"}));
    handles.push_back(b.text({.text = "L4", .insertion = {0, 10, 0}}));
    use(b);
    fetch(handles);
    EXPECT_EQ(editorLines(), (QStringList{"L1", "L3", "L4"}));
    ASSERT_EQ(records().size(), 3u);
    EXPECT_EQ(records()[1].sHnd, handles[5]);
    EXPECT_EQ(messageTexts(), (QStringList{QStringLiteral("ロック画層のTEXT 1 個を除外しました."),
                                           QStringLiteral("改行を含むTEXT 4 個を除外しました.")}));
    update();
    EXPECT_EQ(faults->callCount("SetTextString"), 0);
    EXPECT_EQ(faults->callCount("Copy"), 0);
    for (std::size_t i = 0; i < breaks.size(); ++i)
        EXPECT_EQ(textEntity(handles[i + 1])->TextString(), breaks[i]);
}

TEST_F(TextTabTest, AlignedTextIsRecordedByItsAlignmentPoint) {
    DrawingBuilder b;
    const std::string left = b.text({.text = "L", .insertion = {1, 2, 0}});
    const std::string right = b.text(
        {.text = "R", .alignment = 2, .insertion = {3, 4, 0}, .alignmentPoint = {30, 40, 0}});
    use(b);
    page().CheckBox1->setChecked(false);
    fetch({left, right});
    ASSERT_EQ(records().size(), 2u);
    EXPECT_EQ(records()[0].insPt, cad::CadPoint(1, 2, 0));
    EXPECT_EQ(records()[1].insPt, cad::CadPoint(30, 40, 0));
    EXPECT_EQ(records()[1].txtAli, 2);
    EXPECT_EQ(records()[1].index, 1);
    EXPECT_EQ(records()[1].lay, "0");
}

TEST_F(TextTabTest, CoordinateOrderOnlyWhenTicked) {
    DrawingBuilder b;
    const std::string low = b.text({.text = "low", .insertion = {0, 0, 0}});
    const std::string high = b.text({.text = "high", .insertion = {0, 10, 0}});
    const std::string mid = b.text({.text = "mid", .insertion = {0, 5, 0}});
    use(b);
    page().CheckBox1->setChecked(false);
    fetch({low, high, mid});
    EXPECT_EQ(editorLines(), (QStringList{"low", "high", "mid"}));
    page().CheckBox1->setChecked(true);
    fetch({low, high, mid});
    EXPECT_EQ(editorLines(), (QStringList{"high", "mid", "low"}));
    EXPECT_EQ(page().Edit2->text(), QStringLiteral("-5.00"));
}

TEST_F(TextTabTest, CancelledPickChangesNothingButTheMode) {
    DrawingBuilder b;
    const std::string a = b.text({.text = "A", .insertion = {0, 0, 0}});
    use(b);
    fetch({a});
    form->work().ATTmode = true;
    page().Label2->setText(QStringLiteral("old"));
    picker->addCancel();
    page().SpeedButton1->click();
    EXPECT_FALSE(form->work().ATTmode);
    EXPECT_TRUE(page().Label2->text().isEmpty());
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("A"));
    EXPECT_EQ(records().size(), 1u);
}

TEST_F(TextTabTest, WithoutCadOnlyTheTextsAreCleared) {
    windows.windows.erase(kCadWindow);
    page().Label1->setText(QStringLiteral("x"));
    page().SpeedButton1->click();
    EXPECT_TRUE(page().Label1->text().isEmpty());
    EXPECT_TRUE(messages().empty());
}

TEST_F(TextTabTest, FetchDropsTheUndoSnapshotOffer) {
    DrawingBuilder b;
    const std::string a = b.text({.text = "A"});
    use(b);
    form->textController().UndoMark(true);
    ASSERT_TRUE(page().SpeedButton4->isEnabled());
    fetch({a});
    EXPECT_FALSE(form->work().undoFlag);
    EXPECT_FALSE(page().SpeedButton4->isEnabled());
}

// The tool comes back from the pick with the keys going to the editor, whatever had the focus
// before: after a TEXT fetch and after an ATTR fetch alike, and after a pick that was cancelled.
TEST_F(TextTabTest, AFetchLeavesTheFocusInTheEditor) {
    DrawingBuilder b;
    const std::string a = b.text({.text = "A"});
    use(b);
    for (QPushButton* button : {page().SpeedButton1, page().SpeedButton8}) {
        page().Edit1->setFocus();
        ASSERT_EQ(form->focusWidget(), page().Edit1);
        picker->addPick({a});
        button->click();
        EXPECT_EQ(form->focusWidget(), &editor()) << button->objectName().toStdString();
    }
    page().Edit2->setFocus();
    picker->addCancel();
    page().SpeedButton1->click();
    EXPECT_EQ(form->focusWidget(), &editor());
}

} // namespace
} // namespace kalvex::testing
