#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
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
