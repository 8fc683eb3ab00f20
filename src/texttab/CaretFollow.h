#pragma once

#include "texttab/TextTabContext.h"

namespace kalvex {

// The caret moved to line `caretY` (1-based): with "PAN (ZoomCenter)" ticked the CAD view
// moves to the record of that line, or, in TEXT mode, to the point the update would give a
// new TEXT on it. Nothing happens while the caret stays on the line last handled.
void CaretYChanged(TextTabContext& context, int caretY);

} // namespace kalvex
