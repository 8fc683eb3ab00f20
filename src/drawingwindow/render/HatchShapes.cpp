#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

namespace {

constexpr int kPolylinePath = 2;
constexpr int kLineEdge = 1, kArcEdge = 2, kEllipseEdge = 3, kSplineEdge = 4;
// Beyond these a pattern is too dense to tell from a fill, or the file is damaged.
constexpr int kMaxLinesPerFamily = 2000;
constexpr std::size_t kMaxDashesPerHatch = 200000;
constexpr int kMaxPathsOrEdges = 100000;

using Ring = std::vector<QPointF>;

struct PatternLine {
    double angle = 0; // degrees
    QPointF base, offset;
    std::vector<double> dashes;
};

Ring polylinePath(TagCursor& c) {
    const bool bulges = c.takeInt(72) != 0;
    c.takeInt(73);
    const int count = std::min(c.takeInt(93), kMaxPathsOrEdges);
    Ring ring;
    std::vector<double> bulge;
    for (int i = 0; i < count && c.code() == 10; ++i) {
        ring.push_back(c.takePoint(10));
        bulge.push_back(bulges ? c.take(42) : 0.0);
    }
    Ring points;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        if (points.empty())
            points.push_back(ring[i]);
        appendBulge(points, ring[i], ring[(i + 1) % ring.size()], bulge[i]);
    }
    return points;
}

// Clockwise arcs keep their angles as if mirrored: they run from -start to -end.
Ring arcEdge(TagCursor& c, bool elliptic) {
    const QPointF centre = c.takePoint(10);
    const QPointF major = elliptic ? c.takePoint(11) : QPointF(c.take(40), 0);
    const double ratio = elliptic ? c.take(40, 1.0) : 1.0;
    double from = c.take(50) * std::numbers::pi / 180, to = c.take(51) * std::numbers::pi / 180;
    const bool ccw = c.takeInt(73, 1) != 0;
    const QPointF minor = QPointF(-major.y(), major.x()) * ratio;
    if (!ccw) {
        from = -from;
        to = -to;
        while (to >= from)
            to -= 2 * std::numbers::pi;
    } else {
        while (to <= from)
            to += 2 * std::numbers::pi;
    }
    to = std::clamp(to, from - 2 * std::numbers::pi, from + 2 * std::numbers::pi);
    return ellipsePoints(centre, major, minor, from, to);
}

Ring splineEdge(TagCursor& c) {
    SplineData spline;
    spline.degree = c.takeInt(94, 3);
    const bool rational = c.takeInt(73) != 0;
    c.takeInt(74);
    const int knots = std::min(c.takeInt(95), kMaxPathsOrEdges);
    const int controls = std::min(c.takeInt(96), kMaxPathsOrEdges);
    for (int i = 0; i < knots && c.code() == 40; ++i)
        spline.knots.push_back(c.take(40));
    for (int i = 0; i < controls && c.code() == 10; ++i) {
        spline.control.push_back(c.takePoint(10));
        if (rational)
            spline.weights.push_back(c.take(42, 1.0));
    }
    const int fits = std::min(c.takeInt(97), kMaxPathsOrEdges);
    for (int i = 0; i < fits && c.code() == 11; ++i)
        spline.fit.push_back(c.takePoint(11));
    c.takePoint(12);
    c.takePoint(13);
    return splinePoints(spline);
}

Ring edgePath(TagCursor& c) {
    const int count = std::min(c.takeInt(93), kMaxPathsOrEdges);
    Ring ring;
    for (int i = 0; i < count && c.code() == 72; ++i) {
        const int type = c.takeInt(72);
        Ring edge;
        if (type == kLineEdge)
            edge = {c.takePoint(10), c.takePoint(11)};
        else if (type == kArcEdge || type == kEllipseEdge)
            edge = arcEdge(c, type == kEllipseEdge);
        else if (type == kSplineEdge)
            edge = splineEdge(c);
        else
            break;
        ring.insert(ring.end(), edge.begin(), edge.end());
    }
    return ring;
}

std::vector<Ring> boundaryPaths(TagCursor& c) {
    std::vector<Ring> rings;
    const int count = std::min(c.takeInt(91), kMaxPathsOrEdges);
    for (int i = 0; i < count && c.code() == 92; ++i) {
        const int flags = c.takeInt(92);
        Ring ring = (flags & kPolylinePath) ? polylinePath(c) : edgePath(c);
        const int sources = c.takeInt(97);
        for (int s = 0; s < sources && c.code() == 330; ++s)
            c.skip();
        if (ring.size() >= 3)
            rings.push_back(std::move(ring));
    }
    return rings;
}

std::vector<PatternLine> patternLines(TagCursor& c) {
    std::vector<PatternLine> lines;
    if (!c.seek(78))
        return lines;
    const int count = std::min(c.takeInt(78), kMaxPathsOrEdges);
    for (int i = 0; i < count && c.code() == 53; ++i) {
        PatternLine line;
        line.angle = c.take(53);
        // One statement per value: the pairs must be taken in file order.
        const double baseX = c.take(43);
        line.base = QPointF(baseX, c.take(44));
        const double offsetX = c.take(45);
        line.offset = QPointF(offsetX, c.take(46));
        const int dashes = c.takeInt(79);
        for (int d = 0; d < dashes && c.code() == 49; ++d)
            line.dashes.push_back(c.take(49));
        lines.push_back(std::move(line));
    }
    return lines;
}

// Splits a span of a pattern line into its dashes; the pattern starts at the line's base.
void addDashes(std::vector<QPointF>& out, QPointF origin, QPointF direction, double from, double to,
               const std::vector<double>& dashes) {
    double total = 0;
    for (double d : dashes)
        total += std::abs(d);
    if (dashes.empty() || total <= 0) {
        out.push_back(origin + direction * from);
        out.push_back(origin + direction * to);
        return;
    }
    if (std::none_of(dashes.begin(), dashes.end(), [](double d) { return d >= 0; }))
        return;
    double at = std::floor(from / total) * total;
    for (std::size_t i = 0; at < to && out.size() < kMaxDashesPerHatch * 2;
         i = (i + 1) % dashes.size()) {
        const double length = std::abs(dashes[i]);
        if (dashes[i] >= 0 && at + length >= from) {
            out.push_back(origin + direction * std::max(at, from));
            out.push_back(origin + direction * std::min(at + length, to));
        }
        at += length;
    }
}

// Lines of one family run along the angle through base + k·offset for every whole k.
void addFamily(std::vector<QPointF>& out, const PatternLine& line, const std::vector<Ring>& rings) {
    const double radians = line.angle * std::numbers::pi / 180;
    const QPointF direction(std::cos(radians), std::sin(radians));
    const QPointF normal(-direction.y(), direction.x());
    const double spacing = QPointF::dotProduct(line.offset, normal);
    if (std::abs(spacing) < 1e-12)
        return;
    double low = INFINITY, high = -INFINITY;
    for (const Ring& ring : rings)
        for (const QPointF& p : ring) {
            low = std::min(low, QPointF::dotProduct(p - line.base, normal));
            high = std::max(high, QPointF::dotProduct(p - line.base, normal));
        }
    const double first = std::ceil(std::min(low / spacing, high / spacing));
    const double last = std::floor(std::max(low / spacing, high / spacing));
    if (!(last - first < kMaxLinesPerFamily))
        return;
    for (double k = first; k <= last; ++k) {
        const QPointF origin = line.base + line.offset * k;
        for (const auto& [from, to] : insideSpans(origin, direction, rings))
            addDashes(out, origin, direction, from, to, line.dashes);
    }
}

} // namespace

void hatchShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    TagCursor cursor(tags);
    if (!cursor.seek(91))
        return;
    std::vector<Ring> rings = boundaryPaths(cursor);
    if (rings.empty())
        return;
    const bool solid = tags.integerOf(70) == 1 || tags.integerOf(450) == 1;
    const QTransform ocs = ocsToWorld(tags.extrusion(), tags.realOf(30));
    SceneShape shape;
    if (solid) {
        shape = areaShape(std::move(rings), ShapeKind::Fill);
    } else {
        std::vector<QPointF> segments;
        for (const PatternLine& line : patternLines(cursor))
            addFamily(segments, line, rings);
        shape = pathShape(std::move(segments), false);
        shape.kind = ShapeKind::Segments;
    }
    transformShape(shape, ocs);
    out.push_back(std::move(shape));
}

} // namespace kalvex::drawing
