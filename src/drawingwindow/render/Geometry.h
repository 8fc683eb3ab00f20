#pragma once

#include <QPointF>
#include <QTransform>
#include <vector>

namespace kalvex::drawing {

struct Vector3 {
    double x = 0, y = 0, z = 0;
};

// The object coordinate system of an entity with this extrusion direction, by the arbitrary
// axis algorithm, seen from above: the map from OCS X/Y (at an elevation) to world X/Y.
QTransform ocsToWorld(const Vector3& extrusion, double elevation = 0.0);
bool isPlainExtrusion(const Vector3& extrusion);

// Points along a circular arc, counter-clockwise from one angle to the other (degrees).
std::vector<QPointF> arcPoints(QPointF centre, double radius, double fromDeg, double toDeg);
// Points along an ellipse c + cos(t)·major + sin(t)·minor for t from one parameter to the
// other (radians), counter-clockwise in its own axes.
std::vector<QPointF> ellipsePoints(QPointF centre, QPointF major, QPointF minor, double from,
                                   double to);
// Appends the arc a polyline bulge describes from `from` to `to` (the end point included).
void appendBulge(std::vector<QPointF>& out, QPointF from, QPointF to, double bulge);

// A NURBS curve of this degree; knots and weights that do not fit the control points are
// replaced by a clamped uniform vector and unit weights, as readers of damaged files do.
std::vector<QPointF> nurbsPoints(int degree, const std::vector<QPointF>& control,
                                 std::vector<double> knots, std::vector<double> weights);
// A smooth curve through fit points (centripetal Catmull-Rom).
std::vector<QPointF> curveThrough(const std::vector<QPointF>& fit, bool closed);

// The parts of the line through `origin` along `direction` that lie inside the rings
// (odd-even), as parameter pairs along the direction.
std::vector<std::pair<double, double>> insideSpans(QPointF origin, QPointF direction,
                                                   const std::vector<std::vector<QPointF>>& rings);

} // namespace kalvex::drawing
