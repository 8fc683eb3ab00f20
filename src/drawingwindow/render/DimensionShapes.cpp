#include <cmath>
#include <numbers>

#include "drawingwindow/AciColors.h"
#include "drawingwindow/render/DimensionParts.h"
#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

namespace {

constexpr int kTypeMask = 0x0F;
constexpr int kOrdinateX = 64;
constexpr double kTiny = 1e-9;
constexpr double kNearVertex = 1e-6;
enum DimensionType { Rotated = 0, Aligned, Angular, Diameter, Radius, Angular3Point, Ordinate };

QPointF unit(QPointF v) {
    const double length = std::hypot(v.x(), v.y());
    return length > kTiny ? v / length : QPointF();
}
double dot(QPointF a, QPointF b) {
    return a.x() * b.x() + a.y() * b.y();
}
double cross(QPointF a, QPointF b) {
    return a.x() * b.y() - a.y() * b.x();
}
double distance(QPointF a, QPointF b) {
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}
double degreesOf(QPointF v) {
    return std::atan2(v.y(), v.x()) * 180 / std::numbers::pi;
}
QPointF direction(double degrees) {
    return {std::cos(degrees * std::numbers::pi / 180), std::sin(degrees * std::numbers::pi / 180)};
}
double sweepFrom(double fromDeg, double toDeg) {
    const double sweep = std::fmod(toDeg - fromDeg, 360.0);
    return sweep < 0 ? sweep + 360 : sweep;
}
// The angle a text along this direction is drawn at, so that it reads left to right.
double readable(double degrees) {
    degrees = std::remainder(degrees, 360.0);
    if (degrees > 90.0 + kTiny)
        return degrees - 180;
    if (degrees <= -90.0 + kTiny)
        return degrees + 180;
    return degrees;
}

QColor colorOf(int aci) {
    return aci > 0 && aci < 256 ? aciColor(aci) : QColor();
}

// What drawing one dimension needs: its pairs, its style with overrides, and the output.
struct Drawer {
    const EntityInput& in;
    const EntityTags& tags;
    DimensionStyle style;
    ShapeList& out;

    bool has(std::int16_t code) const { return tags.find(code) < tags.size(); }
    double arrowLength() const { return style.scaled(style.arrowSize); }
    bool ticks() const { return style.tickSize > 0 || style.firstArrow() == ArrowKind::Tick; }

    void line(QPointF a, QPointF b, int color) {
        SceneShape shape = pathShape({a, b}, false);
        shape.color = colorOf(color);
        out.push_back(std::move(shape));
    }
    void polyline(std::vector<QPointF> points) {
        SceneShape shape = pathShape(std::move(points), false);
        shape.color = colorOf(style.lineColor);
        out.push_back(std::move(shape));
    }
    // An extension line from a measured point towards where the dimension line meets it.
    void extension(QPointF from, QPointF to, bool suppressed) {
        const QPointF along = unit(to - from);
        if (suppressed || along.isNull())
            return;
        line(from + along * style.scaled(style.extensionOffset),
             to + along * style.scaled(style.extensionBeyond), style.extensionColor);
    }
    // An arrow with its tip at `tip`, its body lying towards `body` (a unit vector).
    void arrow(QPointF tip, QPointF body, ArrowKind kind);
    PlacedText text(const QString& measured) {
        const QString override = QString::fromStdString(in.drawing.codec().decode(tags.textOf(1)));
        const QString content =
            dimensionText(measured, override, QString::fromStdString(style.post));
        return layDimensionText(content, style, in.styles.textStyle(style.textStyle).family);
    }
    // Where a text along a line through `mid` at this angle sits as DIMTAD says.
    QPointF textCentre(QPointF mid, double degrees, const PlacedText& t) const {
        if (has(11))
            return tags.pointOf(11);
        const QPointF up = direction(degrees + 90);
        const double lift = t.height / 2 + style.scaled(style.gap);
        if (style.textAbove == 0 || t.shapes.empty())
            return mid;
        return style.textAbove == 4 ? mid - up * lift : mid + up * lift;
    }
    void dimensionLine(QPointF a, QPointF b, QPointF fallbackAlong, const QString& measured);
    void angular(QPointF vertex, QPointF first, QPointF second, double radius,
                 const QString& prefix, bool arcLength);
    void radius(QPointF centre, QPointF onCurve);
    void ordinate(QPointF origin, QPointF feature, QPointF end, bool xType);
};

void Drawer::arrow(QPointF tip, QPointF body, ArrowKind kind) {
    if (style.tickSize > 0)
        kind = ArrowKind::Tick;
    arrowShapes(style, kind, tip, body, out);
}

// The dimension line between the extension lines, with its arrows inside when there is
// room for them (outside, pointing in, when not), broken around a text centred on it.
void Drawer::dimensionLine(QPointF a, QPointF b, QPointF fallbackAlong, const QString& measured) {
    const double length = distance(a, b);
    const QPointF along = length > kTiny ? (b - a) / length : fallbackAlong;
    const PlacedText t = text(measured);
    const double degrees = style.insideHorizontal ? 0.0 : readable(degreesOf(along));
    const QPointF centre = textCentre((a + b) / 2, degrees, t);
    const double size = arrowLength();
    const bool inside = ticks() || length >= 3 * size;
    const double beyond = ticks() ? style.scaled(style.lineBeyond) : 0.0;
    const QPointF start = a - along * (inside ? beyond : 2 * size);
    const QPointF end = b + along * (inside ? beyond : 2 * size);
    // A text on the line leaves a gap as wide as it is along the line.
    const QPointF offset = centre - start;
    const double turned = (degrees - degreesOf(along)) * std::numbers::pi / 180;
    const double half = t.width / 2 * std::abs(std::cos(turned)) +
                        t.height / 2 * std::abs(std::sin(turned)) + style.scaled(style.gap);
    const double at = dot(offset, along), total = distance(start, end);
    if (!t.shapes.empty() && std::abs(cross(along, offset)) < t.height / 2 && at > 0 &&
        at < total) {
        if (at - half > 0)
            polyline({start, start + along * (at - half)});
        if (at + half < total)
            polyline({start + along * (at + half), end});
    } else {
        polyline({start, end});
    }
    arrow(a, inside ? along : -along, style.firstArrow());
    arrow(b, inside ? -along : along, style.secondArrow());
    placeText(t, centre, degrees, out);
}

// An arc between two rays from the vertex, counter-clockwise from `first` to `second`,
// with extension lines from the measured points out (or in) to it.
void Drawer::angular(QPointF vertex, QPointF first, QPointF second, double radius,
                     const QString& prefix, bool arcLength) {
    const double from = degreesOf(first - vertex), to = degreesOf(second - vertex);
    const double sweep = sweepFrom(from, to);
    for (const bool isSecond : {false, true}) {
        const QPointF measured = isSecond ? second : first;
        const QPointF ray = unit(measured - vertex);
        const double reach = distance(vertex, measured);
        const double sign = radius >= reach ? 1.0 : -1.0;
        const bool suppressed = isSecond ? style.suppressExtension2 : style.suppressExtension1;
        if (std::abs(radius - reach) > style.scaled(style.extensionOffset) && !suppressed)
            line(measured + ray * sign * style.scaled(style.extensionOffset),
                 vertex + ray * (radius + sign * style.scaled(style.extensionBeyond)),
                 style.extensionColor);
    }
    polyline(arcPoints(vertex, radius, from, to));
    const QPointF startTip = vertex + direction(from) * radius;
    const QPointF endTip = vertex + direction(to) * radius;
    arrow(startTip, direction(from + 90), style.firstArrow());
    arrow(endTip, direction(to - 90), style.secondArrow());
    const double measure =
        arcLength ? distance(vertex, first) * sweep * std::numbers::pi / 180 : sweep;
    const QString measured =
        prefix + (arcLength ? linearMeasurement(measure * style.linearFactor, style)
                            : angularMeasurement(measure, style));
    const PlacedText t = text(measured);
    const double middle = from + sweep / 2;
    const double degrees = style.insideHorizontal ? 0.0 : readable(middle - 90);
    placeText(t, textCentre(vertex + direction(middle) * radius, degrees, t), degrees, out);
}

// A line from the curve to the text when the text lies outside, else from the centre; the
// arrow points at the curve.
void Drawer::radius(QPointF centre, QPointF onCurve) {
    const double r = distance(centre, onCurve);
    const QPointF outward =
        unit(onCurve - centre).isNull() ? QPointF(1, 0) : unit(onCurve - centre);
    const PlacedText t =
        text(QStringLiteral("R") + linearMeasurement(r * style.linearFactor, style));
    const double degrees = style.outsideHorizontal ? 0.0 : readable(degreesOf(outward));
    const QPointF textAt =
        has(11) ? tags.pointOf(11) : onCurve + outward * (2 * arrowLength() + t.width / 2);
    const bool outside = distance(centre, textAt) > r;
    const QPointF towards = unit(textAt - onCurve);
    if (outside) {
        const double reach = distance(onCurve, textAt) - t.width / 2 - style.scaled(style.gap);
        if (reach > 0)
            polyline({onCurve, onCurve + towards * reach});
        arrow(onCurve, towards.isNull() ? outward : towards, style.firstArrow());
    } else {
        polyline({centre, onCurve});
        arrow(onCurve, -outward, style.firstArrow());
    }
    const double mark = style.scaled(std::abs(style.centreMark));
    if (mark > 0 && style.centreMark != 0) {
        line(centre - QPointF(mark, 0), centre + QPointF(mark, 0), style.lineColor);
        line(centre - QPointF(0, mark), centre + QPointF(0, mark), style.lineColor);
    }
    placeText(t, textAt, degrees, out);
}

// An ordinate runs from the feature to the end of its leader; the text continues it.
void Drawer::ordinate(QPointF origin, QPointF feature, QPointF end, bool xType) {
    const double value = xType ? feature.x() - origin.x() : feature.y() - origin.y();
    const PlacedText t = text(linearMeasurement(std::abs(value) * style.linearFactor, style));
    const QPointF along = xType ? QPointF(0, end.y() >= feature.y() ? 1 : -1)
                                : QPointF(end.x() >= feature.x() ? 1 : -1, 0);
    polyline({feature + along * style.scaled(style.extensionOffset), end});
    const double degrees = style.outsideHorizontal ? 0.0 : readable(degreesOf(along));
    const double reach =
        std::abs(std::cos((degrees - degreesOf(along)) * std::numbers::pi / 180)) * t.width / 2 +
        style.scaled(style.gap);
    placeText(t, has(11) ? tags.pointOf(11) : end + along * reach, degrees, out);
}

// The two lines of a two-line angle meet at the vertex; the arc lies in the quarter that
// holds the arc point (16).
void twoLineAngle(Drawer& d) {
    const QPointF a1 = d.tags.pointOf(13), a2 = d.tags.pointOf(14);
    const QPointF b1 = d.tags.pointOf(15), b2 = d.tags.pointOf(10), arc = d.tags.pointOf(16);
    const QPointF u = a2 - a1, v = b2 - b1;
    const double denominator = cross(u, v);
    if (std::abs(denominator) < kTiny)
        return;
    const QPointF vertex = a1 + u * (cross(b1 - a1, v) / denominator);
    const double radius = distance(vertex, arc);
    const double at = degreesOf(arc - vertex);
    // The measured point of each line is its end farther along the chosen ray; a line that
    // lies on the other side of the vertex is measured from the vertex.
    const auto farther = [&](QPointF e1, QPointF e2, QPointF ray) {
        const QPointF end = dot(e1 - vertex, ray) > dot(e2 - vertex, ray) ? e1 : e2;
        return dot(end - vertex, ray) > kTiny ? end : vertex + unit(ray) * kNearVertex;
    };
    for (const double su : {1.0, -1.0})
        for (const double sv : {1.0, -1.0})
            for (const bool reversed : {false, true}) {
                const QPointF p = farther(a1, a2, u * su), q = farther(b1, b2, v * sv);
                const QPointF first = reversed ? q : p, second = reversed ? p : q;
                const double from = degreesOf(first - vertex);
                const double sweep = sweepFrom(from, degreesOf(second - vertex));
                if (sweep > 0 && sweep < 180 && sweepFrom(from, at) <= sweep)
                    return d.angular(vertex, first, second, radius, {}, false);
            }
}

void threePointAngle(Drawer& d, bool arcLength) {
    const QPointF vertex = d.tags.pointOf(15), location = d.tags.pointOf(10);
    QPointF first = d.tags.pointOf(13), second = d.tags.pointOf(14);
    const double from = degreesOf(first - vertex);
    if (sweepFrom(from, degreesOf(location - vertex)) > sweepFrom(from, degreesOf(second - vertex)))
        std::swap(first, second);
    const QString prefix = arcLength ? QString(QChar(0x2312)) : QString();
    d.angular(vertex, first, second, distance(vertex, location), prefix, arcLength);
}

void linear(Drawer& d, bool aligned) {
    const QPointF p1 = d.tags.pointOf(13), p2 = d.tags.pointOf(14), at = d.tags.pointOf(10);
    QPointF along = aligned ? unit(p2 - p1) : direction(d.tags.realOf(50));
    if (along.isNull())
        along = QPointF(1, 0);
    const QPointF d1 = at + along * dot(p1 - at, along);
    const QPointF d2 = at + along * dot(p2 - at, along);
    d.extension(p1, d1, d.style.suppressExtension1);
    d.extension(p2, d2, d.style.suppressExtension2);
    const double measure = std::abs(dot(p2 - p1, along)) * d.style.linearFactor;
    d.dimensionLine(d1, d2, along, linearMeasurement(measure, d.style));
}

void diameter(Drawer& d) {
    const QPointF far = d.tags.pointOf(15), near = d.tags.pointOf(10);
    const double measure = distance(far, near) * d.style.linearFactor;
    d.dimensionLine(near, far, QPointF(1, 0),
                    QStringLiteral("%%c") + linearMeasurement(measure, d.style));
}

} // namespace

// A dimension drawn from its definition points and its style, for dimensions that come
// without the block that would hold their picture.
void dimensionShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    Drawer d{
        in, tags,
        in.styles.dimensionStyle(in.styles.folded(tags.textOf(3))).overriddenBy(in.drawing, in.id),
        out};
    if (in.drawing.typeName(in.id) == "ARC_DIMENSION")
        return threePointAngle(d, true);
    if (in.drawing.typeName(in.id) == "LARGE_RADIAL_DIMENSION") // a jogged radius
        return d.radius(tags.pointOf(10), tags.pointOf(15));
    const int type = tags.integerOf(70);
    switch (type & kTypeMask) {
    case Rotated:
        return linear(d, false);
    case Aligned:
        return linear(d, true);
    case Angular:
        return twoLineAngle(d);
    case Diameter:
        return diameter(d);
    case Radius:
        return d.radius(tags.pointOf(10), tags.pointOf(15));
    case Angular3Point:
        return threePointAngle(d, false);
    case Ordinate:
        return d.ordinate(tags.pointOf(10), tags.pointOf(13), tags.pointOf(14),
                          (type & kOrdinateX) != 0);
    default:
        return;
    }
}

} // namespace kalvex::drawing
