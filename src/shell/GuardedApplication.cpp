#include "shell/GuardedApplication.h"

#include "platform/ErrorReport.h"

namespace kalvex {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    if (!m_report)
        return QApplication::notify(receiver, event);
    bool handled = false;
    m_report->run([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace kalvex
