#pragma once

#include <objbase.h>

#include <string>
#include <vector>

#include "com/RefCounted.h"

namespace kalvex::fake {

// The fake CAD's own message filter, registered with COM on its server thread as a busy CAD
// registers one: COM asks it about every call coming in, and while it is told to be busy it
// turns the next automation calls away, "retry later" or rejected outright, on objects of any
// interface or of the one named (as the fake's objects name theirs: "Entity", "Document" ...).
// It notes every question and its answer. Used on the server's thread only.
class BusyFilter final : public com::RefCounted<::IMessageFilter> {
public:
    void turnAway(DWORD answer, int calls, const std::string& onInterface);

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK, DWORD tickCount,
                                               LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override;

    // One line per question: the call type, the interface and method asked for, the answer.
    std::vector<std::string> questions() const;

private:
    bool offers(REFIID iid) const override { return iid == IID_IMessageFilter; }
    DWORD answer(const INTERFACEINFO* info);

    DWORD m_answer = SERVERCALL_ISHANDLED;
    int m_calls = 0;
    std::string m_interface;
    std::vector<std::string> m_questions;
};

} // namespace kalvex::fake
