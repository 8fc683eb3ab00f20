#include "drawingwindow/SceneItems.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

namespace kalvex::drawing {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

double length(const QPointF& v) {
    return std::hypot(v.x(), v.y());
}

void transformText(SceneText& t, const QTransform& map) {
    const double radians = t.rotation / kDegrees;
    const QPointF anchor = map.map(t.anchor);
    const QPointF along =
        map.map(t.anchor + QPointF(std::cos(radians), std::sin(radians))) - anchor;
    const QPointF up = map.map(t.anchor + QPointF(-std::sin(radians), std::cos(radians))) - anchor;
    const double sx = length(along);
    t.anchor = anchor;
    if (sx <= 0.0)
        return;
    const double cross = along.x() * up.y() - along.y() * up.x();
    const double sy = std::abs(cross) / sx;
    if (sy <= 0.0)
        return;
    t.rotation = std::atan2(along.y(), along.x()) * kDegrees;
    if (cross < 0)
        t.upsideDown = !t.upsideDown;
    const double lean = QPointF::dotProduct(up, along) / sx;
    t.oblique += static_cast<float>(std::atan2(lean, sy) * kDegrees * (t.upsideDown ? -1 : 1));
    t.height *= sy;
    t.width *= sx;
    t.widthFactor *= sx / sy;
    t.boxOrigin = QPointF(t.boxOrigin.x() * sx, t.boxOrigin.y() * sy);
}

} // namespace

std::array<QPointF, 4> textCorners(const SceneText& text) {
    return textCorners(text, text.boxOrigin, text.width, text.height);
}

std::array<QPointF, 4> textCorners(const SceneText& text, CompactPoint boxOrigin, float width,
                                   float height) {
    // Most texts lie level: their box needs no sine nor cosine.
    double c = 1.0, s = 0.0;
    if (text.rotation != 0.0f) {
        const double radians = text.rotation / kDegrees;
        c = std::cos(radians);
        s = std::sin(radians);
    }
    const double fx = text.backwards ? -1 : 1, fy = text.upsideDown ? -1 : 1;
    const QPointF o = boxOrigin;
    const QPointF local[4] = {o, o + QPointF(width, 0), o + QPointF(width, height),
                              o + QPointF(0, height)};
    std::array<QPointF, 4> corners;
    for (int i = 0; i < 4; ++i) {
        const QPointF p(local[i].x() * fx, local[i].y() * fy);
        corners[i] = text.anchor + QPointF(p.x() * c - p.y() * s, p.x() * s + p.y() * c);
    }
    return corners;
}

SceneShape textShapeOf(SceneText text) {
    SceneShape shape;
    shape.isText = true;
    shape.kind = ShapeKind::Text;
    shape.text = std::move(text);
    return shape;
}

SceneShape pathShape(std::vector<QPointF> points, bool closed) {
    SceneShape shape;
    shape.points = std::move(points);
    shape.closed = closed;
    return shape;
}

SceneShape areaShape(std::vector<std::vector<QPointF>> rings, ShapeKind kind) {
    SceneShape shape;
    shape.kind = kind;
    shape.closed = true;
    for (auto& ring : rings) {
        if (ring.size() < 2)
            continue;
        shape.points.insert(shape.points.end(), ring.begin(), ring.end());
        shape.ringEnds.push_back(static_cast<std::uint32_t>(shape.points.size()));
    }
    return shape;
}

void transformShape(SceneShape& shape, const QTransform& map) {
    if (map.isIdentity())
        return;
    if (shape.isText)
        return transformText(shape.text, map);
    for (QPointF& p : shape.points)
        p = map.map(p);
}

namespace {

QRectF boundsOf(const QPointF* points, std::size_t count) {
    if (count == 0)
        return {};
    double left = points[0].x(), right = left, top = points[0].y(), bottom = top;
    for (const QPointF& p : std::span(points, count)) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    // A point or a straight line still has bounds that a union keeps.
    return QRectF(QPointF(left, top), QPointF(right + 1e-9, bottom + 1e-9));
}

} // namespace

QRectF shapeBounds(const SceneShape& shape) {
    if (shape.isText) {
        const std::array<QPointF, 4> corners = textCorners(shape.text);
        return boundsOf(corners.data(), corners.size());
    }
    return boundsOf(shape.points.data(), shape.points.size());
}

QRectF shapeBounds(const std::vector<SceneShape>& shapes) {
    QRectF bounds;
    for (const SceneShape& shape : shapes)
        bounds |= shapeBounds(shape);
    return bounds;
}

std::vector<SceneShape> transformedShapes(const std::vector<SceneShape>& shapes,
                                          const QTransform& map) {
    std::vector<SceneShape> mapped = shapes;
    for (SceneShape& shape : mapped)
        transformShape(shape, map);
    return mapped;
}

std::vector<SceneShape> drawnShapes(const SceneEntry& entry) {
    std::vector<SceneShape> shapes;
    if (entry.block)
        shapes = transformedShapes(entry.block->block->shapes, entry.block->map);
    shapes.insert(shapes.end(), entry.shapes.begin(), entry.shapes.end());
    return shapes;
}

bool holdsMask(const std::vector<SceneShape>& shapes) {
    return std::any_of(shapes.begin(), shapes.end(),
                       [](const SceneShape& s) { return s.kind == ShapeKind::Background; });
}

} // namespace kalvex::drawing
