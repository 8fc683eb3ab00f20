#include <gtest/gtest.h>

#include <QAction>
#include <QMetaObject>
#include <QTextBlock>

#include "TransformFakes.h"
#include "transform/EditorCommands.h"

namespace kalvex {
namespace {

class EditorConversions : public ::testing::Test {
protected:
    testing::TransformFixture f;
    EditorCommands commands{f.editorTarget(), f.forms, f.ports};

    void setText(const QString& text) { f.editor.setPlainText(text); }
    QString text() const { return f.editor.toPlainText(); }
};

TEST_F(EditorConversions, AllLinesToFullWidthTakesTheSnapshotFirst) {
    setText(QStringLiteral("TB-07\nｶﾞｽ\n"));
    commands.N1Click();
    EXPECT_EQ(text(), QStringLiteral("ＴＢ－０７\nガス\n"));
    ASSERT_EQ(f.snapshot.marks.size(), 1u);
    EXPECT_EQ(f.snapshot.marks[0], QStringLiteral("TB-07\nｶﾞｽ\n"));
    EXPECT_FALSE(f.state.runFlag);
    EXPECT_FALSE(f.abortButton.isEnabled());
}

TEST_F(EditorConversions, EmptyEditorStaysEmptyButStillTakesTheSnapshot) {
    commands.N1Click();
    EXPECT_TRUE(text().isEmpty());
    EXPECT_EQ(f.snapshot.marks.size(), 1u);
}

TEST_F(EditorConversions, AllLinesToHalfWidthAndParentheses) {
    setText(QStringLiteral("ＡＢ（１）\nヴァイオリン"));
    commands.N4Click();
    EXPECT_EQ(text(), QStringLiteral("AB(1)\nｳﾞｧｲｵﾘﾝ"));
    commands.N28Click();
    EXPECT_EQ(text(), QStringLiteral("AB（1）\nｳﾞｧｲｵﾘﾝ"));
}

// A conversion of all lines leaves the characters it does not convert as they are: a
// no-break space stays one and a line separator stays inside its line.
TEST_F(EditorConversions, AllLinesKeepTheCharactersTheConversionDoesNotTouch) {
    setText(QStringLiteral("A\u00A0B\nC\u2028D\n(1)"));
    commands.N28Click();
    QStringList lines;
    for (QTextBlock block = f.editor.document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    EXPECT_EQ(lines, (QStringList{"A\u00A0B", "C\u2028D", "（1）"}));
}

TEST_F(EditorConversions, SelectionWithoutTextChangesNothingAndTakesNoSnapshot) {
    setText(QStringLiteral("abc"));
    commands.N2Click();
    commands.N5Click();
    EXPECT_EQ(text(), QStringLiteral("abc"));
    EXPECT_TRUE(f.snapshot.marks.empty());
}

TEST_F(EditorConversions, SelectedWholeLinesKeepTheirFinalLineBreak) {
    setText(QStringLiteral("ａ\nｂ\nｃ"));
    f.selectLines(0, 2);
    commands.N5Click();
    EXPECT_EQ(text(), QStringLiteral("a\nb\nｃ"));
    EXPECT_EQ(f.snapshot.marks.size(), 1u);
}

// The blanks at both ends of the selected text go; the line breaks among them stay, so that
// the editor keeps its number of lines.
TEST_F(EditorConversions, TrimmingASelectionRemovesBlanksButNoLineBreak) {
    setText(QStringLiteral("x\n \t\n  ａ \n ｂ\t \n\t\ny"));
    f.selectLines(1, 5);
    commands.N5Click();
    EXPECT_EQ(text(), QStringLiteral("x\n\na \n b\n\ny"));
}

TEST_F(EditorConversions, SelectionWithoutFinalLineBreakKeepsTheLineCount) {
    setText(QStringLiteral("a\nb\nc"));
    QTextCursor cursor(f.editor.document());
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    f.editor.setTextCursor(cursor);
    commands.N2Click();
    EXPECT_EQ(text(), QStringLiteral("ａ\nｂ\nc"));
}

TEST_F(EditorConversions, LeadingIdeographicSpaceOfASelectionIsTrimmedAway) {
    setText(QStringLiteral("\u3000ＡＢ"));
    f.editor.selectAll();
    commands.N5Click();
    EXPECT_EQ(text(), QStringLiteral("AB"));
}

TEST_F(EditorConversions, TableConversionsAreChosenByTheClickedItem) {
    const struct {
        const char* item;
        const char* before;
        const char* after;
    } cases[] = {
        {"N23", "ﾊﾟﾝ", "パン"},
        {"N24", "ヴァイオリン", "ｳﾞｧｲｵﾘﾝ"},
        {"N091", "-12.5", "-１２.５"},
        {"N092", "－１２．５", "－12．5"},
        {"N094", "-12.5", "－１２．５"},
        {"N093", "－１２．５，０", "-12.5,0"},
        {"AZ1", "Ab-1", "Ａｂ-1"},
        {"AZ2", "Ａｂ－1", "Ab－1"},
        {"N27", " \\\"", "\u3000￥\u201D"},
        {"N26", "（ａ）", "(ａ)"},
    };
    for (const auto& c : cases) {
        QAction item;
        item.setObjectName(QString::fromLatin1(c.item));
        setText(QString::fromUtf8(c.before));
        commands.N23Click(&item);
        EXPECT_EQ(text(), QString::fromUtf8(c.after)) << c.item;
    }
}

TEST_F(EditorConversions, UnknownSenderLeavesTheLinesAlone) {
    setText(QStringLiteral("ﾊﾟﾝ"));
    QAction other;
    other.setObjectName(QStringLiteral("N1"));
    commands.N23Click(&other);
    commands.N23Click(nullptr);
    EXPECT_EQ(text(), QStringLiteral("ﾊﾟﾝ"));
    EXPECT_TRUE(f.snapshot.marks.empty());
}

// The abort button is pressed while the first line is converted: that line is done, the rest
// stay, and the snapshot holds the text from before the command.
TEST_F(EditorConversions, AbortKeepsConvertedLinesAndTheSnapshot) {
    QStringList lines;
    for (int i = 0; i < 50; ++i)
        lines << QStringLiteral("a%1").arg(i);
    setText(lines.join(u'\n'));
    bool abortWasEnabled = false;
    QMetaObject::invokeMethod(
        &f.abortButton,
        [&] {
            abortWasEnabled = f.abortButton.isEnabled();
            abortRun(f.state.runFlag);
        },
        Qt::QueuedConnection);
    commands.N1Click();
    const QStringList after = text().split(u'\n');
    ASSERT_EQ(after.size(), 50);
    EXPECT_EQ(after[0], QStringLiteral("ａ０"));
    EXPECT_EQ(after.mid(1), lines.mid(1));
    EXPECT_TRUE(abortWasEnabled);
    EXPECT_FALSE(f.abortButton.isEnabled());
    ASSERT_EQ(f.snapshot.marks.size(), 1u);
    EXPECT_EQ(f.snapshot.marks[0], lines.join(u'\n'));
}

TEST_F(EditorConversions, TheConversionIsOneStepOfTheEditorsOwnUndo) {
    setText(QStringLiteral("a\nb"));
    f.editor.document()->clearUndoRedoStacks();
    commands.N1Click();
    f.editor.undo();
    EXPECT_EQ(text(), QStringLiteral("a\nb"));
}

} // namespace
} // namespace kalvex

namespace kalvex {
namespace {

TEST_F(EditorConversions, CaretKeepsItsLineAndColumn) {
    setText(QStringLiteral("ab\ncd\nef"));
    QTextCursor cursor(f.editor.document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::Right);
    f.editor.setTextCursor(cursor);
    commands.N1Click();
    EXPECT_EQ(f.editor.textCursor().blockNumber(), 1);
    EXPECT_EQ(f.editor.textCursor().positionInBlock(), 1);
    commands.N20Click();
    EXPECT_EQ(f.editor.textCursor().position(), 0);
}

} // namespace
} // namespace kalvex
