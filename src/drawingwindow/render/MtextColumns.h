#pragma once

#include <QString>
#include <vector>

#include "drawing/model/Drawing.h"
#include "drawingwindow/render/MtextLayout.h"

namespace kalvex::drawing {

// The columns of an MTEXT: from its embedded object (files of R2018 on) or from the
// ACAD_MTEXT_COLUMN_INFO of its extended data (older files). One column when it has none.
// `definedHeight` is the MTEXT's own height (46), which flowing columns of automatic
// height all take.
MtextColumns mtextColumnsOf(const Drawing& drawing, RecordId id, double definedHeight);

// MTEXT content cut at its column breaks (\N), for static columns.
std::vector<QString> splitAtColumnBreaks(const QString& content);

} // namespace kalvex::drawing
