#pragma once

#include "texttab/TextTabContext.h"

namespace kalvex {

// "TEXT": the user picks TEXTs; their strings fill the editor, one a line.
void SpeedButton1Click(TextTabContext& context);

// Fills the editor with the records' strings, one a line, the caret at the start.
void showRecordsInEditor(TextTabContext& context);

} // namespace kalvex
