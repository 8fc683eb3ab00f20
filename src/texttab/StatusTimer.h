#pragma once

#include <QTextCursor>

#include "texttab/TextTabContext.h"

namespace kalvex {

// The number of selected lines: line feeds in the selection, plus one unless it ends with one.
int selectedLineCount(const QTextCursor& cursor);

// One tick of the status timer while the TEXT tab is shown: the data line count, the caret
// position and selection in the status bar, the editor's background and the Undo button.
void Timer1Timer(TextTabContext& context);

} // namespace kalvex
