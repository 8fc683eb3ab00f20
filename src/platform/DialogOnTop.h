#pragma once

#include <functional>

#include "platform/WindowSystem.h"

namespace kalvex {

// Shows a modal dialog above the always-on-top main window: the main window stops being
// topmost while the dialog is, for the length of the modal call. Returns the dialog's result.
int ShowDialogOnTop(WindowSystem& windows, WindowHandle mainWindow, WindowHandle dialog,
                    const std::function<int()>& execModal);

} // namespace kalvex
