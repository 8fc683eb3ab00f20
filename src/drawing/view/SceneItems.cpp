#include "drawing/view/SceneItems.h"

#include <cmath>

namespace kalvex::drawing {

std::vector<QPointF> textCorners(const SceneText& text) {
    const double radians = text.rotation * M_PI / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const QPointF o = text.boxOrigin;
    const QPointF local[4] = {o, o + QPointF(text.width, 0), o + QPointF(text.width, text.height),
                              o + QPointF(0, text.height)};
    std::vector<QPointF> corners;
    for (const QPointF& p : local)
        corners.push_back(text.anchor + QPointF(p.x() * c - p.y() * s, p.x() * s + p.y() * c));
    return corners;
}

QPointF placedPoint(const QPointF& p, const ScenePlacement& at) {
    const double r = at.rotation * M_PI / 180.0;
    const double x = (p.x() - at.base.x()) * at.scaleX, y = (p.y() - at.base.y()) * at.scaleY;
    return at.origin +
           QPointF(x * std::cos(r) - y * std::sin(r), x * std::sin(r) + y * std::cos(r));
}

QRectF placedRect(const QRectF& r, const ScenePlacement& at) {
    QRectF placed;
    for (const QPointF& corner : {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()})
        placed |= QRectF(placedPoint(corner, at), QSizeF(1e-9, 1e-9));
    return placed;
}

QRectF boundsOf(const std::vector<SceneShape>& shapes) {
    QRectF bounds;
    for (const SceneShape& shape : shapes) {
        const std::vector<QPointF> points = shape.isText ? textCorners(shape.text) : shape.points;
        for (const QPointF& p : points)
            bounds |= QRectF(p, QSizeF(1e-9, 1e-9));
    }
    return bounds;
}

SceneShape placedShape(SceneShape shape, const ScenePlacement& at) {
    if (!shape.isText) {
        for (QPointF& p : shape.points)
            p = placedPoint(p, at);
        return shape;
    }
    SceneText& t = shape.text;
    t.anchor = placedPoint(t.anchor, at);
    t.rotation += at.rotation;
    t.height *= std::abs(at.scaleY);
    t.width *= std::abs(at.scaleX);
    t.widthFactor *= std::abs(at.scaleX / (at.scaleY == 0 ? 1 : at.scaleY));
    t.boxOrigin =
        QPointF(t.boxOrigin.x() * std::abs(at.scaleX), t.boxOrigin.y() * std::abs(at.scaleY));
    return shape;
}

std::vector<SceneShape> placedShapes(const std::vector<SceneShape>& shapes,
                                     const ScenePlacement& at) {
    std::vector<SceneShape> placed;
    placed.reserve(shapes.size());
    for (const SceneShape& shape : shapes)
        placed.push_back(placedShape(shape, at));
    return placed;
}

std::vector<SceneShape> drawnShapes(const SceneEntry& entry) {
    std::vector<SceneShape> shapes;
    if (entry.block)
        shapes = placedShapes(entry.block->block->shapes, entry.block->placement);
    shapes.insert(shapes.end(), entry.shapes.begin(), entry.shapes.end());
    return shapes;
}

} // namespace kalvex::drawing
