#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WindowHandle.h"

namespace kalvex {

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct PenColor {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const PenColor&, const PenColor&) = default;
};

enum class WindowState { Normal, Minimised };

// What the tool asks of the window system: finding windows, handing the foreground around,
// topmost switching, synthetic keys, window geometry and drawing straight onto the screen.
// Handle 0 means "no window"; calls on it do nothing and report nothing.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual WindowHandle findWindowByTitle(const std::string& title) = 0; // exact match
    virtual WindowHandle findWindowByClass(const std::string& className) = 0;

    virtual bool isIconic(WindowHandle window) = 0;
    virtual void openIcon(WindowHandle window) = 0; // restore a minimised window
    virtual void setWindowState(WindowHandle window, WindowState state) = 0;

    virtual WindowHandle foregroundWindow() = 0;
    virtual void setForegroundWindow(WindowHandle window) = 0;
    virtual void bringWindowToTop(WindowHandle window) = 0;
    virtual std::uint32_t windowThreadId(WindowHandle window) = 0;
    virtual void attachThreadInput(std::uint32_t thread, std::uint32_t toThread, bool attach) = 0;
    virtual void setTopmost(WindowHandle window, bool topmost) = 0;

    // A synthetic key event sent to whatever window has the keyboard focus.
    virtual void sendKey(int virtualKey, bool keyUp) = 0;

    virtual WindowHandle firstChild(WindowHandle window) = 0;
    virtual WindowHandle nextSibling(WindowHandle window) = 0;
    virtual bool windowRect(WindowHandle window, WindowRect& rect) = 0; // screen coordinates

    // An open or closed line through the points, drawn over everything on the screen until
    // the windows under it repaint.
    virtual void drawScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                                 PenColor color) = 0;

    // The display scale factor of the first monitor in percent (100, 125, 150 ...).
    virtual int firstMonitorScalePercent() = 0;
};

// The short waits of the hand-off (100 ms after restoring, 5 ms after Escape or a pick).
class Waiter {
public:
    virtual ~Waiter() = default;
    virtual void wait(int milliseconds) = 0;
};

} // namespace kalvex
