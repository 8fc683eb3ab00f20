#include "app/WindowPlacement.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace kalvex {

namespace {

constexpr int kGap = 8;
constexpr int kShowTimeoutMilliseconds = 2000;

} // namespace

QRect frameBesideTool(const QRect& available, const QRect& toolFrame) {
    const int roomLeft = toolFrame.left() - available.left() - kGap;
    const int roomRight = available.right() - toolFrame.right() - kGap;
    const bool right = roomRight >= roomLeft;
    const int width = std::max(1, right ? roomRight : roomLeft);
    const int left = right ? toolFrame.right() + 1 + kGap : available.left();
    return QRect(left, available.top(), width, available.height());
}

QRect frameWithinScreen(const QRect& available, const QRect& frame) {
    const int width = std::min(frame.width(), available.width());
    const int height = std::min(frame.height(), available.height());
    const int left = std::clamp(frame.left(), available.left(), available.right() + 1 - width);
    const int top = std::clamp(frame.top(), available.top(), available.bottom() + 1 - height);
    return QRect(left, top, width, height);
}

void waitUntilShown(QWidget& window) {
    const QDeadlineTimer deadline(kShowTimeoutMilliseconds);
    while (!deadline.hasExpired() && !(window.windowHandle() && window.windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
}

QMargins frameMarginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

void showInFrame(QWidget& window, const QRect& frame, const QMargins& expectedMargins) {
    window.setGeometry(frame.marginsRemoved(expectedMargins));
    window.show();
    waitUntilShown(window);
    const QMargins margins = frameMarginsOf(window);
    if (margins != expectedMargins || window.frameGeometry() != frame)
        window.setGeometry(frame.marginsRemoved(margins));
}

} // namespace kalvex
