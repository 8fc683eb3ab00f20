#pragma once

#include "platform/WindowSystem.h"

namespace kalvex {

// Waits while the windows go on painting (the built-in drawing redraws in this process), but
// without taking user input, so that no button can start another operation meanwhile.
class EventLoopWaiter : public Waiter {
public:
    void wait(int milliseconds) override;
};

} // namespace kalvex
