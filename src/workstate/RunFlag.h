#pragma once

#include <chrono>

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

namespace kalvex {

// One long operation under the run flag. Starting it sets the flag and enables its abort
// button (when it has one); `proceed` lets the window process pending events after an item,
// so that the abort button can be pressed, and tells whether to go on; however the operation
// ends, the flag is cleared and the abort button disabled.
//
// Pending events are processed at the first item and then at most once per kEventInterval:
// a round of the event loop costs microseconds, which over hundreds of thousands of items
// would outweigh the items themselves, while a click is still seen within a hundredth of a
// second.
class RunFlagScope {
public:
    RunFlagScope(bool& runFlag, QWidget* abortButton);
    ~RunFlagScope();
    RunFlagScope(const RunFlagScope&) = delete;
    RunFlagScope& operator=(const RunFlagScope&) = delete;

    bool proceed();

    static constexpr std::chrono::milliseconds kEventInterval{10};

private:
    bool& m_runFlag;
    QPointer<QWidget> m_abortButton;
    QElapsedTimer m_sinceEvents; // invalid until the first item's events are processed
};

// What an abort button does: clear the flag and let pending events run. The running loop
// notices the cleared flag at its next check.
void abortRun(bool& runFlag);

} // namespace kalvex
