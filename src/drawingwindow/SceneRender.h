#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <optional>

#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

struct RenderRequest {
    QSize size{1000, 750};
    std::optional<QRectF> window; // model-space area to show; the drawing's extents without
};

// Paints model space alone into an image, as the drawing area shows it: the window (or the
// extents) fitted into the picture, centred, aspect kept.
QImage renderDrawing(const Drawing& drawing, const RenderRequest& request);

} // namespace kalvex::drawing
