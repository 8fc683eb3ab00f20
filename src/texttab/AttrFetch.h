#pragma once

#include <QString>

#include "operations/texttab/AttrFetch.h"
#include "texttab/TextTabContext.h"

namespace kalvex {

// What a tag list entry "TAG:description[PATTERN]" asks for: the attribute tag and the
// pattern the block names must match ("*" when the entry gives none).
TagSelection parseTagSelection(const QString& entry);

// "ATTR": the user picks block references; the values of the chosen tag fill the editor.
void SpeedButton8Click(TextTabContext& context);

} // namespace kalvex
