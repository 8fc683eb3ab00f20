#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <gtest/gtest.h>

#include "qtplatform/QtClipboardPort.h"
#include "qtplatform/QtDialogPort.h"
#include "qtplatform/QtMessagePort.h"
#include "qtplatform/QtWindowSystem.h"
#include "support/FakeWindowSystem.h"

namespace kalvex::testing {

namespace {

// Presses the button of the message box with this caption once it is up, as the user would;
// an empty caption closes the box by its title bar. Keeps the captions the box offered.
void pressWhenShown(const QString& caption, QStringList& offered) {
    QTimer::singleShot(0, [caption, &offered] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        offered.clear();
        for (QAbstractButton* button : box->buttons())
            offered << button->text();
        if (caption.isEmpty()) {
            box->close();
            return;
        }
        for (QAbstractButton* button : box->buttons())
            if (button->text() == caption)
                return button->click();
    });
}

} // namespace

// The buttons speak Japanese; closing a box answers as its last button does.
TEST(QtMessagePortTest, AnswersWithTheButtonTheUserPressed) {
    struct Case {
        const char* what;
        MessageButtons buttons;
        QString pressed;
        MessageAnswer answer;
        QStringList offered;
    };
    const QString ok = QStringLiteral("OK"), cancel = QStringLiteral("キャンセル"),
                  yes = QStringLiteral("はい(&Y)"), no = QStringLiteral("いいえ(&N)"),
                  overwrite = QStringLiteral("上書き保存(&O)"),
                  reload = QStringLiteral("再読み込み(&R)");
    const Case cases[] = {
        {"ok", MessageButtons::Ok, ok, MessageAnswer::Ok, {ok}},
        {"ok box closed", MessageButtons::Ok, {}, MessageAnswer::Ok, {ok}},
        {"cancel", MessageButtons::OkCancel, cancel, MessageAnswer::Cancel, {ok, cancel}},
        {"ok of two", MessageButtons::OkCancel, ok, MessageAnswer::Ok, {ok, cancel}},
        {"yes", MessageButtons::YesNo, yes, MessageAnswer::Yes, {yes, no}},
        {"no", MessageButtons::YesNo, no, MessageAnswer::No, {yes, no}},
        {"yes/no closed", MessageButtons::YesNo, {}, MessageAnswer::No, {yes, no}},
        {"three closed", MessageButtons::YesNoCancel, {}, MessageAnswer::Cancel, {yes, no, cancel}},
        {"overwrite",
         MessageButtons::OverwriteReloadCancel,
         overwrite,
         MessageAnswer::Overwrite,
         {overwrite, reload, cancel}},
        {"reload",
         MessageButtons::OverwriteReloadCancel,
         reload,
         MessageAnswer::Reload,
         {overwrite, reload, cancel}},
        {"file question closed",
         MessageButtons::OverwriteReloadCancel,
         {},
         MessageAnswer::Cancel,
         {overwrite, reload, cancel}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        QtMessagePort port;
        QStringList offered;
        pressWhenShown(test.pressed, offered);
        const MessageAnswer answer =
            port.show({QStringLiteral("更新しますか？"), MessageIcon::Question, test.buttons});
        EXPECT_EQ(answer, test.answer);
        offered.sort();
        QStringList expected = test.offered;
        expected.sort();
        EXPECT_EQ(offered, expected);
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

TEST(QtDialogPortTest, ADialogGoesOverItsOwnerWithinTheScreen) {
    const QRect screen(0, 0, 1366, 768);
    const QSize dialog(300, 200);
    EXPECT_EQ(dialogPositionOver(QRect(500, 200, 340, 360), dialog, screen), QPoint(520, 280));
    EXPECT_EQ(dialogPositionOver(QRect(1200, 600, 340, 360), dialog, screen), QPoint(1066, 568));
    EXPECT_EQ(dialogPositionOver(QRect(-200, -100, 340, 360), dialog, screen), QPoint(0, 0));
    EXPECT_EQ(dialogPositionOver(QRect(100, 40, 340, 360), dialog, QRect(1366, 30, 1920, 1050)),
              QPoint(1366, 120));
}

// Each time it is shown a dialog sits at the same place over the main window, cannot be
// resized and offers neither minimising nor maximising, whatever flags it was made with.
TEST(QtDialogPortTest, DialogsAreFixedToolDialogsOverTheMainWindowEachTime) {
    FakeWindowSystem windows;
    QWidget mainWindow;
    mainWindow.setGeometry(200, 150, 330, 320);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    QDialog dialog(nullptr, Qt::Window | Qt::WindowMinMaxButtonsHint);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLineEdit(&dialog));
    QtDialogPort port(windows, &mainWindow);
    std::vector<QRect> shownAt;
    for (int time = 0; time < 2; ++time) {
        QTimer::singleShot(0, &dialog, [&] {
            shownAt.push_back(dialog.frameGeometry());
            const Qt::WindowFlags flags = dialog.windowFlags();
            EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
            EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
            EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
            dialog.reject();
        });
        port.exec(dialog);
        dialog.move(0, 0); // moved away by the user
    }
    ASSERT_EQ(shownAt.size(), 2u);
    EXPECT_EQ(shownAt[0], shownAt[1]);
    const QPoint offset = shownAt[0].center() - mainWindow.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
}

// Counts how often a window was hidden: each time the window manager loses it.
class HideCounter : public QObject {
public:
    int hides = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        hides += event->type() == QEvent::Hide ? 1 : 0;
        return false;
    }
};

// The native window stays the one the window system knows, shown throughout, while the
// flag follows.
TEST(QtWindowSystemTest, TopmostIsSwitchedWithoutANewNativeWindow) {
    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const WId native = window.winId();
    const QWindow* handle = window.windowHandle();
    const QPlatformWindow* platformWindow = handle->handle();
    HideCounter counter;
    window.installEventFilter(&counter);
    QtWindowSystem windows;
    for (const bool topmost : {false, true, false}) {
        windows.setTopmost(QtWindowSystem::handleOf(&window), topmost);
        EXPECT_EQ(window.winId(), native);
        EXPECT_EQ(window.windowHandle(), handle);
        EXPECT_EQ(window.windowHandle()->handle(), platformWindow);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), topmost);
        EXPECT_EQ(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), topmost);
    }
    EXPECT_EQ(counter.hides, 0);
}

TEST(QtClipboardPortTest, TextWrittenIsReadBack) {
    QtClipboardPort clipboard;
    const QString text = QStringLiteral("P-101\tポンプ\r\nP-102\t\r\n");
    EXPECT_TRUE(clipboard.setText(text));
    EXPECT_EQ(clipboard.text(), text);
}

} // namespace kalvex::testing
