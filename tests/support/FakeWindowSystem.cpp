#include "support/FakeWindowSystem.h"

#include <algorithm>

namespace kalvex::testing {

WindowHandle FakeWindowSystem::addWindow(WindowHandle handle, Window window) {
    windows[handle] = std::move(window);
    return handle;
}

void FakeWindowSystem::addChild(WindowHandle parent, WindowHandle child, WindowRect rect) {
    Window w;
    w.rect = rect;
    w.parent = parent;
    windows[child] = w;
    windows[parent].children.push_back(child);
}

FakeWindowSystem::Window* FakeWindowSystem::find(WindowHandle handle) {
    auto it = windows.find(handle);
    return it == windows.end() ? nullptr : &it->second;
}

void FakeWindowSystem::record(const std::string& what, WindowHandle window) {
    calls.push_back(what + " " + std::to_string(window));
}

WindowHandle FakeWindowSystem::findWindowByTitle(const std::string& title) {
    for (const auto& [handle, w] : windows) {
        if (w.parent == 0 && w.title == title)
            return handle;
    }
    return 0;
}

WindowHandle FakeWindowSystem::findWindowByClass(const std::string& className) {
    for (const auto& [handle, w] : windows) {
        if (w.parent == 0 && w.className == className)
            return handle;
    }
    return 0;
}

bool FakeWindowSystem::isIconic(WindowHandle window) {
    Window* w = find(window);
    return w && w->iconic;
}

void FakeWindowSystem::openIcon(WindowHandle window) {
    record("openIcon", window);
    if (Window* w = find(window))
        w->iconic = false;
}

void FakeWindowSystem::setWindowState(WindowHandle window, WindowState state) {
    record(state == WindowState::Minimised ? "minimise" : "normal", window);
    if (Window* w = find(window)) {
        w->state = state;
        w->iconic = state == WindowState::Minimised;
    }
}

void FakeWindowSystem::setForegroundWindow(WindowHandle window) {
    record("setForeground", window);
    foreground = window;
    if (afterSetForeground)
        afterSetForeground();
}

void FakeWindowSystem::bringWindowToTop(WindowHandle window) {
    record("bringToTop", window);
}

std::uint32_t FakeWindowSystem::windowThreadId(WindowHandle window) {
    Window* w = find(window);
    return w ? w->thread : 0;
}

void FakeWindowSystem::attachThreadInput(std::uint32_t thread, std::uint32_t toThread,
                                         bool attach) {
    calls.push_back((attach ? "attach " : "detach ") + std::to_string(thread) + " " +
                    std::to_string(toThread));
}

void FakeWindowSystem::setTopmost(WindowHandle window, bool topmost) {
    record(topmost ? "topmost" : "notTopmost", window);
    if (Window* w = find(window))
        w->topmost = topmost;
}

void FakeWindowSystem::sendKey(int virtualKey, bool keyUp) {
    calls.push_back("sendKey " + std::to_string(virtualKey) + (keyUp ? " up" : " down"));
}

WindowHandle FakeWindowSystem::firstChild(WindowHandle window) {
    Window* w = find(window);
    return w && !w->children.empty() ? w->children.front() : 0;
}

WindowHandle FakeWindowSystem::nextSibling(WindowHandle window) {
    Window* w = find(window);
    Window* parent = w ? find(w->parent) : nullptr;
    if (!parent)
        return 0;
    auto at = std::find(parent->children.begin(), parent->children.end(), window);
    return at + 1 < parent->children.end() ? *(at + 1) : 0;
}

bool FakeWindowSystem::windowRect(WindowHandle window, WindowRect& rect) {
    Window* w = find(window);
    if (!w)
        return false;
    rect = w->rect;
    return true;
}

void FakeWindowSystem::drawScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                                       PenColor color) {
    std::string line = "lines width " + std::to_string(penWidth) + " rgb " +
                       std::to_string(color.red) + "," + std::to_string(color.green) + "," +
                       std::to_string(color.blue) + ":";
    for (const ScreenPoint& p : points)
        line += " " + std::to_string(p.x) + "," + std::to_string(p.y);
    calls.push_back(line);
}

void FakeWindowSystem::wait(int milliseconds) {
    calls.push_back("wait " + std::to_string(milliseconds));
}

} // namespace kalvex::testing
