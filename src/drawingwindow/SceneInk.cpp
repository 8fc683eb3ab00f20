#include "drawingwindow/SceneInk.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvex::drawing {

namespace {

constexpr double kTextWidthOverrun = 0.6;  // of the estimated width, either side
constexpr double kTextHeightOverrun = 0.5; // of the cap height, on every side
// Shapes are indexed apart when their common box is this many times the size of their own
// boxes together (size as width plus height, so that thin lines count), and not too many.
constexpr double kSpreadFactor = 4.0;
constexpr std::size_t kMostPieces = 64;

// The glyphs are fitted to the estimated box, but may run past its ends, reach below the
// baseline and above the capitals, and lean out of it when slanted: the box is widened along
// the text and across it before it is turned (and mirrored) as the text is.
QRectF textInk(const SceneText& text) {
    const double slant =
        std::clamp(static_cast<double>(text.oblique), -85.0, 85.0) * std::numbers::pi / 180;
    const double along = kTextWidthOverrun * text.width + kTextHeightOverrun * text.height +
                         std::abs(std::tan(slant)) * text.height;
    const double across = kTextHeightOverrun * text.height;
    const CompactPoint origin(QPointF(text.boxOrigin) - QPointF(along, across));
    const auto width = static_cast<float>(text.width + 2 * along);
    const auto height = static_cast<float>(text.height + 2 * across);
    QRectF box;
    for (const QPointF& corner : textCorners(text, origin, width, height))
        box |= QRectF(corner, QSizeF(1e-9, 1e-9));
    return box;
}

double size(const QRectF& r) {
    return r.width() + r.height();
}

} // namespace

QRectF inkOf(const SceneShape& shape) {
    if (shape.isText)
        return textInk(shape.text);
    const double halfWidth = shape.width / 2.0; // a wide polyline's
    return shapeBounds(shape).adjusted(-halfWidth, -halfWidth, halfWidth, halfWidth);
}

QRectF inkOf(const std::vector<SceneShape>& shapes) {
    QRectF ink;
    for (const SceneShape& shape : shapes)
        ink |= inkOf(shape);
    return ink;
}

void inkPieces(const SceneEntry& entry, std::vector<QRectF>& pieces) {
    pieces.clear();
    QRectF all;
    double own = 0.0;
    auto add = [&](const QRectF& ink) {
        if (ink.isNull())
            return;
        pieces.push_back(ink);
        all |= ink;
        own += size(ink);
    };
    if (entry.block && !entry.block->block->ink.isNull())
        add(entry.block->map.mapRect(entry.block->block->ink));
    for (const SceneShape& shape : entry.shapes)
        add(inkOf(shape));
    if (pieces.size() <= 1 || pieces.size() > kMostPieces || size(all) <= kSpreadFactor * own) {
        pieces.clear();
        if (!all.isNull())
            pieces.push_back(all);
    }
}

} // namespace kalvex::drawing
