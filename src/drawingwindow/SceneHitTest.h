#pragma once

#include <QRectF>

#include "drawingwindow/SceneItems.h"

namespace kalvex::drawing {

// How far a point lies from what the entry draws (0 inside a text's box), in drawing units.
double distanceTo(const SceneEntry& entry, const QPointF& point);
// A window selection takes what lies wholly inside; a crossing selection what it touches.
bool liesInside(const SceneEntry& entry, const QRectF& window);
bool touches(const SceneEntry& entry, const QRectF& window);

} // namespace kalvex::drawing
