#pragma once

#include <string>

namespace kalvex {

// What an operation on the CAD needs of the window that started it: the user's messages, the
// progress shown while it runs, and the run flag that the abort button clears. The tabs'
// windows implement it; so do the tests that drive the operations without a window.
class RunWindow {
public:
    virtual ~RunWindow() = default;

    // A plain message with one OK button, and one with the warning icon.
    virtual void inform(const std::string& text) = 0;
    virtual void warn(const std::string& text) = 0;
    // How far the operation has come, e.g. "12 / 40".
    virtual void showProgress(const std::string& text) = 0;
    // The same for a progress bar; a window without one ignores it.
    virtual void showStep(int done, int total) {
        (void)done;
        (void)total;
    }

    // A long run sets the run flag between these two; `proceed`, called after each item, lets
    // the window handle pending events and tells whether the flag is still set.
    virtual void runStarts() = 0;
    virtual void runEnds() = 0;
    virtual bool proceed() = 0;
};

// One long run under the window's run flag, from construction to destruction.
class RunScope {
public:
    explicit RunScope(RunWindow& window) : m_window(window) { m_window.runStarts(); }
    ~RunScope() { m_window.runEnds(); }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    bool proceed() { return m_window.proceed(); }

private:
    RunWindow& m_window;
};

} // namespace kalvex
