#include "workstate/RunFlag.h"

#include <QCoreApplication>

namespace kalvex {

RunFlagScope::RunFlagScope(bool& runFlag, QWidget* abortButton)
    : m_runFlag(runFlag), m_abortButton(abortButton) {
    m_runFlag = true;
    if (m_abortButton)
        m_abortButton->setEnabled(true);
}

RunFlagScope::~RunFlagScope() {
    m_runFlag = false;
    if (m_abortButton)
        m_abortButton->setEnabled(false);
}

bool RunFlagScope::proceed() {
    if (!m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= kEventInterval.count()) {
        QCoreApplication::processEvents();
        m_sinceEvents.start();
    }
    return m_runFlag;
}

void abortRun(bool& runFlag) {
    runFlag = false;
    QCoreApplication::processEvents();
}

} // namespace kalvex
