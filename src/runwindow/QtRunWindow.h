#pragma once

#include <optional>

#include "operations/RunWindow.h"
#include "platform/MessagePort.h"
#include "workstate/RunFlag.h"

class QLabel;

namespace kalvex {

// The run flag a long operation sets and the button that aborts it (may be null).
struct RunFlagBinding {
    bool* flag = nullptr;
    QWidget* abortButton = nullptr;
};

// Whether a progress text is painted at once, for a run that lets no events through.
enum class ProgressPaint { Later, Immediate };

// A tab's window as the operations on the CAD see it: messages through the message port,
// progress in a label, and the run flag set from the start of a run to its end. Without a run
// flag, `proceed` still lets the window handle pending events.
class QtRunWindow : public RunWindow {
public:
    explicit QtRunWindow(MessagePort& messages, RunFlagBinding run = {}, QLabel* progress = nullptr,
                         ProgressPaint paint = ProgressPaint::Later);

    void inform(const std::string& text) override;
    void warn(const std::string& text) override;
    void showProgress(const std::string& text) override;
    void runStarts() override;
    void runEnds() override;
    bool proceed() override;

private:
    MessagePort& m_messages;
    RunFlagBinding m_run;
    QLabel* m_progress;
    ProgressPaint m_paint;
    std::optional<RunFlagScope> m_scope;
};

} // namespace kalvex
