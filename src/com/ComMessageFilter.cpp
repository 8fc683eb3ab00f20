#include "com/ComMessageFilter.h"

#include <objbase.h>

#include <utility>

#include "cadlink/MessageFilter.h"
#include "com/ComRef.h"
#include "com/RefCounted.h"

namespace kalvex::com {

namespace {

// COM's face of one of our filters: every question goes to the filter as it is.
class ComFilterAdapter final : public RefCounted<::IMessageFilter> {
public:
    explicit ComFilterAdapter(kalvex::IMessageFilter& filter) : m_filter(filter) {}

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK, DWORD tickCount,
                                               LPINTERFACEINFO) override {
        return m_filter.HandleInComingCall(callType, tickCount);
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD tickCount, DWORD rejectType) override {
        return static_cast<DWORD>(m_filter.RetryRejectedCall(tickCount, rejectType));
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD tickCount, DWORD pendingType) override {
        return m_filter.MessagePending(tickCount, pendingType);
    }

private:
    bool offers(REFIID iid) const override { return iid == IID_IMessageFilter; }

    kalvex::IMessageFilter& m_filter;
};

thread_local ::IMessageFilter* t_registered = nullptr; // our adapter COM holds, if any
thread_local ::IMessageFilter* t_before = nullptr;     // held: the filter registered before ours

void registerWithCom(kalvex::IMessageFilter* installed) {
    using FilterRef = ComRef<::IMessageFilter>;
    FilterRef filter = installed ? FilterRef::adopt(new ComFilterAdapter(*installed))
                                 : FilterRef::adopt(std::exchange(t_before, nullptr));
    FilterRef previous;
    if (FAILED(CoRegisterMessageFilter(filter.get(), previous.put())))
        return;
    if (previous && previous.get() != t_registered && !t_before) {
        t_before = previous.get();
        t_before->AddRef();
    }
    t_registered = installed ? filter.get() : nullptr;
}

} // namespace

ComMessageFilterRegistration::ComMessageFilterRegistration() {
    setMessageFilterListener(registerWithCom);
}

ComMessageFilterRegistration::~ComMessageFilterRegistration() {
    setMessageFilterListener(nullptr);
}

} // namespace kalvex::com
