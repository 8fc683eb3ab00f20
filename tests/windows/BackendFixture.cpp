#include "BackendFixture.h"

namespace kalvex {

namespace {

HWND createToolWindow() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TOrvikMainForm";
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
    return CreateWindowExW(0, L"TOrvikMainForm", L"Kalvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 1020,
                           50, 240, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

} // namespace

void ToolTest::SetUp() {
    tool = createToolWindow();
    ASSERT_NE(tool, nullptr);
    link.toolWindow = reinterpret_cast<WindowHandle>(tool);
}

void ToolTest::TearDown() {
    DestroyWindow(tool);
}

cad::ApplicationPtr ToolTest::connect() {
    cad::ApplicationPtr app;
    EXPECT_TRUE(ConnectCad(link, app)) << "no connection to the fake CAD";
    return app;
}

void ToolTest::expectToolInFront(HWND cadWindow) const {
    // Wine hands activation over through messages, so it may arrive a moment later; the keyboard
    // focus it leaves empty after two threads' input is detached again, so only activation and
    // the stacking order are checked.
    waitFor([this] { return GetActiveWindow() == tool; });
    EXPECT_EQ(GetActiveWindow(), tool);
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        EXPECT_NE(window, cadWindow) << "the CAD's window lies above the tool's";
        if (window == tool)
            return;
    }
    ADD_FAILURE() << "the tool's window is not among the top-level windows";
}

bool ToolTest::waitFor(const std::function<bool()>& done) {
    const ULONGLONG until = GetTickCount64() + 5000;
    while (!done() && GetTickCount64() < until) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(10);
    }
    return done();
}

void BackendTest::SetUp() {
    ASSERT_EQ(server.startResult(), S_OK) << "the fake CAD could not start";
    ToolTest::SetUp();
    server.cad().toolWindow = tool;
}

void BackendTest::TearDown() {
    ToolTest::TearDown();
    EXPECT_EQ(server.log().liveObjects, 0) << "objects of the CAD the backend did not release";
}

} // namespace kalvex
