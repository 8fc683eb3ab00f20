#pragma once

#include <cstdint>

namespace kalvex {

// Answers the CAD's automation layer gives while a call into a busy CAD waits. One filter
// is installed per thread; installing one hands back the one it replaced.
class IMessageFilter {
public:
    virtual ~IMessageFilter() = default;
    virtual std::uint32_t HandleInComingCall(std::uint32_t callType, std::uint32_t tickCount) = 0;
    virtual std::int32_t RetryRejectedCall(std::uint32_t tickCount, std::uint32_t rejectType) = 0;
    virtual std::uint32_t MessagePending(std::uint32_t tickCount, std::uint32_t pendingType) = 0;
};

// The thread's message filter slot. Installing returns the filter that was there (may be null).
IMessageFilter* installMessageFilter(IMessageFilter* filter);
IMessageFilter* currentMessageFilter();

// Told of every filter installed in this thread's slot (null when the slot is emptied), so
// that a platform can register it with its own automation layer as well.
using MessageFilterListener = void (*)(IMessageFilter* installed);
void setMessageFilterListener(MessageFilterListener listener);

// Lets calls into a busy CAD be retried every second for as long as the CAD asks for it.
class TMessageFilter : public IMessageFilter {
public:
    static constexpr std::uint32_t kServerCallIsHandled = 0;
    static constexpr std::uint32_t kRejectRetryLater = 2;
    static constexpr std::int32_t kRetryAfterMilliseconds = 1000;
    static constexpr std::int32_t kCancelCall = -1;
    static constexpr std::uint32_t kPendingWaitNoProcess = 1;

    std::uint32_t HandleInComingCall(std::uint32_t callType, std::uint32_t tickCount) override;
    std::int32_t RetryRejectedCall(std::uint32_t tickCount, std::uint32_t rejectType) override;
    std::uint32_t MessagePending(std::uint32_t tickCount, std::uint32_t pendingType) override;

    void RegisterFilter();
    void RevokeFilter();

private:
    IMessageFilter* FOldFilter = nullptr;
};

} // namespace kalvex
