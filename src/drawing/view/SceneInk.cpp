#include "drawing/view/SceneInk.h"

#include <cmath>

namespace kalvex::drawing {

namespace {

constexpr double kTextWidthOverrun = 0.6;  // of the estimated width, either side
constexpr double kTextHeightOverrun = 0.5; // of the cap height, on every side
// Shapes are indexed apart when their common box is this many times the size of their own
// boxes together (size as width plus height, so that thin lines count), and not too many.
constexpr double kSpreadFactor = 4.0;
constexpr std::size_t kMostPieces = 64;

QRectF textInk(const SceneText& text) {
    const double mx = kTextWidthOverrun * text.width + kTextHeightOverrun * text.height;
    const double my = kTextHeightOverrun * text.height;
    const QPointF o = text.boxOrigin;
    const QPointF local[4] = {o + QPointF(-mx, -my), o + QPointF(text.width + mx, -my),
                              o + QPointF(text.width + mx, text.height + my),
                              o + QPointF(-mx, text.height + my)};
    const double radians = text.rotation * M_PI / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    QRectF ink;
    for (const QPointF& p : local) {
        const QPointF at = text.anchor + QPointF(p.x() * c - p.y() * s, p.x() * s + p.y() * c);
        ink |= QRectF(at, QSizeF(1e-9, 1e-9));
    }
    return ink;
}

double size(const QRectF& r) {
    return r.width() + r.height();
}

} // namespace

QRectF inkOf(const SceneShape& shape) {
    if (shape.isText)
        return textInk(shape.text);
    QRectF ink;
    for (const QPointF& p : shape.points)
        ink |= QRectF(p, QSizeF(1e-9, 1e-9));
    return ink;
}

QRectF inkOf(const std::vector<SceneShape>& shapes) {
    QRectF ink;
    for (const SceneShape& shape : shapes)
        ink |= inkOf(shape);
    return ink;
}

std::vector<QRectF> inkPieces(const SceneEntry& entry) {
    std::vector<QRectF> pieces;
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
        add(placedRect(entry.block->block->ink, entry.block->placement));
    for (const SceneShape& shape : entry.shapes)
        add(inkOf(shape));
    if (pieces.size() <= 1 || pieces.size() > kMostPieces || size(all) <= kSpreadFactor * own)
        return all.isNull() ? std::vector<QRectF>{} : std::vector<QRectF>{all};
    return pieces;
}

} // namespace kalvex::drawing
