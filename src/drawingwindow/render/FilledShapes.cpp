#include <cmath>

#include "drawingwindow/render/DimensionParts.h"
#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

namespace {

constexpr int kSplineFlag = 1;
constexpr int kClosedFlag = 1;
constexpr int kPolygonClip = 2;

// The four corners of a SOLID, TRACE or 3DFACE; a missing fourth repeats the third.
std::array<QPointF, 4> corners(const EntityTags& tags) {
    const QPointF third = tags.pointOf(12);
    const bool hasFourth = tags.find(13) < tags.size();
    return {tags.pointOf(10), tags.pointOf(11), third, hasFourth ? tags.pointOf(13) : third};
}

std::vector<QPointF> wipeoutBoundary(const EntityTags& tags) {
    std::vector<QPointF> local;
    for (std::size_t i = tags.find(14); i < tags.size(); i = tags.find(14, i + 1))
        local.push_back(tags.point(i));
    if (local.size() == 2) { // a rectangle given by two opposite corners
        const QPointF a = local[0], b = local[1];
        local = {a, QPointF(b.x(), a.y()), b, QPointF(a.x(), b.y())};
    }
    // The boundary is in pixels of the image with the origin at its top left corner,
    // Y running down; u and v are the world vectors of one pixel.
    const QPointF insert = tags.pointOf(10), u = tags.pointOf(11), v = tags.pointOf(12);
    const double height = tags.pointOf(13).y();
    std::vector<QPointF> world;
    for (const QPointF& p : local)
        world.push_back(insert + u * (p.x() + 0.5) + v * (height - p.y() - 0.5));
    return world;
}

} // namespace

void splineShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    SplineData spline;
    spline.degree = tags.integerOf(71, 3);
    spline.closed = (tags.integerOf(70) & kClosedFlag) != 0;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        switch (tags.code(i)) {
        case 10:
            spline.control.push_back(tags.point(i));
            break;
        case 11:
            spline.fit.push_back(tags.point(i));
            break;
        case 40:
            spline.knots.push_back(tags.real(i));
            break;
        case 41:
            spline.weights.push_back(tags.real(i));
            break;
        default:
            break;
        }
    }
    std::vector<QPointF> points = splinePoints(spline);
    if (points.size() >= 2)
        out.push_back(pathShape(std::move(points), false));
}

// A SOLID or TRACE runs first, second, fourth, third corner (the second pair crosses back).
void solidShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    const auto c = corners(tags);
    SceneShape shape = areaShape({{c[0], c[1], c[3], c[2]}}, ShapeKind::Fill);
    transformShape(shape, ocsToWorld(tags.extrusion()));
    out.push_back(std::move(shape));
}

// A 3DFACE shows as its edges, in world coordinates; flag bits 1, 2, 4 and 8 hide edges.
void faceShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    const auto c = corners(tags);
    const int hidden = tags.integerOf(70);
    for (int edge = 0; edge < 4; ++edge) {
        if (!(hidden & (1 << edge)))
            out.push_back(pathShape(
                {c[static_cast<std::size_t>(edge)], c[static_cast<std::size_t>((edge + 1) % 4)]},
                false));
    }
}

void wipeoutShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    std::vector<QPointF> boundary = wipeoutBoundary(tags);
    if (boundary.size() < 3 && tags.integerOf(71, kPolygonClip) != kPolygonClip)
        return;
    if (boundary.size() >= 3)
        out.push_back(areaShape({std::move(boundary)}, ShapeKind::Background));
}

// A LEADER's vertices lie in world coordinates; its arrow points at the first vertex and is
// as long as its dimension style's arrow size, which its extended data may override.
void leaderShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    std::vector<QPointF> vertices;
    for (std::size_t i = tags.find(10); i < tags.size(); i = tags.find(10, i + 1))
        vertices.push_back(tags.point(i));
    if (vertices.size() < 2)
        return;
    const bool spline = tags.integerOf(72) == kSplineFlag;
    out.push_back(pathShape(spline ? curveThrough(vertices, false) : vertices, false));
    if (tags.integerOf(71, 1) == 0)
        return;
    const DimensionStyle style =
        in.styles.dimensionStyle(in.styles.folded(tags.textOf(3))).overriddenBy(in.drawing, in.id);
    const QPointF tip = vertices[0], towards = vertices[1] - tip;
    const double length = std::hypot(towards.x(), towards.y());
    if (length <= 0 || style.arrowSize <= 0)
        return;
    arrowShapes(style, style.leaderArrow, tip, towards / length, out);
}

// A MESH lists its vertices, then its faces as one run of 90 values: each face's corner
// count followed by its vertex indexes. It shows as the edges of its faces. Its vertex count
// (92) follows the subdivision level (91): an earlier 92 sizes proxy graphics.
void meshShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    std::vector<QPointF> vertices;
    std::size_t i = tags.find(92, tags.find(91));
    for (i = tags.find(10, i); i < tags.size() && tags.code(i) == 10; i = tags.find(10, i + 1)) {
        vertices.push_back(tags.point(i));
        if (tags.find(93, i) < tags.find(10, i + 1))
            break;
    }
    std::size_t at = tags.find(90, tags.find(93));
    while (at < tags.size() && tags.code(at) == 90) {
        const int corners = tags.integer(at++);
        std::vector<QPointF> face;
        for (int k = 0; k < corners && at < tags.size() && tags.code(at) == 90; ++k, ++at) {
            const int index = tags.integer(at);
            if (index >= 0 && static_cast<std::size_t>(index) < vertices.size())
                face.push_back(vertices[static_cast<std::size_t>(index)]);
        }
        if (face.size() >= 2)
            out.push_back(pathShape(std::move(face), true));
    }
}

} // namespace kalvex::drawing
