#include "drawing/view/SceneItems.h"

#include <algorithm>
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

namespace {

// Places points of one placement, turning with the sine and cosine worked out once.
class Placer {
public:
    explicit Placer(const ScenePlacement& at) : m_at(at) {
        if (at.rotation != 0.0) {
            const double r = at.rotation * M_PI / 180.0;
            m_cos = std::cos(r);
            m_sin = std::sin(r);
        }
    }
    QPointF operator()(const QPointF& p) const {
        const double x = (p.x() - m_at.base.x()) * m_at.scaleX;
        const double y = (p.y() - m_at.base.y()) * m_at.scaleY;
        return m_at.origin + QPointF(x * m_cos - y * m_sin, x * m_sin + y * m_cos);
    }

private:
    const ScenePlacement& m_at;
    double m_cos = 1.0;
    double m_sin = 0.0;
};

} // namespace

QPointF placedPoint(const QPointF& p, const ScenePlacement& at) {
    return Placer(at)(p);
}

QRectF placedRect(const QRectF& r, const ScenePlacement& at) {
    const Placer place(at);
    const QPointF corners[4] = {place(r.topLeft()), place(r.topRight()),
                                place(r.bottomRight()), place(r.bottomLeft())};
    double left = corners[0].x(), right = left, top = corners[0].y(), bottom = top;
    for (const QPointF& p : corners) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(QPointF(left, top), QPointF(right + 1e-9, bottom + 1e-9));
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
        const Placer place(at);
        for (QPointF& p : shape.points)
            p = place(p);
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
