#pragma once

namespace kalvex::com {

// While it lives, every filter installed in the thread's message filter slot (TMessageFilter's
// RegisterFilter and RevokeFilter) is registered with COM as well, so that COM asks it what to
// do with calls into a busy CAD. Emptying the slot puts back the filter that was registered
// with COM before the first of ours. Made on the user-interface thread once COM runs there,
// before the main window registers its filter.
class ComMessageFilterRegistration {
public:
    ComMessageFilterRegistration();
    ~ComMessageFilterRegistration();
    ComMessageFilterRegistration(const ComMessageFilterRegistration&) = delete;
    ComMessageFilterRegistration& operator=(const ComMessageFilterRegistration&) = delete;
};

} // namespace kalvex::com
