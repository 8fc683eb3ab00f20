#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/QtClipboardPort.h"
#include "platform/QtDialogPort.h"
#include "platform/QtMessagePort.h"
#include "platform/QtWindowSystem.h"
#include "support/FakeWindowSystem.h"

namespace kalvex::testing {

namespace {

// Presses a button of the message box once it is up, as the user would.
void pressWhenShown(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (button == QMessageBox::NoButton)
            box->reject(); // closed by the title bar or Escape
        else
            box->button(button)->click();
    });
}

} // namespace

TEST(QtMessagePortTest, AnswersWithTheButtonTheUserPressed) {
    struct Case {
        const char* what;
        MessageButtons buttons;
        QMessageBox::StandardButton pressed;
        MessageAnswer answer;
    };
    const Case cases[] = {
        {"ok", MessageButtons::Ok, QMessageBox::Ok, MessageAnswer::Ok},
        {"ok box closed", MessageButtons::Ok, QMessageBox::NoButton, MessageAnswer::Ok},
        {"cancel", MessageButtons::OkCancel, QMessageBox::Cancel, MessageAnswer::Cancel},
        {"ok of two", MessageButtons::OkCancel, QMessageBox::Ok, MessageAnswer::Ok},
        {"yes", MessageButtons::YesNo, QMessageBox::Yes, MessageAnswer::Yes},
        {"no", MessageButtons::YesNo, QMessageBox::No, MessageAnswer::No},
        {"yes/no closed", MessageButtons::YesNo, QMessageBox::NoButton, MessageAnswer::No},
        {"three closed", MessageButtons::YesNoCancel, QMessageBox::NoButton, MessageAnswer::Cancel},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        QtMessagePort port;
        pressWhenShown(test.pressed);
        const MessageAnswer answer =
            port.show({QStringLiteral("更新しますか？"), MessageIcon::Question, test.buttons});
        EXPECT_EQ(answer, test.answer);
    }
}

TEST(QtDialogPortTest, DialogIsTopmostInsteadOfTheMainWindowWhileItIsShown) {
    FakeWindowSystem windows;
    QWidget mainWindow;
    QDialog dialog;
    QtDialogPort port(windows, &mainWindow);
    std::vector<std::string> callsWhileShown;
    QTimer::singleShot(0, &dialog, [&] {
        callsWhileShown = windows.calls;
        dialog.accept();
    });
    EXPECT_EQ(port.exec(dialog), QDialog::Accepted);
    const std::string main = std::to_string(QtWindowSystem::handleOf(&mainWindow));
    const std::string shown = std::to_string(QtWindowSystem::handleOf(&dialog));
    EXPECT_EQ(callsWhileShown,
              (std::vector<std::string>{"notTopmost " + main, "topmost " + shown}));
    EXPECT_EQ(windows.calls, (std::vector<std::string>{"notTopmost " + main, "topmost " + shown,
                                                       "notTopmost " + shown, "topmost " + main}));
}

TEST(QtClipboardPortTest, TextWrittenIsReadBack) {
    QtClipboardPort clipboard;
    const QString text = QStringLiteral("P-101\tポンプ\r\nP-102\t\r\n");
    EXPECT_TRUE(clipboard.setText(text));
    EXPECT_EQ(clipboard.text(), text);
}

} // namespace kalvex::testing
