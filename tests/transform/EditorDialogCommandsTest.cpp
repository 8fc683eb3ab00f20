#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>

#include "TransformFakes.h"
#include "transform/EditorCommands.h"
#include "transform/RadixButtons.h"
#include "widgets/Controls.h"

namespace kalvex {
namespace {

class EditorDialogCommands : public ::testing::Test {
protected:
    testing::TransformFixture f;
    EditorCommands commands{f.editorTarget(), f.forms, f.ports};
    QString prefilled;

    void setText(const QString& text) { f.editor.setPlainText(text); }
    QString text() const { return f.editor.toPlainText(); }

    void answerReplace(const QString& search, const QString& replacement, bool ignoreCase) {
        f.dialogs.answer = [=, this](QDialog&) {
            prefilled = f.forms.tikan.Edit1->text();
            f.forms.tikan.Edit1->setText(search);
            f.forms.tikan.Edit2->setText(replacement);
            f.forms.tikan.CheckBox1->setChecked(ignoreCase);
            return int(QDialog::Accepted);
        };
    }

    void answerAddition(const QString& addend, Radix radix = Radix::Decimal, int width = 2) {
        f.dialogs.answer = [=, this](QDialog&) {
            TOrvikKasanForm& form = f.forms.kasan;
            form.radixButtons->setRadix(radix);
            form.SpeedButton1Click();
            form.UpDown1->setValue(width);
            form.Edit1->setText(addend);
            return int(QDialog::Accepted);
        };
    }

    void answerSerial(SerialPlacement placement) {
        f.dialogs.answer = [=, this](QDialog&) {
            TOrvikRenbanForm& form = f.forms.renban;
            (placement == SerialPlacement::Insert ? form.Button3 : form.Button1)->click();
            return form.result();
        };
    }
};

TEST_F(EditorDialogCommands, ReplaceAllHonoursIgnoreCaseAndPrefillsTheFirstLine) {
    setText(QStringLiteral("abc ABC Abc\nx"));
    answerReplace(QStringLiteral("abc"), QStringLiteral("-"), true);
    commands.N7Click();
    EXPECT_EQ(prefilled, QStringLiteral("abc ABC Abc"));
    EXPECT_EQ(text(), QStringLiteral("- - -\nx"));
    answerReplace(QStringLiteral("x"), QStringLiteral(""), false);
    setText(QStringLiteral("xX\nx"));
    commands.N7Click();
    EXPECT_EQ(text(), QStringLiteral("X\n"));
    EXPECT_EQ(f.snapshot.marks.size(), 2u);
}

TEST_F(EditorDialogCommands, ReplaceSelectionIsAlwaysExactCase) {
    setText(QStringLiteral("a A\nb a\nA"));
    f.selectLines(0, 2);
    answerReplace(QStringLiteral("a"), QStringLiteral("z"), true);
    commands.N8Click();
    EXPECT_EQ(prefilled, QStringLiteral("a A"));
    EXPECT_EQ(text(), QStringLiteral("z A\nb z\nA"));
}

TEST_F(EditorDialogCommands, CancelOrEmptySearchChangesNothing) {
    setText(QStringLiteral("abc"));
    commands.N7Click();
    answerReplace(QString(), QStringLiteral("x"), false);
    commands.N7Click();
    EXPECT_EQ(text(), QStringLiteral("abc"));
    EXPECT_TRUE(f.snapshot.marks.empty());
    EXPECT_EQ(f.dialogs.shown, 2);
}

TEST_F(EditorDialogCommands, ReplaceOnAnEmptyEditorShowsThePreviousValues) {
    f.forms.tikan.Edit1->setText(QStringLiteral("old"));
    f.dialogs.answer = [this](QDialog&) {
        prefilled = f.forms.tikan.Edit1->text();
        return int(QDialog::Rejected);
    };
    commands.N7Click();
    EXPECT_EQ(prefilled, QStringLiteral("old"));
}

TEST_F(EditorDialogCommands, AddToAllLinesSkipsBlankLinesAndLinesWithoutNumbers) {
    setText(QStringLiteral("TB-07\n  12  \n  AB  \n\nA1-B9"));
    answerAddition(QStringLiteral("1"));
    commands.N14Click();
    EXPECT_EQ(text(), QStringLiteral("TB-08\n13\n  AB  \n\nA1-B10"));
    EXPECT_EQ(f.snapshot.marks.size(), 1u);
}

TEST_F(EditorDialogCommands, AddendZeroOrNotANumberChangesNothingAndArmsNoUndo) {
    setText(QStringLiteral("TB-07"));
    for (const char* addend : {"0", "abc", ""}) {
        answerAddition(QString::fromLatin1(addend));
        commands.N14Click();
        commands.N15Click();
    }
    EXPECT_EQ(text(), QStringLiteral("TB-07"));
    EXPECT_TRUE(f.snapshot.marks.empty());
}

TEST_F(EditorDialogCommands, AddToSelectionInHexadecimal) {
    setText(QStringLiteral("X0F\nXFF\nX0G\nX01"));
    f.selectLines(0, 3);
    answerAddition(QStringLiteral("1"), Radix::Hexadecimal);
    commands.N15Click();
    EXPECT_EQ(text(), QStringLiteral("X10\nX100\nX0G\nX01"));
}

// Lines 4 and 5 selected with Shift+Down end at the start of line 6: the command changes the
// two lines and line 6 stays a line of its own, so every later line keeps its record.
TEST_F(EditorDialogCommands, AddToLinesSelectedByShiftDownKeepsEveryLine) {
    setText(QStringLiteral("T1\nT2\nT3\nT4\nT5\nT6\nT7"));
    QTextCursor caret(f.editor.document()->findBlockByNumber(3));
    f.editor.setTextCursor(caret);
    QTest::keyClick(&f.editor, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&f.editor, Qt::Key_Down, Qt::ShiftModifier);
    answerAddition(QStringLiteral("10"));
    commands.N15Click();
    EXPECT_EQ(text(), QStringLiteral("T1\nT2\nT3\nT14\nT15\nT6\nT7"));
}

TEST_F(EditorDialogCommands, SerialDefaultsAreAppended) {
    setText(QStringLiteral("head"));
    answerSerial(SerialPlacement::Append);
    commands.N17Click();
    QStringList expected{QStringLiteral("head")};
    for (int i = 0; i < 16; ++i)
        expected << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(text().split(u'\n'), expected);
    EXPECT_EQ(f.snapshot.marks, std::vector<QString>{QStringLiteral("head")});
}

TEST_F(EditorDialogCommands, SerialInsertGoesBeforeTheCaretLineInOrder) {
    setText(QStringLiteral("l1\nl2\nl3\nl4"));
    f.selectLines(2, 2);
    f.forms.renban.Edit4->setText(QStringLiteral("3"));
    answerSerial(SerialPlacement::Insert);
    commands.N17Click();
    EXPECT_EQ(text(), QStringLiteral("l1\nl2\n00\n01\n02\nl3\nl4"));
}

TEST_F(EditorDialogCommands, SerialIntoAnEmptyEditorLeavesNoBlankLine) {
    f.forms.renban.Edit2->clear();
    f.forms.renban.Edit1->setText(QStringLiteral("sp"));
    f.forms.renban.Edit4->setText(QStringLiteral("3"));
    answerSerial(SerialPlacement::Insert);
    commands.N17Click();
    EXPECT_EQ(text(), QStringLiteral("SP\nSP\nSP"));
}

TEST_F(EditorDialogCommands, InvalidStartNumberGeneratesNothing) {
    setText(QStringLiteral("head"));
    f.forms.renban.Edit2->setText(QStringLiteral("0x"));
    answerSerial(SerialPlacement::Append);
    commands.N17Click();
    EXPECT_EQ(text(), QStringLiteral("head"));
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].text, QStringLiteral("開始数が10進数ではありません"));
    EXPECT_TRUE(f.snapshot.marks.empty());
}

class PopupEnabling : public EditorDialogCommands {
protected:
    QMenu menu;
    void SetUp() override {
        static const MenuItemSpec items[] = {{"N20", "c"}, {"N10", "c"}, {"N11", "c"}, {"N12", "c"},
                                             {"N1", "c"},  {"N2", "c"},  {"N4", "c"},  {"N5", "c"},
                                             {"N28", "c"}, {"N7", "c"},  {"N8", "c"},  {"N14", "c"},
                                             {"N15", "c"}, {"N17", "c"}};
        addMenuItems(menu, items);
    }
    QStringList enabledItems() const {
        QStringList names;
        for (const QAction* action : menu.actions()) {
            if (action->isEnabled())
                names << action->objectName();
        }
        return names;
    }
};

TEST_F(PopupEnabling, EmptyEditorGreysOutTheWholeTextAndSelectionCommands) {
    commands.PopupMenu1Popup(menu);
    EXPECT_EQ(enabledItems(), QStringList({"N20", "N12", "N28", "N17"}));
}

TEST_F(PopupEnabling, LinesWithoutSelection) {
    setText(QStringLiteral("a"));
    commands.PopupMenu1Popup(menu);
    EXPECT_EQ(enabledItems(), QStringList({"N20", "N12", "N1", "N4", "N28", "N7", "N14", "N17"}));
}

TEST_F(PopupEnabling, SelectionEnablesEverything) {
    setText(QStringLiteral("a"));
    f.editor.selectAll();
    commands.PopupMenu1Popup(menu);
    EXPECT_EQ(enabledItems().size(), menu.actions().size());
}

TEST_F(EditorDialogCommands, ClearCutCopyPasteAndVersion) {
    setText(QStringLiteral("abc"));
    commands.N20Click();
    EXPECT_TRUE(text().isEmpty());
    EXPECT_EQ(f.snapshot.marks, std::vector<QString>{QStringLiteral("abc")});

    setText(QStringLiteral("abc"));
    f.editor.selectAll();
    commands.N11Click();
    EXPECT_EQ(f.clipboard.content, QStringLiteral("abc"));
    f.clipboard.content = QStringLiteral("kept");
    commands.N10Click();
    EXPECT_EQ(f.clipboard.content, QStringLiteral("abc"));
    EXPECT_TRUE(text().isEmpty());
    EXPECT_EQ(f.snapshot.marks.size(), 1u);

    f.clipboard.content = QStringLiteral("x\r\ny");
    commands.N12Click();
    EXPECT_EQ(text(), QStringLiteral("x\ny"));
    f.clipboard.content.clear();
    commands.N12Click();
    EXPECT_EQ(text(), QStringLiteral("x\ny"));
    EXPECT_EQ(f.snapshot.marks.size(), 3u);

    commands.N25Click();
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].text, QStringLiteral("Kalvex 2.3b 2025.06.04"));
    EXPECT_EQ(f.messages.shown[0].icon, MessageIcon::Information);
}

TEST_F(EditorDialogCommands, CopyWithoutSelectionKeepsTheClipboard) {
    setText(QStringLiteral("abc"));
    f.clipboard.content = QStringLiteral("kept");
    commands.N11Click();
    commands.N10Click();
    EXPECT_EQ(f.clipboard.content, QStringLiteral("kept"));
    EXPECT_EQ(text(), QStringLiteral("abc"));
}

} // namespace
} // namespace kalvex
