#include "qtplatform/QtDialogPort.h"

#include <QDialog>
#include <QScreen>
#include <algorithm>

#include "platform/DialogOnTop.h"
#include "qtplatform/QtWindowSystem.h"

namespace kalvex {

namespace {

// A tool dialog: a title, the system menu and a close button, no minimising or maximising
// (window managers offer neither for a tool window, whatever buttons they would draw).
constexpr Qt::WindowFlags kDialogFlags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// The borders the window system puts around a shown window; none before it is shown.
QMargins frameMarginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

// The dialog takes the size its contents ask for when it is shown, and keeps it while it is
// up: the user cannot resize it, and a preview that changes as the user types does not make
// it jump.
void fixSize(QDialog& dialog) {
    dialog.setMinimumSize(0, 0);
    dialog.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    dialog.setFixedSize(dialog.sizeHint().expandedTo(dialog.minimumSizeHint()));
}

} // namespace

QPoint dialogPositionOver(const QRect& ownerFrame, const QSize& dialogFrame,
                          const QRect& available) {
    const int left = ownerFrame.left() + (ownerFrame.width() - dialogFrame.width()) / 2;
    const int top = ownerFrame.top() + (ownerFrame.height() - dialogFrame.height()) / 2;
    const int lastLeft = std::max(available.left(), available.right() + 1 - dialogFrame.width());
    const int lastTop = std::max(available.top(), available.bottom() + 1 - dialogFrame.height());
    return QPoint(std::clamp(left, available.left(), lastLeft),
                  std::clamp(top, available.top(), lastTop));
}

void QtDialogPort::placeOverMainWindow(QDialog& dialog) const {
    if (dialog.windowFlags() != kDialogFlags)
        dialog.setWindowFlags(kDialogFlags);
    fixSize(dialog);
    if (!m_mainWindow)
        return;
    // The dialog's borders are those of the main window, drawn by the same window system.
    const QSize frame = dialog.size().grownBy(frameMarginsOf(*m_mainWindow));
    const QRect available = m_mainWindow->screen()->availableGeometry();
    dialog.move(dialogPositionOver(m_mainWindow->frameGeometry(), frame, available));
}

int QtDialogPort::exec(QDialog& dialog) {
    placeOverMainWindow(dialog);
    return ShowDialogOnTop(m_windows, QtWindowSystem::handleOf(m_mainWindow),
                           QtWindowSystem::handleOf(&dialog), [&dialog] { return dialog.exec(); });
}

} // namespace kalvex
