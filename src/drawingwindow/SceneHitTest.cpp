#include "drawingwindow/SceneHitTest.h"

#include <QLineF>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace kalvex::drawing {

namespace {

double segmentDistance(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF nearest = a + t * ab;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

std::vector<QPointF> outline(const SceneShape& shape) {
    if (!shape.isText)
        return shape.points;
    const std::array<QPointF, 4> corners = textCorners(shape.text);
    return {corners.begin(), corners.end()};
}

bool closedOutline(const SceneShape& shape) {
    return shape.isText || shape.closed;
}

double shapeDistance(const SceneShape& shape, const QPointF& p) {
    const std::vector<QPointF> points = outline(shape);
    if (points.empty())
        return std::numeric_limits<double>::infinity();
    if (shape.isText &&
        QPolygonF(QList<QPointF>(points.begin(), points.end())).containsPoint(p, Qt::OddEvenFill))
        return 0.0;
    double best = std::numeric_limits<double>::infinity();
    const std::size_t n = points.size();
    for (std::size_t i = 0; i + 1 < n + (closedOutline(shape) ? 1 : 0); ++i)
        best = std::min(best, segmentDistance(p, points[i], points[(i + 1) % n]));
    if (n == 1)
        best = segmentDistance(p, points[0], points[0]);
    return best;
}

bool segmentTouches(const QPointF& a, const QPointF& b, const QRectF& r) {
    if (r.contains(a) || r.contains(b))
        return true;
    const QLineF segment(a, b);
    const QLineF edges[4] = {{r.topLeft(), r.topRight()},
                             {r.topRight(), r.bottomRight()},
                             {r.bottomRight(), r.bottomLeft()},
                             {r.bottomLeft(), r.topLeft()}};
    for (const QLineF& edge : edges) {
        if (segment.intersects(edge, nullptr) == QLineF::BoundedIntersection)
            return true;
    }
    return false;
}

} // namespace

double distanceTo(const SceneEntry& entry, const QPointF& point) {
    double best = std::numeric_limits<double>::infinity();
    for (const SceneShape& shape : drawnShapes(entry))
        best = std::min(best, shapeDistance(shape, point));
    return best;
}

bool liesInside(const SceneEntry& entry, const QRectF& window) {
    const bool drawsSomething =
        !entry.shapes.empty() || (entry.block && !entry.block->block->shapes.empty());
    return drawsSomething && window.contains(entry.bounds);
}

bool touches(const SceneEntry& entry, const QRectF& window) {
    if (!entry.bounds.intersects(window))
        return false;
    for (const SceneShape& shape : drawnShapes(entry)) {
        const std::vector<QPointF> points = outline(shape);
        const std::size_t n = points.size();
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t next = closedOutline(shape) ? (i + 1) % n : std::min(i + 1, n - 1);
            if (segmentTouches(points[i], points[next], window))
                return true;
        }
        // A window wholly inside a text box touches the text.
        if (shape.isText && QPolygonF(QList<QPointF>(points.begin(), points.end()))
                                .containsPoint(window.center(), Qt::OddEvenFill))
            return true;
    }
    return false;
}

} // namespace kalvex::drawing
