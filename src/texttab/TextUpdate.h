#pragma once

#include <functional>

#include "cadlink/HandOff.h"
#include "operations/texttab/TextUpdate.h"
#include "texttab/TextTabContext.h"

namespace kalvex {

// The update or the alignment, given the drawing the records came from and the editor's lines.
using TextWriteBack = std::function<void(cad::Document&, const TextLines&, RunWindow&)>;

// Runs a write-back on the drawing the TEXT records were fetched from, under the run flag,
// with the progress label shown in place of the tab's other buttons while it runs.
void writeBackTexts(TextTabContext& context, CadOperation operation, const TextWriteBack& work);

// "更新(Ctrl+Enter)": writes the editor lines back into the drawing.
void SpeedButton2Click(TextTabContext& context);

} // namespace kalvex
