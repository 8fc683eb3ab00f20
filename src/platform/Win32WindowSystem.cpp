#include "platform/Win32WindowSystem.h"

#include <windows.h>

#include "platform/Utf16.h"

namespace kalvex {

namespace {

constexpr ULONGLONG kActivationMilliseconds = 500;

HWND hwndOf(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

WindowHandle handleOf(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

std::wstring wideOf(const std::string& text) {
    const std::u16string utf16 = toUtf16(text);
    return std::wstring(utf16.begin(), utf16.end());
}

BOOL CALLBACK takeFirstMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
    *reinterpret_cast<HMONITOR*>(found) = monitor;
    return FALSE;
}

HMONITOR firstMonitor() {
    HMONITOR monitor = nullptr;
    EnumDisplayMonitors(nullptr, nullptr, takeFirstMonitor, reinterpret_cast<LPARAM>(&monitor));
    return monitor;
}

} // namespace

WindowHandle Win32WindowSystem::findWindowByTitle(const std::string& title) {
    return handleOf(FindWindowW(nullptr, wideOf(title).c_str()));
}

WindowHandle Win32WindowSystem::findWindowByClass(const std::string& className) {
    return handleOf(FindWindowW(wideOf(className).c_str(), nullptr));
}

bool Win32WindowSystem::isIconic(WindowHandle window) {
    return window != 0 && IsIconic(hwndOf(window));
}

void Win32WindowSystem::openIcon(WindowHandle window) {
    if (window != 0)
        OpenIcon(hwndOf(window));
}

void Win32WindowSystem::setWindowState(WindowHandle window, WindowState state) {
    if (window != 0)
        ShowWindow(hwndOf(window), state == WindowState::Minimised ? SW_MINIMIZE : SW_RESTORE);
}

WindowHandle Win32WindowSystem::foregroundWindow() {
    return handleOf(GetForegroundWindow());
}

void Win32WindowSystem::setForegroundWindow(WindowHandle window) {
    if (window == 0 || !SetForegroundWindow(hwndOf(window)))
        return;
    // A window of another thread comes to the front once that thread has handled its
    // activation, which may send messages to this thread; the hand-off reads the foreground
    // right after, so let those messages in for a moment.
    const ULONGLONG until = GetTickCount64() + kActivationMilliseconds;
    while (GetForegroundWindow() != hwndOf(window) && GetTickCount64() < until) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        Sleep(5);
    }
}

void Win32WindowSystem::bringWindowToTop(WindowHandle window) {
    if (window != 0)
        BringWindowToTop(hwndOf(window));
}

std::uint32_t Win32WindowSystem::windowThreadId(WindowHandle window) {
    return window != 0 ? GetWindowThreadProcessId(hwndOf(window), nullptr) : 0;
}

void Win32WindowSystem::attachThreadInput(std::uint32_t thread, std::uint32_t toThread,
                                          bool attach) {
    AttachThreadInput(thread, toThread, attach ? TRUE : FALSE);
}

void Win32WindowSystem::setTopmost(WindowHandle window, bool topmost) {
    if (window != 0)
        SetWindowPos(hwndOf(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
}

void Win32WindowSystem::sendKey(int virtualKey, bool keyUp) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.dwFlags = keyUp ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

WindowHandle Win32WindowSystem::firstChild(WindowHandle window) {
    return window != 0 ? handleOf(GetWindow(hwndOf(window), GW_CHILD)) : 0;
}

WindowHandle Win32WindowSystem::nextSibling(WindowHandle window) {
    return window != 0 ? handleOf(GetWindow(hwndOf(window), GW_HWNDNEXT)) : 0;
}

bool Win32WindowSystem::windowRect(WindowHandle window, WindowRect& rect) {
    RECT r;
    if (window == 0 || !GetWindowRect(hwndOf(window), &r))
        return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

void Win32WindowSystem::drawScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                                        PenColor color) {
    if (points.empty())
        return;
    HDC screen = GetDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, penWidth, RGB(color.red, color.green, color.blue));
    HGDIOBJ previous = SelectObject(screen, pen);
    MoveToEx(screen, points.front().x, points.front().y, nullptr);
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(screen, points[i].x, points[i].y);
    SelectObject(screen, previous);
    DeleteObject(pen);
    ReleaseDC(nullptr, screen);
}

int Win32WindowSystem::firstMonitorScalePercent() {
    return shcoreMonitorScalePercent().value_or(100);
}

std::optional<int> shcoreMonitorScalePercent() {
    using ScaleFactorForMonitor = HRESULT(WINAPI*)(HMONITOR, int*);
    HMODULE shcore = GetModuleHandleW(L"Shcore.dll");
    if (!shcore)
        return std::nullopt;
    auto scaleFactor = reinterpret_cast<ScaleFactorForMonitor>(
        reinterpret_cast<void*>(GetProcAddress(shcore, "GetScaleFactorForMonitor")));
    int percent = 0;
    if (!scaleFactor || FAILED(scaleFactor(firstMonitor(), &percent)))
        return std::nullopt;
    return percent;
}

void SleepWaiter::wait(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

} // namespace kalvex
