#include "FakeBusyFilter.h"

#include "FakeObject.h"

namespace kalvex::fake {

namespace {

std::string nameOf(const INTERFACEINFO* info) {
    if (!info)
        return "(no interface)";
    if (info->iid == IID_IDispatch)
        return "IDispatch." + std::to_string(info->wMethod);
    wchar_t text[40] = {};
    StringFromGUID2(info->iid, text, 40);
    std::string narrow;
    for (const wchar_t* c = text; *c; ++c)
        narrow += static_cast<char>(*c);
    return narrow + "." + std::to_string(info->wMethod);
}

// IDispatch::Invoke is the fourth method after IUnknown's three.
constexpr WORD kInvoke = 6;

} // namespace

void BusyFilter::turnAway(DWORD answer, int calls, const std::string& onInterface) {
    m_answer = answer;
    m_calls = calls;
    m_interface = onInterface;
}

DWORD BusyFilter::answer(const INTERFACEINFO* info) {
    // Only the automation calls are turned away: releases, name lookups and the activation go
    // through, so that the count says which calls of the tool were refused.
    if (m_calls == 0 || !info || info->iid != IID_IDispatch || info->wMethod != kInvoke)
        return SERVERCALL_ISHANDLED;
    // Every automation object of the fake is an Object, whose IDispatch COM's stub holds.
    const auto* object = static_cast<const Object*>(static_cast<IDispatch*>(info->pUnk));
    if (!m_interface.empty() && object->interfaceName() != m_interface)
        return SERVERCALL_ISHANDLED;
    --m_calls;
    return m_answer;
}

DWORD BusyFilter::HandleInComingCall(DWORD callType, HTASK, DWORD, LPINTERFACEINFO info) {
    const DWORD answered = answer(info);
    m_questions.push_back(std::to_string(callType) + " " + nameOf(info) + " " +
                          std::to_string(answered));
    return answered;
}

DWORD BusyFilter::RetryRejectedCall(HTASK, DWORD, DWORD) {
    return DWORD(-1); // the fake calls nobody
}

DWORD BusyFilter::MessagePending(HTASK, DWORD, DWORD) {
    return PENDINGMSG_WAITDEFPROCESS;
}

std::vector<std::string> BusyFilter::questions() const {
    return m_questions;
}

} // namespace kalvex::fake
