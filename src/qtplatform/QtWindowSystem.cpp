#include "qtplatform/QtWindowSystem.h"

#include "qtplatform/StayOnTop.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <cmath>
#include <functional>

namespace kalvex {

namespace {

QString windowTitleOf(const QWidget* w) {
    const QVariant cadTitle = w->property("cadWindowTitle");
    return cadTitle.isValid() ? cadTitle.toString() : w->windowTitle();
}

QString windowClassOf(const QWidget* w) {
    const QVariant cls = w->property("windowClass");
    if (cls.isValid())
        return cls.toString();
    const QString name = QString::fromLatin1(w->metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

WindowHandle findTopLevel(const std::function<bool(const QWidget*)>& matches) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && matches(w))
            return QtWindowSystem::handleOf(w);
    }
    return 0;
}

QList<QWidget*> childWidgets(const QWidget* w) {
    return w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

// Only handles of live widgets are dereferenced: a stale handle is treated as no window.
bool isLiveWidget(const QWidget* candidate) {
    for (QWidget* w : QApplication::allWidgets()) {
        if (w == candidate)
            return true;
    }
    return false;
}

} // namespace

WindowHandle QtWindowSystem::handleOf(const QWidget* widget) {
    return reinterpret_cast<WindowHandle>(widget);
}

QWidget* QtWindowSystem::widgetOf(WindowHandle handle) {
    auto* w = reinterpret_cast<QWidget*>(handle);
    return handle != 0 && isLiveWidget(w) ? w : nullptr;
}

WindowHandle QtWindowSystem::findWindowByTitle(const std::string& title) {
    const QString wanted = QString::fromStdString(title);
    return findTopLevel([&](const QWidget* w) { return windowTitleOf(w) == wanted; });
}

WindowHandle QtWindowSystem::findWindowByClass(const std::string& className) {
    const QString wanted = QString::fromStdString(className);
    return findTopLevel([&](const QWidget* w) { return windowClassOf(w) == wanted; });
}

bool QtWindowSystem::isIconic(WindowHandle window) {
    QWidget* w = widgetOf(window);
    return w && w->isMinimized();
}

void QtWindowSystem::openIcon(WindowHandle window) {
    if (QWidget* w = widgetOf(window))
        w->showNormal();
}

void QtWindowSystem::setWindowState(WindowHandle window, WindowState state) {
    QWidget* w = widgetOf(window);
    if (!w)
        return;
    if (state == WindowState::Minimised)
        w->showMinimized();
    else
        w->showNormal();
}

WindowHandle QtWindowSystem::foregroundWindow() {
    return handleOf(QApplication::activeWindow());
}

void QtWindowSystem::setForegroundWindow(WindowHandle window) {
    if (QWidget* w = widgetOf(window)) {
        w->raise();
        w->activateWindow();
    }
}

void QtWindowSystem::bringWindowToTop(WindowHandle window) {
    if (QWidget* w = widgetOf(window))
        w->raise();
}

std::uint32_t QtWindowSystem::windowThreadId(WindowHandle window) {
    QWidget* w = widgetOf(window);
    if (!w)
        return 0;
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(w->thread()));
}

void QtWindowSystem::attachThreadInput(std::uint32_t, std::uint32_t, bool) {
    // All windows of this process share one input queue; there is nothing to attach.
}

void QtWindowSystem::setTopmost(WindowHandle window, bool topmost) {
    QWidget* w = widgetOf(window);
    if (!w || w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    setStaysOnTop(*w, topmost);
}

void QtWindowSystem::sendKey(int virtualKey, bool keyUp) {
    if (virtualKey != 27)
        return;
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        return;
    QKeyEvent event(keyUp ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

WindowHandle QtWindowSystem::firstChild(WindowHandle window) {
    QWidget* w = widgetOf(window);
    if (!w)
        return 0;
    const auto children = childWidgets(w);
    return children.isEmpty() ? 0 : handleOf(children.first());
}

WindowHandle QtWindowSystem::nextSibling(WindowHandle window) {
    QWidget* w = widgetOf(window);
    if (!w || !w->parentWidget())
        return 0;
    const auto siblings = childWidgets(w->parentWidget());
    const auto at = siblings.indexOf(w);
    return at + 1 < siblings.size() ? handleOf(siblings[at + 1]) : 0;
}

bool QtWindowSystem::windowRect(WindowHandle window, WindowRect& rect) {
    QWidget* w = widgetOf(window);
    if (!w)
        return false;
    const QPoint topLeft = w->mapToGlobal(QPoint(0, 0));
    rect = {topLeft.x(), topLeft.y(), topLeft.x() + w->width(), topLeft.y() + w->height()};
    return true;
}

void QtWindowSystem::drawScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                                     PenColor color) {
    // There is no drawing onto the screen itself here; the windows that can show such a mark
    // over their area take it.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* surface = dynamic_cast<ScreenMarkerSurface*>(w); surface && w->isVisible())
            surface->showScreenLines(points, penWidth, color);
    }
}

int QtWindowSystem::firstMonitorScalePercent() {
    const auto screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return 100;
    return static_cast<int>(std::lround(screens.first()->devicePixelRatio() * 100.0));
}

} // namespace kalvex
