#pragma once

#include <optional>

#include "platform/WindowSystem.h"

namespace kalvex {

// The window system of Windows: a handle is an HWND, and the tool reaches windows of other
// processes (the CAD's) as well as its own.
class Win32WindowSystem : public WindowSystem {
public:
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
    // The scale factor Shcore.dll reports, or 100 where it reports none.
    int firstMonitorScalePercent() override;
};

// The scale factor of the first monitor in the system's list through GetScaleFactorForMonitor
// of the already loaded Shcore.dll; none when the library is not loaded, lacks the function
// (systems before Windows 8.1) or the call fails.
std::optional<int> shcoreMonitorScalePercent();

// Waits by sleeping: the CAD is a process of its own and goes on working meanwhile.
class SleepWaiter : public Waiter {
public:
    void wait(int milliseconds) override;
};

} // namespace kalvex
