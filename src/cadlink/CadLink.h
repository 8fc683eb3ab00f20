#pragma once

#include <functional>

#include "cadlink/Application.h"
#include "platform/WindowSystem.h"

namespace kalvex {

// Creates the CAD's application object, as the system's class registration would. It may throw.
using ApplicationFactory = std::function<cad::ApplicationPtr()>;

// What every CAD operation needs to reach the CAD and to hand the foreground back and forth:
// the window system, the short waits, the way to create the application object, the tool's
// own main window and the monitor scale read at start-up.
struct CadLink {
    WindowSystem& windows;
    Waiter& waiter;
    ApplicationFactory createApplication;
    WindowHandle toolWindow = 0;
    int MonitorScalePercent = 100;
};

} // namespace kalvex
