#pragma once

#include <QRectF>
#include <vector>

#include "drawingwindow/SceneItems.h"

namespace kalvex::drawing {

// Where painting a shape may leave ink, in drawing units. A text's box is only estimated from
// its characters, while the font drawn may run wider and reach below the baseline and above
// the capitals, so a text's ink is its box widened by a share of its size.
QRectF inkOf(const SceneShape& shape);
QRectF inkOf(const std::vector<SceneShape>& shapes);

// The areas an entry's ink covers, for the spatial index: one area when the entry is compact,
// or one per shape when its shapes lie far apart (attributes left far from their block), so
// that the entry is not found everywhere between them.
void inkPieces(const SceneEntry& entry, std::vector<QRectF>& pieces);

} // namespace kalvex::drawing
