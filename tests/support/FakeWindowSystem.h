#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace kalvex::testing {

// A window system made of declared windows that records every call that changes something,
// in order, as short text lines ("openIcon 2", "sendKey 27 down", "wait 100" ...).
class FakeWindowSystem : public WindowSystem, public Waiter {
public:
    struct Window {
        std::string title;
        std::string className;
        bool iconic = false;
        std::uint32_t thread = 1;
        WindowRect rect;
        std::vector<WindowHandle> children;
        WindowHandle parent = 0;
        bool topmost = false;
        WindowState state = WindowState::Normal;
    };

    std::vector<std::string> calls;
    std::map<WindowHandle, Window> windows;
    WindowHandle foreground = 0;
    int scalePercent = 100;
    // Runs after every change of the foreground window (a test can let another window take it).
    std::function<void()> afterSetForeground;

    WindowHandle addWindow(WindowHandle handle, Window window);
    void addChild(WindowHandle parent, WindowHandle child, WindowRect rect);

    WindowHandle findWindowByTitle(const std::string& title) override;
    WindowHandle findWindowByClass(const std::string& className) override;
    bool isIconic(WindowHandle window) override;
    void openIcon(WindowHandle window) override;
    void setWindowState(WindowHandle window, WindowState state) override;
    WindowHandle foregroundWindow() override { return foreground; }
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
    int firstMonitorScalePercent() override { return scalePercent; }

    void wait(int milliseconds) override;

private:
    void record(const std::string& what, WindowHandle window);
    Window* find(WindowHandle handle);
};

} // namespace kalvex::testing
