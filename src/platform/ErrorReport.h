#pragma once

#include <exception>
#include <functional>
#include <utility>

#include "platform/MessagePort.h"

namespace kalvex {

// The application's top-level error report: an error that leaves a handler is shown as a
// message box holding its text, and the program goes on. Every handler connected to a
// control runs through `guarded`.
class ErrorReport {
public:
    explicit ErrorReport(MessagePort& messages) : m_messages(messages) {}

    void report(const std::exception& error);
    void reportUnknown();

    // Runs the action; an exception it throws is reported instead of propagating.
    void run(const std::function<void()>& action);

    // The handler wrapped for connecting to a signal.
    template <typename Handler> auto guarded(Handler handler) {
        return [this, handler = std::move(handler)]() { run(handler); };
    }

private:
    MessagePort& m_messages;
};

} // namespace kalvex
