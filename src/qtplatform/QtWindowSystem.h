#pragma once

#include <QWidget>

#include "platform/WindowSystem.h"

namespace kalvex {

// A window that accepts lines drawn "on the screen" over its area, kept until it next repaints.
class ScreenMarkerSurface {
public:
    virtual ~ScreenMarkerSurface() = default;
    // Points are in physical screen pixels.
    virtual void showScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                                 PenColor color) = 0;
};

// The window system of this process's own Qt windows. A handle is the address of a widget.
// A top-level window's title is its "cadWindowTitle" property when it has one (the built-in
// drawing window answers to the CAD's title), else its window title; its class is its
// "windowClass" property, else its Qt class name without namespace.
class QtWindowSystem : public WindowSystem {
public:
    static WindowHandle handleOf(const QWidget* widget);
    static QWidget* widgetOf(WindowHandle handle);

    WindowHandle findWindowByTitle(const std::string& title) override;
    WindowHandle findWindowByClass(const std::string& className) override;
    bool isIconic(WindowHandle window) override;
    void openIcon(WindowHandle window) override;
    void setWindowState(WindowHandle window, WindowState state) override;
    WindowHandle foregroundWindow() override;
    void setForegroundWindow(WindowHandle window) override;
    void bringWindowToTop(WindowHandle window) override;
    std::uint32_t windowThreadId(WindowHandle window) override;
    void attachThreadInput(std::uint32_t thread, std::uint32_t toThread, bool attach) override;
    void setTopmost(WindowHandle window, bool topmost) override;
    void sendKey(int virtualKey, bool keyUp) override;
    WindowHandle firstChild(WindowHandle window) override;
    WindowHandle nextSibling(WindowHandle window) override;
    bool windowRect(WindowHandle window, WindowRect& rect) override;
    void drawScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                         PenColor color) override;
    int firstMonitorScalePercent() override;
};

} // namespace kalvex
