#pragma once

#include <string>

#include "cadlink/Document.h"
#include "cadlink/LockedLayers.h"
#include "cadlink/Text.h"
#include "texttab/TextTabContext.h"

namespace kalvex {

// The record of a fetched TEXT: placed by its alignment point unless it is left-aligned.
Orvik textRecordOf(cad::Text& text, int index);

// "TEXT": the user picks TEXTs; their strings fill the editor, one a line.
void SpeedButton1Click(TextTabContext& context);

// Fills the editor with the records' strings, one a line, the caret at the start.
void showRecordsInEditor(TextTabContext& context);

} // namespace kalvex
