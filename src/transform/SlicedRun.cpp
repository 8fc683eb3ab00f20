#include "transform/SlicedRun.h"

#include <QCoreApplication>

namespace kalvex {

SlicedRun::SlicedRun(bool& runFlag, QWidget* abortButton, std::chrono::milliseconds slice)
    : m_scope(runFlag, abortButton), m_runFlag(runFlag), m_slice(slice) {
    m_sinceEvents.start();
}

bool SlicedRun::proceed() {
    if (m_sinceEvents.elapsed() < m_slice.count())
        return m_runFlag;
    m_sinceEvents.restart();
    return m_scope.proceed();
}

EventSlicer::EventSlicer(std::chrono::milliseconds slice) : m_slice(slice) {
    m_sinceEvents.start();
}

void EventSlicer::tick() {
    if (m_sinceEvents.elapsed() < m_slice.count())
        return;
    m_sinceEvents.restart();
    QCoreApplication::processEvents();
}

} // namespace kalvex
