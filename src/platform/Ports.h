#pragma once

#include "platform/ClipboardPort.h"
#include "platform/DialogPort.h"
#include "platform/MessagePort.h"

namespace kalvex {

// The user-facing services the windows go through, so that tests can read what was shown
// and answer it.
struct Ports {
    MessagePort& messages;
    DialogPort& dialogs;
    ClipboardPort& clipboard;
};

} // namespace kalvex
