#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

namespace {

constexpr int kClosed = 1;
constexpr int kPolyline3d = 8;
constexpr int kPolygonMesh = 16;
constexpr int kPolyfaceMesh = 64;
constexpr int kFaceRecord = 128;
constexpr int kMaxMeshSide = 4096;

SceneShape inOcs(SceneShape shape, const EntityTags& tags, double elevation = 0.0) {
    transformShape(shape, ocsToWorld(tags.extrusion(), elevation));
    return shape;
}

struct Vertex {
    QPointF point;
    double bulge = 0.0;
    int flags = 0;
    std::array<int, 4> face{};
    double width = 0.0; // the wider of its start and end widths
};

// A wide polyline shows at the widest of its widths: a constant one (43), or the start and
// end widths of its vertices.
SceneShape widened(SceneShape shape, double constant, const std::vector<Vertex>& vertices) {
    double width = std::abs(constant);
    for (const Vertex& v : vertices)
        width = std::max(width, v.width);
    shape.width = static_cast<float>(width);
    return shape;
}

std::vector<QPointF> bulgedPath(const std::vector<Vertex>& vertices, bool closed) {
    std::vector<QPointF> points;
    if (vertices.empty())
        return points;
    points.push_back(vertices.front().point);
    const std::size_t n = vertices.size();
    for (std::size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i)
        appendBulge(points, vertices[i].point, vertices[(i + 1) % n].point, vertices[i].bulge);
    if (closed && points.size() > 1)
        points.pop_back(); // the closing point comes back as the first
    return points;
}

std::vector<Vertex> vertexRecords(const Drawing& drawing, RecordId polyline) {
    std::vector<Vertex> vertices;
    const std::uint32_t children = drawing.slot(polyline).childCount;
    for (std::uint32_t k = 1; k <= children && polyline + k < drawing.recordCount(); ++k) {
        if (drawing.slot(polyline + k).kind != RecordKind::Vertex)
            continue;
        const EntityTags tags(drawing, polyline + k);
        Vertex v{tags.pointOf(10),
                 tags.realOf(42),
                 tags.integerOf(70),
                 {},
                 std::max(std::abs(tags.realOf(40)), std::abs(tags.realOf(41)))};
        for (int i = 0; i < 4; ++i)
            v.face[static_cast<std::size_t>(i)] = tags.integerOf(static_cast<std::int16_t>(71 + i));
        vertices.push_back(v);
    }
    return vertices;
}

// A polyface mesh lists its vertices first and then faces that index them (from 1); a
// negative index hides the edge that starts there.
void polyfaceEdges(const std::vector<Vertex>& vertices, ShapeList& out) {
    std::vector<QPointF> points;
    for (const Vertex& v : vertices)
        if (!(v.flags & kFaceRecord) || (v.flags & 64))
            points.push_back(v.point);
    for (const Vertex& v : vertices) {
        if (!(v.flags & kFaceRecord) || (v.flags & 64))
            continue;
        std::vector<int> corners;
        for (int index : v.face)
            if (index != 0)
                corners.push_back(index);
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const int a = corners[i], b = corners[(i + 1) % corners.size()];
            const auto at = [&](int index) {
                return static_cast<std::size_t>(std::abs(index) - 1);
            };
            if (a > 0 && at(a) < points.size() && at(b) < points.size())
                out.push_back(pathShape({points[at(a)], points[at(b)]}, false));
        }
    }
}

void meshLines(const std::vector<Vertex>& vertices, int m, int n, ShapeList& out) {
    if (m < 1 || n < 1 || m > kMaxMeshSide || n > kMaxMeshSide ||
        static_cast<std::size_t>(m) * static_cast<std::size_t>(n) > vertices.size())
        return;
    auto at = [&](int i, int j) { return vertices[static_cast<std::size_t>(i * n + j)].point; };
    for (int i = 0; i < m; ++i) {
        std::vector<QPointF> row;
        for (int j = 0; j < n; ++j)
            row.push_back(at(i, j));
        out.push_back(pathShape(std::move(row), false));
    }
    for (int j = 0; j < n; ++j) {
        std::vector<QPointF> column;
        for (int i = 0; i < m; ++i)
            column.push_back(at(i, j));
        out.push_back(pathShape(std::move(column), false));
    }
}

} // namespace

void lineShapes(const EntityInput& in, ShapeList& out) {
    const EntityFields& f = in.fields;
    out.push_back(pathShape({QPointF(f.x, f.y), QPointF(f.x2, f.y2)}, false));
}

// The vertices of a light-weight polyline lie in its OCS, each bulge following its point.
void lwpolylineShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    std::vector<Vertex> vertices;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (tags.code(i) == 10)
            vertices.push_back({tags.point(i), 0.0, 0, {}, 0.0});
        else if (tags.code(i) == 42 && !vertices.empty())
            vertices.back().bulge = tags.real(i);
        else if ((tags.code(i) == 40 || tags.code(i) == 41) && !vertices.empty())
            vertices.back().width = std::max(vertices.back().width, std::abs(tags.real(i)));
    }
    const bool closed = (tags.integerOf(70) & kClosed) != 0;
    const SceneShape path = pathShape(bulgedPath(vertices, closed), closed);
    out.push_back(inOcs(widened(path, tags.realOf(43), vertices), tags, tags.realOf(38)));
}

void polylineShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    const int flags = tags.integerOf(70);
    const std::vector<Vertex> vertices = vertexRecords(in.drawing, in.id);
    if (flags & kPolyfaceMesh)
        return polyfaceEdges(vertices, out);
    if (flags & kPolygonMesh)
        return meshLines(vertices, tags.integerOf(71), tags.integerOf(72), out);
    const bool closed = (flags & kClosed) != 0;
    if (flags & kPolyline3d) {
        std::vector<QPointF> points;
        for (const Vertex& v : vertices)
            points.push_back(v.point);
        out.push_back(pathShape(std::move(points), closed));
        return;
    }
    // A 2D polyline's elevation is the Z of its own point; under a tilted extrusion it moves
    // the outline sideways as seen from above.
    const double width = std::max(std::abs(tags.realOf(40)), std::abs(tags.realOf(41)));
    out.push_back(inOcs(widened(pathShape(bulgedPath(vertices, closed), closed), width, vertices),
                        tags, tags.realOf(30)));
}

void circleShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    auto points = arcPoints(tags.pointOf(10), tags.realOf(40), 0, 360);
    points.pop_back();
    out.push_back(inOcs(pathShape(std::move(points), true), tags, tags.realOf(30)));
}

void arcShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    auto points = arcPoints(tags.pointOf(10), tags.realOf(40), tags.realOf(50), tags.realOf(51));
    out.push_back(inOcs(pathShape(std::move(points), false), tags, tags.realOf(30)));
}

// An ELLIPSE lies in world coordinates; its minor axis is the extrusion crossed with the
// major axis, so a negative extrusion runs it clockwise.
void ellipseShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    const QPointF major = tags.pointOf(11);
    const double ratio = tags.realOf(40, 1.0);
    const double sign = tags.extrusion().z < 0 ? -1.0 : 1.0;
    const QPointF minor = QPointF(-major.y(), major.x()) * ratio * sign;
    double from = tags.realOf(41, 0.0), to = tags.realOf(42, 2 * std::numbers::pi);
    while (to <= from)
        to += 2 * std::numbers::pi;
    const bool whole = std::abs(to - from - 2 * std::numbers::pi) < 1e-9;
    auto points = ellipsePoints(tags.pointOf(10), major, minor, from,
                                std::min(to, from + 2 * std::numbers::pi));
    if (whole && !points.empty())
        points.pop_back();
    out.push_back(pathShape(std::move(points), whole));
}

// $PDMODE: the low bits pick a dot, nothing, a plus, a cross or a tick; 32 adds a circle,
// 64 a square, all of the point size.
void pointShapes(const EntityInput& in, ShapeList& out) {
    const QPointF at(in.fields.x, in.fields.y);
    const int mode = in.styles.pointMode();
    const double r = in.styles.pointSize() / 2;
    switch (mode & 7) {
    case 0: {
        SceneShape dot = pathShape({at}, false);
        dot.kind = ShapeKind::Point;
        out.push_back(std::move(dot));
        break;
    }
    case 2:
        out.push_back(pathShape({at - QPointF(r, 0), at + QPointF(r, 0)}, false));
        out.push_back(pathShape({at - QPointF(0, r), at + QPointF(0, r)}, false));
        break;
    case 3:
        out.push_back(pathShape({at - QPointF(r, r), at + QPointF(r, r)}, false));
        out.push_back(pathShape({at - QPointF(r, -r), at + QPointF(r, -r)}, false));
        break;
    case 4:
        out.push_back(pathShape({at, at + QPointF(0, r)}, false));
        break;
    default:
        break;
    }
    if (mode & 32)
        out.push_back(pathShape(arcPoints(at, r, 0, 360), true));
    if (mode & 64)
        out.push_back(pathShape(
            {at + QPointF(-r, -r), at + QPointF(r, -r), at + QPointF(r, r), at + QPointF(-r, r)},
            true));
}

// An MLINE lists per vertex its point (11), the segment direction (12) and the miter (13),
// then per element of its style the distances along the miter where the element runs (41,
// the first of them) and its fill values (42). Each element is a polyline through those
// points.
void mlineShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    const int elements = std::clamp(tags.integerOf(73), 0, kMaxMeshSide);
    const bool closed = (tags.integerOf(71) & 2) != 0;
    std::vector<std::vector<QPointF>> lines(static_cast<std::size_t>(elements));
    TagCursor c(tags);
    while (c.seek(11)) {
        const QPointF vertex = c.takePoint(11);
        c.takePoint(12);
        const QPointF miter = c.takePoint(13);
        for (auto& line : lines) {
            const int count = c.takeInt(74);
            double offset = 0;
            for (int k = 0; k < count && c.code() == 41; ++k)
                offset = k == 0 ? c.take(41) : (c.take(41), offset);
            const int fills = c.takeInt(75);
            for (int k = 0; k < fills && c.code() == 42; ++k)
                c.take(42);
            line.push_back(vertex + miter * offset);
        }
    }
    for (auto& line : lines)
        if (line.size() >= 2)
            out.push_back(inOcs(pathShape(std::move(line), closed), tags));
}

// A ray starts at its point; a construction line runs through it both ways. Both are
// clipped to the view when painted.
void infiniteLineShapes(const EntityInput& in, ShapeList& out) {
    const EntityFields& f = in.fields;
    const QPointF base(f.x, f.y), direction(f.x2, f.y2);
    if (std::hypot(direction.x(), direction.y()) == 0)
        return;
    SceneShape shape = pathShape({base, base + direction}, false);
    shape.kind = in.drawing.typeName(in.id) == "RAY" ? ShapeKind::Ray : ShapeKind::Xline;
    out.push_back(std::move(shape));
}

} // namespace kalvex::drawing
