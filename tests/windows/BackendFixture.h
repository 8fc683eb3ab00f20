#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "FakeCadServer.h"
#include "cadlink/CadLink.h"
#include "cadlink/Connection.h"
#include "com/ComApplication.h"
#include "platform/Win32WindowSystem.h"

namespace kalvex {

// The tool's main window on the tests' thread and the link to the CAD the tool uses on
// Windows: the Win32 window system, sleeping waits and the COM backend.
class ToolTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh application reference, as every CAD operation takes one.
    cad::ApplicationPtr connect();
    // Lets the tests' thread handle its window messages until `done` holds, for at most five
    // seconds: the fake CAD's thread sees key presses in its own time.
    static bool waitFor(const std::function<bool()>& done);
    // The tool's window is active, has the focus and lies above the CAD's window. Wine forgets
    // the foreground window when the input of two threads is detached again, as the hand-off
    // back to the tool does; this is what is left to see there.
    void expectToolInFront(HWND cadWindow) const;

    Win32WindowSystem windows;
    SleepWaiter waiter;
    CadLink link{windows, waiter, com::createApplication};
    HWND tool = nullptr;
};

// A fake CAD in its own thread of the test program. After every test the fake CAD must hold no
// object the backend asked for.
class BackendTest : public ToolTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void expectToolInFront() const { ToolTest::expectToolInFront(server.mainWindow()); }

    fake::FakeCadServer server;
};

} // namespace kalvex
