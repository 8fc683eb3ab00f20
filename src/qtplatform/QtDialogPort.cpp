#include "qtplatform/QtDialogPort.h"

#include <QDialog>

#include "platform/DialogOnTop.h"
#include "qtplatform/QtWindowSystem.h"

namespace kalvex {

int QtDialogPort::exec(QDialog& dialog) {
    return ShowDialogOnTop(m_windows, QtWindowSystem::handleOf(m_mainWindow),
                           QtWindowSystem::handleOf(&dialog), [&dialog] { return dialog.exec(); });
}

} // namespace kalvex
