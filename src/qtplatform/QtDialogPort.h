#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/DialogPort.h"
#include "platform/WindowSystem.h"

namespace kalvex {

// Where a dialog of frame size `dialogFrame` goes: centred over its owner's frame, moved
// where needed to lie within the screen's available area.
QPoint dialogPositionOver(const QRect& ownerFrame, const QSize& dialogFrame,
                          const QRect& available);

// Modal dialogs shown above the always-on-top main window: for the length of the modal call
// the main window stops being topmost and the dialog is. Every dialog is a fixed-size tool
// dialog without minimise and maximise buttons, centred over the main window each time.
class QtDialogPort : public DialogPort {
public:
    QtDialogPort(WindowSystem& windows, QWidget* mainWindow = nullptr)
        : m_windows(windows), m_mainWindow(mainWindow) {}
    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }

    int exec(QDialog& dialog) override;

private:
    void placeOverMainWindow(QDialog& dialog) const;

    WindowSystem& m_windows;
    QPointer<QWidget> m_mainWindow;
};

} // namespace kalvex
