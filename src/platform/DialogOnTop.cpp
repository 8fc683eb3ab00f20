#include "platform/DialogOnTop.h"

namespace kalvex {

int ShowDialogOnTop(WindowSystem& windows, WindowHandle mainWindow, WindowHandle dialog,
                    const std::function<int()>& execModal) {
    windows.setTopmost(mainWindow, false);
    windows.setTopmost(dialog, true);
    struct Restore {
        WindowSystem& windows;
        WindowHandle mainWindow;
        WindowHandle dialog;
        ~Restore() {
            windows.setTopmost(dialog, false);
            windows.setTopmost(mainWindow, true);
        }
    } restore{windows, mainWindow, dialog};
    return execModal();
}

} // namespace kalvex
