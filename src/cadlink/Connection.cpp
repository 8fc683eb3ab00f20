#include "cadlink/Connection.h"

#include "cadlink/CadError.h"

namespace kalvex {

bool ConnectCad(CadLink& link, cad::ApplicationPtr& app) {
    if (link.windows.findWindowByTitle(kCadWindowTitle) == 0)
        return false;
    try {
        app = link.createApplication ? link.createApplication() : nullptr;
    } catch (const cad::CadError&) {
        app = nullptr;
    }
    return app != nullptr;
}

void RestoreCadWindow(CadLink& link, cad::Application& app) {
    const WindowHandle cad = app.Hwnd();
    if (!link.windows.isIconic(cad))
        return;
    link.windows.openIcon(cad);
    link.waiter.wait(100);
}

void ActivateCad(CadLink& link, cad::Application& app) {
    link.windows.setForegroundWindow(app.Hwnd());
}

void CancelCadCommand(CadLink& link, cad::Application& app) {
    // Escape goes to whatever has the focus, so it is sent only while the CAD is in front.
    if (app.Hwnd() != link.windows.foregroundWindow())
        return;
    link.windows.sendKey(kVirtualKeyEscape, false);
    link.windows.sendKey(kVirtualKeyEscape, true);
    link.waiter.wait(5);
}

void MinimiseTool(CadLink& link) {
    link.windows.setWindowState(link.toolWindow, WindowState::Minimised);
}

void RestoreTool(CadLink& link) {
    link.windows.setWindowState(link.toolWindow, WindowState::Normal);
}

void ReturnFocusToTool(CadLink& link, WindowHandle toolWindow) {
    WindowSystem& windows = link.windows;
    const std::uint32_t toolThread = windows.windowThreadId(toolWindow);
    const std::uint32_t foregroundThread = windows.windowThreadId(windows.foregroundWindow());
    windows.setForegroundWindow(toolWindow);
    if (toolThread == foregroundThread) {
        windows.bringWindowToTop(toolWindow);
        return;
    }
    // Another thread's window is in front: share its input state so the tool may take over.
    windows.attachThreadInput(toolThread, foregroundThread, true);
    windows.bringWindowToTop(toolWindow);
    windows.attachThreadInput(toolThread, foregroundThread, false);
}

int ReadMonitorScale(WindowSystem& windows) {
    return windows.firstMonitorScalePercent();
}

} // namespace kalvex
