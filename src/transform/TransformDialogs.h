#pragma once

#include "transform/TOrvikKasanForm.h"
#include "transform/TOrvikRenbanForm.h"
#include "transform/TOrvikTikanForm.h"

namespace kalvex {

// The three dialogs of the editing aids, created once at start-up and kept hidden until used.
// They are top-level windows centred on the screen, shown above the always-on-top main window
// by the dialog port.
struct TransformDialogs {
    explicit TransformDialogs(MessagePort& messages) : renban(messages) {}

    TOrvikTikanForm tikan;
    TOrvikKasanForm kasan;
    TOrvikRenbanForm renban;
};

} // namespace kalvex
