#pragma once

#include <optional>

namespace kalvex {

// The options the main window restores at start and keeps at close. A value not stored
// takes the default given here; a missing position centres the window on the screen.
struct FormSettings {
    std::optional<int> Left;
    std::optional<int> Top;
    bool Sort = true;
    int AttTagIndex2 = 0;
    bool Cursor = true;
    int AttTagIndex1 = 0;
    bool Sentou = false;
    bool UpperCase = true;
    bool Enter = true;
    bool ZoomCenter = false;
    bool AttEnter = true;
    bool AttEnterDown = true;
    bool ZoomCenter2 = false;
};

} // namespace kalvex
