#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <sstream>

#include "script/ScriptPlayer.h"

namespace kalvex::script {
namespace {

TEST(ScriptParserTest, SplitsWordsStringsAndComments) {
    const auto commands =
        parseScript("# a comment\n"
                    "\n"
                    "settext Edit3 \"a \\\"b\\\"\\n\\t\\\\ # not a comment\"  # one\r\n"
                    "dialog TOrvikKasanForm Edit1=\"1 2\" CheckBox1=on OK\n");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].line, 3);
    EXPECT_EQ(commands[0].name, "settext");
    EXPECT_EQ(commands[0].args,
              (std::vector<std::string>{"Edit3", "a \"b\"\n\t\\ # not a comment"}));
    EXPECT_EQ(commands[1].line, 4);
    EXPECT_EQ(commands[1].args,
              (std::vector<std::string>{"TOrvikKasanForm", "Edit1=1 2", "CheckBox1=on", "OK"}));
}

TEST(ScriptParserTest, BadSyntaxNamesTheLine) {
    for (const char* bad :
         {"ok\nexpect X \"open", "ok\nexpect X \"a\\q\"", "ok\nexpect X \"a\"b"}) {
        try {
            parseScript(bad);
            ADD_FAILURE() << bad;
        } catch (const ScriptError& e) {
            EXPECT_EQ(e.line(), 2) << bad;
        }
    }
}

class RecordingDrawing : public ScriptDrawing {
public:
    std::vector<std::string> calls;
    void queuePick(const ScriptPick& pick) override {
        std::string line = "pick";
        if (pick.kind == ScriptPick::Kind::Cancel)
            line += " cancel";
        if (pick.kind == ScriptPick::Kind::Nothing)
            line += " none";
        for (const auto& h : pick.handles)
            line += " " + h;
        calls.push_back(line);
    }
    void setLayerLocked(const std::string& layer, bool locked) override {
        calls.push_back((locked ? "lock " : "unlock ") + layer);
    }
    void setCadOpen(bool open) override { calls.push_back(open ? "open" : "closed"); }
    void save(const std::string& path) override { calls.push_back("save " + path); }
    void openDrawing(const std::string& path) override { calls.push_back("open " + path); }
    void activateDrawing(const std::string& which) override {
        calls.push_back("activate " + which);
    }
    void closeDrawing(const std::string& which) override { calls.push_back("close " + which); }
    void saveAll() override { calls.push_back("save-all"); }
    bool isActiveDrawing(const std::string& which) override { return which == "b.dxf"; }
    cad::CadPoint viewCentre() override { return {235, 161}; }
    bool entityExists(const std::string& handle) override { return handle == "2A"; }
    std::string entityText(const std::string&) override { return "TB-01"; }
    cad::CadPoint entityPoint(const std::string&) override { return {10, 20}; }
    int countEntities(const std::string& type) override { return type == "TEXT" ? 3 : 1; }
};

class MemoryClipboard : public ClipboardPort {
public:
    QString value;
    QString text() override { return value; }
    bool setText(const QString& text) override {
        value = text;
        return true;
    }
};

// A small form with one control of each kind, and a dialog that echoes its edit into the form.
class ScriptPlayerTest : public ::testing::Test {
protected:
    QWidget form;
    QLineEdit* edit = new QLineEdit(&form);
    QPushButton* button = new QPushButton(QStringLiteral("検索"), &form);
    QCheckBox* check = new QCheckBox(QStringLiteral("a->A"), &form);
    QPlainTextEdit* editor = new QPlainTextEdit(&form);
    QTableWidget* grid = new QTableWidget(3, 2, &form);
    QLabel* label = new QLabel(&form);
    QDialog dialog;
    QLineEdit* dialogEdit = new QLineEdit(&dialog);
    QPushButton* dialogOk = new QPushButton(QStringLiteral("OK"), &dialog);
    RecordingDrawing drawing;
    MemoryClipboard clipboard;
    std::ostringstream out;
    ScriptPlayer player{drawing, clipboard, out};

    void SetUp() override {
        form.setObjectName("TOrvikMainForm");
        edit->setObjectName("Edit3");
        button->setObjectName("SpeedButton14");
        check->setObjectName("CheckBox4");
        editor->setObjectName("SynEdit1");
        grid->setObjectName("StringGrid1");
        label->setObjectName("Label6");
        dialog.setObjectName("TOrvikKasanForm");
        dialogEdit->setObjectName("Edit1");
        dialogOk->setObjectName("OK");
        QObject::connect(dialogOk, &QPushButton::clicked, &dialog, &QDialog::accept);
        QObject::connect(button, &QPushButton::clicked, [this] {
            if (player.exec(dialog) == QDialog::Accepted)
                label->setText(dialogEdit->text());
            player.show({QStringLiteral("検索しました．")});
        });
        auto* layout = new QVBoxLayout(&form);
        for (QWidget* w : std::initializer_list<QWidget*>{edit, button, check, editor, grid, label})
            layout->addWidget(w);
        form.show();
    }
};

TEST_F(ScriptPlayerTest, DrivesControlsAndChecksThem) {
    const int status = player.run("settext Edit3 \"TB-*\"\n"
                                  "check CheckBox4 on\n"
                                  "settext SynEdit1 \"ab\\ncd\"\n"
                                  "caret SynEdit1 2 3\n"
                                  "type SynEdit1 \"ｶﾅ\"\n"
                                  "current StringGrid1 1 2\n"
                                  "edit StringGrid1 \"x\"\n"
                                  "dialog TOrvikKasanForm Edit1=\"+5\" OK\n"
                                  "click SpeedButton14\n"
                                  "clipboard \"a\\tb\\r\\n\"\n"
                                  "expect Edit3 \"TB-*\"\n"
                                  "expect-checked CheckBox4 yes\n"
                                  "expect SynEdit1 \"ab\\ncdｶﾅ\"\n"
                                  "expect Label6 \"+5\"\n"
                                  "expect-message \"検索しました．\"\n"
                                  "expect-no-message\n"
                                  "expect-enabled SpeedButton14 yes\n"
                                  "expect-clipboard \"a\\tb\\r\\n\"\n",
                                  "drive.play");
    EXPECT_EQ(status, ScriptPlayer::kAllHeld) << out.str();
    EXPECT_NE(out.str().find("message: 検索しました．"), std::string::npos);
    EXPECT_EQ(grid->currentRow(), 2);
    EXPECT_EQ(grid->currentColumn(), 1);
}

// A chord's modifiers must be let go: a later `current` moves the cell instead of extending or
// toggling the selection, and a plain key after the chord arrives without them.
TEST_F(ScriptPlayerTest, AChordLetsGoOfItsModifiers) {
    grid->setRowCount(10);
    grid->setColumnCount(5);
    const auto onlySelected = [this](int row, int column) {
        const QModelIndexList selected = grid->selectionModel()->selectedIndexes();
        EXPECT_EQ(grid->currentRow(), row);
        EXPECT_EQ(grid->currentColumn(), column);
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected[0].row(), row);
        EXPECT_EQ(selected[0].column(), column);
    };
    EXPECT_EQ(player.run("current StringGrid1 1 1\n"
                         "key StringGrid1 Ctrl+Shift+C\n"
                         "current StringGrid1 3 8\n",
                         "chord.play"),
              ScriptPlayer::kAllHeld)
        << out.str();
    EXPECT_EQ(QGuiApplication::keyboardModifiers(), Qt::NoModifier);
    onlySelected(8, 3);

    Qt::KeyboardModifiers heldAtDown = Qt::AltModifier;
    struct DownWatcher : QObject {
        Qt::KeyboardModifiers* held = nullptr;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Down)
                *held =
                    static_cast<QKeyEvent*>(e)->modifiers() | QGuiApplication::keyboardModifiers();
            return false;
        }
    } watcher;
    watcher.held = &heldAtDown;
    grid->installEventFilter(&watcher);
    EXPECT_EQ(player.run("key StringGrid1 Ctrl+C\n"
                         "key StringGrid1 Down\n"
                         "current StringGrid1 2 4\n",
                         "plain.play"),
              ScriptPlayer::kAllHeld)
        << out.str();
    grid->removeEventFilter(&watcher);
    EXPECT_EQ(heldAtDown, Qt::NoModifier);
    onlySelected(4, 2);
}

TEST_F(ScriptPlayerTest, FailedExpectationsAreReportedAndTheRunGoesOn) {
    const int status = player.run("expect Edit3 \"x\"\n"
                                  "expect-checked CheckBox4 yes\n"
                                  "expect-message \"none\"\n"
                                  "expect-entity 2B deleted\n"
                                  "expect-entity 2A text \"TB-01\"\n"
                                  "expect-entity 2A point 10 20\n"
                                  "expect-count TEXT 4\n"
                                  "expect-active b.dxf\n"
                                  "expect-active a.dxf\n"
                                  "expect-view 235 161\n"
                                  "expect-view 235 170\n",
                                  "fail.play");
    EXPECT_EQ(status, ScriptPlayer::kExpectationFailed);
    EXPECT_EQ(out.str(), "fail.play:1: expected \"x\", got \"\"\n"
                         "fail.play:2: expected checked, got unchecked\n"
                         "fail.play:3: expected \"none\", got no message\n"
                         "fail.play:7: expected 4, got 3\n"
                         "fail.play:9: expected a.dxf active, got another drawing active\n"
                         "fail.play:11: expected view at 235 170, got view at 235 161\n");
}

TEST_F(ScriptPlayerTest, ScriptErrorsStopTheRunAndNameTheLine) {
    struct Case {
        const char* script;
        const char* output;
    };
    const std::vector<Case> cases = {
        {"expect Edit3 \"\"\nfrobnicate\n", "s.play:2: unknown command frobnicate\n"},
        {"click NoSuchButton\n", "s.play:1: unknown control NoSuchButton\n"},
        {"check Edit3 on\n", "s.play:1: check: Edit3 is not a check box\n"},
        {"caret SynEdit1 5 1\n", "s.play:1: caret: no line 5 column 1 in SynEdit1\n"},
        {"choose Edit3\n", "s.play:1: choose: wrong number of arguments\n"},
        {"current StringGrid1 x 1\n", "s.play:1: current: not a whole number: x\n"},
        {"dialog TOrvikKasanForm Edit9=1 OK\nclick SpeedButton14\n",
         "message: 検索しました．\ns.play:2: TOrvikKasanForm has no control Edit9\n"},
    };
    for (const Case& c : cases) {
        out.str("");
        EXPECT_EQ(player.run(c.script, "s.play"), ScriptPlayer::kScriptError) << c.script;
        EXPECT_EQ(out.str(), c.output) << c.script;
    }
}

TEST_F(ScriptPlayerTest, DrawingCommandsReachTheDrawing) {
    const int status = player.run("pick 2A 2B\npick none\npick cancel\nlock ELEC\nunlock ELEC\n"
                                  "cad closed\ncad open\nsave out.dxf\nsave\nopen b.dxf\n"
                                  "activate 2\nclose a.dxf\nsave-all\n",
                                  "d.play");
    EXPECT_EQ(status, ScriptPlayer::kAllHeld) << out.str();
    EXPECT_EQ(drawing.calls,
              (std::vector<std::string>{"pick 2A 2B", "pick none", "pick cancel", "lock ELEC",
                                        "unlock ELEC", "closed", "open", "save out.dxf", "save ",
                                        "open b.dxf", "activate 2", "close a.dxf", "save-all"}));
}

TEST_F(ScriptPlayerTest, BareNamesMeanTheMainWindowsControlsEvenWhenADialogReusesThem) {
    auto* dialogEdit3 = new QLineEdit(&dialog);
    dialogEdit3->setObjectName("Edit3");
    EXPECT_EQ(
        player.run("settext Edit3 \"form\"\nsettext TOrvikKasanForm.Edit3 \"dialog\"\n", "n.play"),
        ScriptPlayer::kAllHeld)
        << out.str();
    EXPECT_EQ(edit->text(), "form");
    EXPECT_EQ(dialogEdit3->text(), "dialog");
}

TEST_F(ScriptPlayerTest, ADialogWithoutScriptedAnswerIsCancelled) {
    EXPECT_EQ(player.run("click SpeedButton14\nexpect Label6 \"\"\n", "c.play"),
              ScriptPlayer::kAllHeld);
    EXPECT_NE(out.str().find("dialog: TOrvikKasanForm cancelled"), std::string::npos);
}

} // namespace
} // namespace kalvex::script
