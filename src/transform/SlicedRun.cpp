#include "transform/SlicedRun.h"

#include <QCoreApplication>

namespace kalvex {

EventSlicer::EventSlicer(std::chrono::milliseconds slice) : m_slice(slice) {
    m_sinceEvents.start();
}

void EventSlicer::tick() {
    if (m_sinceEvents.elapsed() < m_slice.count())
        return;
    QCoreApplication::processEvents();
    m_sinceEvents.restart();
}

SlicedRun::SlicedRun(bool& runFlag, QWidget* abortButton, std::chrono::milliseconds slice)
    : m_scope(runFlag, abortButton), m_runFlag(runFlag), m_events(slice) {}

bool SlicedRun::proceed() {
    m_events.tick();
    return m_runFlag;
}

} // namespace kalvex
