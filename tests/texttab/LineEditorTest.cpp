#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include "texttab/LineEditor.h"

namespace kalvex::testing {

TEST(LineEditorTest, CopyAndCutKeysAreLeftToThePopupMenu) {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    LineEditor editor;
    editor.setPlainText(QStringLiteral("R-101"));
    editor.selectAll();
    QTest::keyClick(&editor, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("R-101"));
    // Other editing keys still work: Tab is typed as a character.
    QTest::keyClick(&editor, Qt::Key_End);
    QTest::keyClick(&editor, Qt::Key_Tab);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("R-101\t"));
}

TEST(LineEditorTest, AWindowShortcutOnTheCopyKeyStillFiresInTheEditor) {
    QWidget window;
    auto* editor = new LineEditor(&window);
    editor->setPlainText(QStringLiteral("R-101"));
    editor->selectAll();
    QAction copy(&window);
    copy.setShortcut(QKeySequence::Copy);
    window.addAction(&copy);
    int fired = 0;
    QObject::connect(&copy, &QAction::triggered, [&fired] { ++fired; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(fired, 1);
}

namespace {

void moveCaret(LineEditor& editor, int line, QTextCursor::MoveOperation where) {
    QTextCursor cursor(editor.document()->findBlockByNumber(line));
    cursor.movePosition(where);
    editor.setTextCursor(cursor);
}

} // namespace

// The line typed on is followed through edits that move it and forgotten when the whole text
// is replaced, so that no other line loses its blanks.
TEST(LineEditorTest, OnlyTheLineTypedOnIsTrimmed) {
    LineEditor editor;
    editor.setPlainText(QStringLiteral("KEEP\nTAIL  "));
    moveCaret(editor, 1, QTextCursor::EndOfBlock);
    QTest::keyClicks(&editor, QStringLiteral("z"));
    editor.setPlainText(QStringLiteral("KEEP\nTAIL  "));
    moveCaret(editor, 0, QTextCursor::StartOfBlock);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("KEEP\nTAIL  ")) << "after a new fetch";

    editor.setPlainText(QStringLiteral("A\nB\nABC  "));
    moveCaret(editor, 1, QTextCursor::EndOfBlock);
    QTest::keyClicks(&editor, QStringLiteral("x"));
    QTest::keyClick(&editor, Qt::Key_Home);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("ABx\nABC  ")) << "after joining two lines";

    editor.setPlainText(QStringLiteral("P\nQ"));
    moveCaret(editor, 1, QTextCursor::EndOfBlock);
    QTest::keyClicks(&editor, QStringLiteral(" "));
    QTextCursor(editor.document()->findBlockByNumber(1)).insertText(QStringLiteral("NEW  \n"));
    QTest::keyClick(&editor, Qt::Key_Up);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("P\nNEW  \nQ"))
        << "after a line was inserted above the one typed on";
}

// Keys that bring text with them but change nothing (Escape, Ctrl chords, caret keys) leave a
// line's blanks alone; a key that edits the line, Backspace too, marks it.
TEST(LineEditorTest, OnlyAKeyThatChangesTheTextMarksItsLine) {
    LineEditor editor;
    editor.setPlainText(QStringLiteral("TAIL  \nKEEP  "));
    moveCaret(editor, 0, QTextCursor::EndOfBlock);
    QTest::keyClick(&editor, Qt::Key_Escape);
    QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_G, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_Left);
    QTest::keyClick(&editor, Qt::Key_Down);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("TAIL  \nKEEP  "));

    QTest::keyClick(&editor, Qt::Key_Up);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QTest::keyClick(&editor, Qt::Key_Down);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("TAIL\nKEEP  "));
    QTest::keyClick(&editor, Qt::Key_Up);
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("TAIL\nKEEP  "))
        << "the trim on leaving a line does not mark the next one";
}

namespace {

QStringList blockTexts(const LineEditor& editor) {
    QStringList texts;
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

} // namespace

// Every way text comes in breaks lines at line and paragraph separators instead of keeping them.
TEST(LineEditorTest, LineAndParagraphSeparatorsBecomeLineBreaks) {
    LineEditor editor;
    editor.setPlainText(QStringLiteral("a1"));
    moveCaret(editor, 0, QTextCursor::EndOfBlock);
    QTest::keyClick(&editor, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&editor, QStringLiteral("b"));
    QTest::keyClick(&editor, Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(blockTexts(editor), (QStringList{"a1", "b", ""}));

    QGuiApplication::clipboard()->setText(QStringLiteral("p1\u2028p2\u2029p3"));
    editor.paste();
    // Text an input method sends with a key of its own.
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u2028t"));
    QCoreApplication::sendEvent(&editor, &typed);
    EXPECT_EQ(blockTexts(editor), (QStringList{"a1", "b", "p1", "p2", "p3", "t"}));

    editor.undo();
    editor.undo();
    EXPECT_EQ(blockTexts(editor), (QStringList{"a1", "b", ""})) << "a paste is one undo step";
}

TEST(LineEditorTest, GutterWidensWhenLineNumbersGainADigit) {
    LineEditor editor;
    editor.setPlainText(QStringLiteral("a\nb\nc"));
    const int narrow = editor.gutterWidth();
    QStringList lines;
    for (int line = 0; line < 120; ++line)
        lines.append(QString::number(line));
    editor.setPlainText(lines.join(QLatin1Char('\n')));
    EXPECT_GT(editor.gutterWidth(), narrow);
    EXPECT_GE(editor.viewport()->x(), editor.gutterWidth());
}

} // namespace kalvex::testing
