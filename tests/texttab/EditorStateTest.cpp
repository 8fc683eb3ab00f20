#include <QTabWidget>
#include <QTest>

#include "TextTabFixture.h"
#include "texttab/StatusTimer.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

// The Undo button: the editor's own history first, then the whole-text snapshot, once.
class UndoSnapshotTest : public TextTabTest {
protected:
    void undo() { form->textController().SpeedButton4Click(); }
    void mark() { form->textController().UndoMark(true); }
};

TEST_F(UndoSnapshotTest, EditorHistoryFirstThenTheSnapshotOnce) {
    setLines(QStringLiteral("base"));
    mark();
    setLines(QStringLiteral("bulk"));
    editor().moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor(), QStringLiteral("X"));
    ASSERT_EQ(editor().toPlainText(), QStringLiteral("bulkX"));
    undo();
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("bulk"));
    EXPECT_TRUE(page().SpeedButton4->isEnabled());
    undo();
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("base"));
    EXPECT_FALSE(page().SpeedButton4->isEnabled());
    EXPECT_FALSE(form->work().undoFlag);
    setLines(QStringLiteral("later"));
    undo();
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("later")) << "the snapshot is restored once";
}

TEST_F(UndoSnapshotTest, OnlyTheTextBeforeTheLastBulkCommandIsKept) {
    setLines(QStringLiteral("one"));
    mark();
    setLines(QStringLiteral("two"));
    mark();
    setLines(QStringLiteral("three"));
    undo();
    EXPECT_EQ(editor().toPlainText(), QStringLiteral("two"));
}

TEST_F(UndoSnapshotTest, TheSnapshotKeepsEveryCharacter) {
    setLines(QStringLiteral("A\u00A0B\nC"));
    mark();
    setLines(QStringLiteral("bulk"));
    undo();
    EXPECT_EQ(editor().document()->firstBlock().text(), QStringLiteral("A\u00A0B"));
}

TEST_F(UndoSnapshotTest, PopupClearTakesTheSnapshot) {
    setLines(QStringLiteral("keep me"));
    form->textController().editorCommands().N20Click();
    EXPECT_TRUE(editor().toPlainText().isEmpty());
    EXPECT_TRUE(form->work().undoFlag);
    EXPECT_EQ(form->work().undoText, QStringLiteral("keep me"));
}

TEST_F(UndoSnapshotTest, CopyAndCutKeysRunTheMenuCommands) {
    setLines(QStringLiteral("abc\ndef"));
    editor().selectAll();
    QTest::keyClick(&editor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(fakes.clipboard.content, QStringLiteral("abc\ndef"));
    fakes.clipboard.content.clear();
    QTest::keyClick(&editor(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(fakes.clipboard.content.isEmpty());
    EXPECT_TRUE(editor().toPlainText().isEmpty());
}

class StatusTimerTest : public TextTabTest {
protected:
    void tick() { form->textController().Timer1Timer(); }
    QColor background() { return editor().palette().color(QPalette::Base); }
    void caretToLine(int line) {
        QTextCursor cursor(editor().document()->findBlockByNumber(line - 1));
        editor().setTextCursor(cursor);
    }
    QString panel(int i) { return form->statusPanel(i).text(); }
};

TEST_F(StatusTimerTest, EmptyEditorCountsNothingOnRowOne) {
    tick();
    EXPECT_EQ(page().Label1->text(), QStringLiteral("取得データ数 = 0"));
    EXPECT_EQ(panel(0), QStringLiteral("Row = 1 / 0 Col= 1"));
    EXPECT_EQ(panel(1), QStringLiteral("selRows = 0"));
}

TEST_F(StatusTimerTest, TrailingBlankLinesAreNotData) {
    setLines(QStringLiteral("a\n\n"));
    caretToLine(3);
    tick();
    EXPECT_EQ(form->work().iLineLast, 1);
    EXPECT_EQ(panel(0), QStringLiteral("Row = 3 / 1 Col= 1"));
}

TEST_F(StatusTimerTest, BackgroundTellsALineWithoutRecord) {
    records().resize(5);
    setLines(QStringLiteral("1\n2\n3\n4\n5\n6"));
    const QColor normal = background();
    caretToLine(6);
    tick();
    EXPECT_EQ(background(), QColor(221, 255, 253));
    form->work().ATTmode = true;
    tick();
    EXPECT_EQ(background(), QColor(255, 255, 0));
    EXPECT_EQ(form->work().iLineLast, 5) << "attribute mode counts the records";
    caretToLine(5);
    tick();
    EXPECT_EQ(background(), normal);
}

TEST_F(StatusTimerTest, SelectedLinesAndCaretColumn) {
    setLines(QStringLiteral("abcdef\nxyz\nlast"));
    QTextCursor cursor(editor().document());
    cursor.setPosition(1);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    editor().setTextCursor(cursor);
    tick();
    EXPECT_EQ(panel(1), QStringLiteral("selRows = 1"));
    EXPECT_EQ(panel(0), QStringLiteral("Row = 1 / 3 Col= 5"));
    cursor.setPosition(0);
    cursor.setPosition(editor().document()->findBlockByNumber(2).position(),
                       QTextCursor::KeepAnchor);
    editor().setTextCursor(cursor);
    tick();
    EXPECT_EQ(panel(1), QStringLiteral("selRows = 2"));
    cursor.setPosition(6);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    editor().setTextCursor(cursor);
    tick();
    EXPECT_EQ(panel(1), QStringLiteral("selRows = 1")) << "a lone line feed";
    editor().selectAll();
    tick();
    EXPECT_EQ(panel(1), QStringLiteral("selRows = 3"));
}

TEST_F(StatusTimerTest, UndoButtonFollowsTheEditorHistory) {
    setLines(QStringLiteral("a"));
    tick();
    EXPECT_FALSE(page().SpeedButton4->isEnabled());
    editor().moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor(), QStringLiteral("b"));
    tick();
    EXPECT_TRUE(page().SpeedButton4->isEnabled());
}

TEST_F(StatusTimerTest, TheWindowsTimerLeavesOtherTabsAlone) {
    form->pageControl().setCurrentIndex(1);
    page().Label1->setText(QStringLiteral("untouched"));
    QTest::qWait(450);
    EXPECT_EQ(page().Label1->text(), QStringLiteral("untouched"));
    form->pageControl().setCurrentIndex(0);
    QTRY_COMPARE_WITH_TIMEOUT(page().Label1->text(), QStringLiteral("取得データ数 = 0"), 2000);
}

} // namespace
} // namespace kalvex::testing

namespace kalvex::testing {
namespace {

TEST_F(UndoSnapshotTest, TypedTrailingBlanksGoWhenTheCaretLeavesTheLine) {
    setLines(QStringLiteral("fetched  \nab\ncd"));
    editor().setTextCursor(QTextCursor(editor().document()->findBlockByNumber(1)));
    editor().moveCursor(QTextCursor::EndOfLine);
    QTest::keyClicks(&editor(), QStringLiteral("x \t "));
    EXPECT_EQ(editorLines().value(1), QStringLiteral("abx \t "));
    QTest::keyClick(&editor(), Qt::Key_End);
    EXPECT_EQ(editorLines().value(1), QStringLiteral("abx \t ")) << "still on the line";
    QTest::keyClick(&editor(), Qt::Key_Up);
    QTest::keyClick(&editor(), Qt::Key_Up);
    EXPECT_EQ(editorLines(), (QStringList{"fetched  ", "abx", "cd"}));
}

} // namespace
} // namespace kalvex::testing
