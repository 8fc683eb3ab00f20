#pragma once

#include <QPainter>

#include "drawingwindow/SceneItems.h"
#include "drawingwindow/ViewTransform.h"

namespace kalvex::drawing {

// Paints the picture of a raster image shape (ShapeKind::Image) clipped to its boundary.
// Pictures are read from their files once and kept for later paints; one that cannot be
// read paints nothing.
void paintRasterImage(QPainter& painter, const ViewTransform& transform, const SceneShape& shape);

} // namespace kalvex::drawing
