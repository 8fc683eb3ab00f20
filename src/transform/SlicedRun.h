#pragma once

#include <chrono>

#include <QElapsedTimer>

#include "workstate/RunFlag.h"

namespace kalvex {

// How long a long editor command works before it lets the window process pending events.
inline constexpr std::chrono::milliseconds kEventSlice{20};

// Processes pending events once the slice since the last time is used up.
class EventSlicer {
public:
    explicit EventSlicer(std::chrono::milliseconds slice);
    void tick();

private:
    std::chrono::milliseconds m_slice;
    QElapsedTimer m_sinceEvents;
};

// A long operation under the run flag that processes pending events on a time slice rather
// than after every item: the abort is still noticed between items, while a conversion of many
// short lines is not dominated by event processing.
class SlicedRun {
public:
    SlicedRun(bool& runFlag, QWidget* abortButton, std::chrono::milliseconds slice);

    // After an item: processes events when the slice is used up; false once aborted.
    bool proceed();

private:
    RunFlagScope m_scope;
    bool& m_runFlag;
    EventSlicer m_events;
};

} // namespace kalvex
