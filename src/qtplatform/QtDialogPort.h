#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/DialogPort.h"
#include "platform/WindowSystem.h"

namespace kalvex {

// Modal dialogs shown above the always-on-top main window: for the length of the modal call
// the main window stops being topmost and the dialog is.
class QtDialogPort : public DialogPort {
public:
    QtDialogPort(WindowSystem& windows, QWidget* mainWindow = nullptr)
        : m_windows(windows), m_mainWindow(mainWindow) {}
    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }

    int exec(QDialog& dialog) override;

private:
    WindowSystem& m_windows;
    QPointer<QWidget> m_mainWindow;
};

} // namespace kalvex
