#include "cadlink/MessageFilter.h"

namespace kalvex {

namespace {
// All CAD calls run on the user-interface thread, so one slot per thread is one slot.
thread_local IMessageFilter* t_messageFilter = nullptr;
thread_local MessageFilterListener t_listener = nullptr;
} // namespace

IMessageFilter* installMessageFilter(IMessageFilter* filter) {
    IMessageFilter* previous = t_messageFilter;
    t_messageFilter = filter;
    if (t_listener)
        t_listener(filter);
    return previous;
}

void setMessageFilterListener(MessageFilterListener listener) {
    t_listener = listener;
}

IMessageFilter* currentMessageFilter() {
    return t_messageFilter;
}

std::uint32_t TMessageFilter::HandleInComingCall(std::uint32_t, std::uint32_t) {
    return kServerCallIsHandled;
}

std::int32_t TMessageFilter::RetryRejectedCall(std::uint32_t, std::uint32_t rejectType) {
    return rejectType == kRejectRetryLater ? kRetryAfterMilliseconds : kCancelCall;
}

std::uint32_t TMessageFilter::MessagePending(std::uint32_t, std::uint32_t) {
    return kPendingWaitNoProcess;
}

void TMessageFilter::RegisterFilter() {
    FOldFilter = installMessageFilter(this);
}

void TMessageFilter::RevokeFilter() {
    installMessageFilter(FOldFilter);
    FOldFilter = nullptr;
}

} // namespace kalvex
