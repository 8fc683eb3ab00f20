#include "drawingwindow/render/Geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvex::drawing {

namespace {

constexpr int kSegmentsPerCircle = 72;
constexpr int kSegmentsPerSpan = 12;
constexpr int kMaxCurvePoints = 20000;
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 normalized(const Vector3& v) {
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return n > 0 ? Vector3{v.x / n, v.y / n, v.z / n} : Vector3{0, 0, 1};
}

int segmentsFor(double sweep) {
    return std::clamp(
        static_cast<int>(std::ceil(kSegmentsPerCircle * std::abs(sweep) / (2 * std::numbers::pi))),
        2, kSegmentsPerCircle);
}

// Where span i of a knot vector starts for parameter u (the largest i with knots[i] <= u).
std::size_t spanOf(const std::vector<double>& knots, int degree, std::size_t count, double u) {
    std::size_t span = static_cast<std::size_t>(degree);
    while (span + 1 < count && knots[span + 1] <= u)
        ++span;
    return span;
}

QPointF deBoor(int degree, const std::vector<QPointF>& control, const std::vector<double>& knots,
               const std::vector<double>& weights, double u) {
    const std::size_t k = spanOf(knots, degree, control.size(), u);
    std::vector<double> x(degree + 1), y(degree + 1), w(degree + 1);
    for (int j = 0; j <= degree; ++j) {
        const std::size_t i = k - degree + j;
        w[j] = weights[i];
        x[j] = control[i].x() * w[j];
        y[j] = control[i].y() * w[j];
    }
    for (int r = 1; r <= degree; ++r) {
        for (int j = degree; j >= r; --j) {
            const std::size_t i = k - degree + j;
            const double span = knots[i + degree - r + 1] - knots[i];
            const double a = span > 0 ? (u - knots[i]) / span : 0.0;
            x[j] = (1 - a) * x[j - 1] + a * x[j];
            y[j] = (1 - a) * y[j - 1] + a * y[j];
            w[j] = (1 - a) * w[j - 1] + a * w[j];
        }
    }
    const double weight = w[degree] != 0 ? w[degree] : 1.0;
    return {x[degree] / weight, y[degree] / weight};
}

std::vector<double> clampedKnots(int degree, std::size_t count) {
    std::vector<double> knots;
    const std::size_t inner = count - static_cast<std::size_t>(degree);
    for (int i = 0; i < degree; ++i)
        knots.push_back(0.0);
    for (std::size_t i = 0; i <= inner; ++i)
        knots.push_back(static_cast<double>(i));
    for (int i = 0; i < degree; ++i)
        knots.push_back(static_cast<double>(inner));
    return knots;
}

bool usableKnots(const std::vector<double>& knots, std::size_t expected) {
    if (knots.size() != expected)
        return false;
    for (std::size_t i = 1; i < knots.size(); ++i)
        if (!(knots[i] >= knots[i - 1]) || !std::isfinite(knots[i]))
            return false;
    return knots.front() < knots.back();
}

} // namespace

bool isPlainExtrusion(const Vector3& e) {
    return e.x == 0 && e.y == 0 && e.z > 0;
}

QTransform ocsToWorld(const Vector3& extrusion, double elevation) {
    // Seen from above, a plane parallel to XY shows as it is whatever its elevation.
    if (isPlainExtrusion(extrusion) || (extrusion.x == 0 && extrusion.y == 0 && extrusion.z == 0))
        return QTransform();
    const Vector3 n = normalized(extrusion);
    const bool nearZ = std::abs(n.x) < kArbitraryAxisLimit && std::abs(n.y) < kArbitraryAxisLimit;
    const Vector3 ax = normalized(cross(nearZ ? Vector3{0, 1, 0} : Vector3{0, 0, 1}, n));
    const Vector3 ay = normalized(cross(n, ax));
    return QTransform(ax.x, ax.y, ay.x, ay.y, n.x * elevation, n.y * elevation);
}

std::vector<QPointF> arcPoints(QPointF centre, double radius, double fromDeg, double toDeg) {
    if (!std::isfinite(fromDeg) || !std::isfinite(toDeg))
        return {};
    fromDeg = std::fmod(fromDeg, 360.0);
    toDeg = std::fmod(toDeg, 360.0);
    while (toDeg <= fromDeg)
        toDeg += 360.0;
    const double from = fromDeg * std::numbers::pi / 180.0, to = toDeg * std::numbers::pi / 180.0;
    return ellipsePoints(centre, QPointF(radius, 0), QPointF(0, radius), from, to);
}

std::vector<QPointF> ellipsePoints(QPointF centre, QPointF major, QPointF minor, double from,
                                   double to) {
    if (!std::isfinite(from) || !std::isfinite(to))
        return {};
    const int segments = segmentsFor(to - from);
    std::vector<QPointF> points;
    points.reserve(static_cast<std::size_t>(segments) + 1);
    for (int i = 0; i <= segments; ++i) {
        const double t = from + (to - from) * i / segments;
        points.push_back(centre + std::cos(t) * major + std::sin(t) * minor);
    }
    return points;
}

// A bulge is the tangent of a quarter of the arc's included angle; positive runs
// counter-clockwise.
void appendBulge(std::vector<QPointF>& out, QPointF from, QPointF to, double bulge) {
    const QPointF chord = to - from;
    const double c = std::hypot(chord.x(), chord.y());
    if (bulge == 0 || !std::isfinite(bulge) || c == 0) {
        out.push_back(to);
        return;
    }
    const double angle = 4 * std::atan(bulge);
    const double radius = c / (2 * std::sin(angle / 2));
    const QPointF middle = (from + to) / 2;
    const QPointF normal(-chord.y() / c, chord.x() / c);
    const double toCentre = radius * std::cos(angle / 2);
    const QPointF centre = middle + normal * toCentre;
    const double start = std::atan2(from.y() - centre.y(), from.x() - centre.x());
    const double r = std::abs(radius);
    const auto arc = ellipsePoints(centre, QPointF(r, 0), QPointF(0, r), start, start + angle);
    out.insert(out.end(), arc.begin() + 1, arc.end());
}

std::vector<QPointF> nurbsPoints(int degree, const std::vector<QPointF>& control,
                                 std::vector<double> knots, std::vector<double> weights) {
    if (control.size() < 2)
        return control;
    degree = std::clamp(degree, 1, static_cast<int>(control.size()) - 1);
    if (!usableKnots(knots, control.size() + static_cast<std::size_t>(degree) + 1))
        knots = clampedKnots(degree, control.size());
    if (weights.size() != control.size() ||
        std::any_of(weights.begin(), weights.end(), [](double w) { return !(w > 0); }))
        weights.assign(control.size(), 1.0);
    const double first = knots[static_cast<std::size_t>(degree)];
    const double last = knots[control.size()];
    const int steps =
        std::min<int>(kMaxCurvePoints, kSegmentsPerSpan * static_cast<int>(control.size()));
    std::vector<QPointF> points;
    points.reserve(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double u = first + (last - first) * i / steps;
        points.push_back(deBoor(degree, control, knots, weights, std::min(u, last)));
    }
    if (last > first) {
        // The last parameter lies at the end of the last non-empty span.
        const double before = std::nextafter(last, first);
        points.back() = deBoor(degree, control, knots, weights, before);
    }
    return points;
}

namespace {

// A closed curve through fit points: Catmull-Rom, which needs no system solved.
std::vector<QPointF> closedCurveThrough(const std::vector<QPointF>& fit) {
    const std::size_t n = fit.size();
    auto at = [&](std::size_t i) { return fit[i % n]; };
    std::vector<QPointF> points;
    for (std::size_t i = 0; i < n; ++i) {
        const QPointF p0 = at(i + n - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        for (int s = 0; s < kSegmentsPerSpan; ++s) {
            const double t = static_cast<double>(s) / kSegmentsPerSpan, t2 = t * t, t3 = t2 * t;
            points.push_back(0.5 *
                             ((2 * p1) + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                              (-p0 + 3 * p1 - 3 * p2 + p3) * t3));
        }
    }
    points.push_back(fit[0]);
    return points;
}

// The second derivatives of a natural cubic spline through values at the parameters.
std::vector<double> naturalMoments(const std::vector<double>& t, const std::vector<double>& y) {
    const std::size_t n = t.size();
    std::vector<double> m(n, 0.0), c(n, 0.0), d(n, 0.0);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const double h0 = t[i] - t[i - 1], h1 = t[i + 1] - t[i];
        const double rhs = 6 * ((y[i + 1] - y[i]) / h1 - (y[i] - y[i - 1]) / h0);
        const double pivot = 2 * (h0 + h1) - h0 * c[i - 1];
        c[i] = h1 / pivot;
        d[i] = (rhs - h0 * d[i - 1]) / pivot;
    }
    for (std::size_t i = n - 1; i-- > 1;)
        m[i] = d[i] - c[i] * m[i + 1];
    return m;
}

double cubicAt(const std::vector<double>& t, const std::vector<double>& y,
               const std::vector<double>& m, std::size_t i, double u) {
    const double h = t[i + 1] - t[i], a = (t[i + 1] - u) / h, b = (u - t[i]) / h;
    return a * y[i] + b * y[i + 1] +
           ((a * a * a - a) * m[i] + (b * b * b - b) * m[i + 1]) * h * h / 6;
}

} // namespace

// An open curve through fit points is a natural cubic spline over the chord lengths, close
// to the interpolation CAD programs make of fit points.
std::vector<QPointF> curveThrough(const std::vector<QPointF>& given, bool closed) {
    std::vector<QPointF> fit;
    for (const QPointF& p : given)
        if (fit.empty() || p != fit.back())
            fit.push_back(p);
    if (fit.size() < 3 || fit.size() > static_cast<std::size_t>(kMaxCurvePoints))
        return fit;
    if (closed)
        return closedCurveThrough(fit);
    std::vector<double> t{0.0}, x, y;
    for (std::size_t i = 0; i < fit.size(); ++i) {
        x.push_back(fit[i].x());
        y.push_back(fit[i].y());
        if (i > 0)
            t.push_back(t.back() +
                        std::hypot(fit[i].x() - fit[i - 1].x(), fit[i].y() - fit[i - 1].y()));
    }
    const std::vector<double> mx = naturalMoments(t, x), my = naturalMoments(t, y);
    std::vector<QPointF> points;
    for (std::size_t i = 0; i + 1 < fit.size(); ++i)
        for (int s = 0; s < kSegmentsPerSpan; ++s) {
            const double u = t[i] + (t[i + 1] - t[i]) * s / kSegmentsPerSpan;
            points.emplace_back(cubicAt(t, x, mx, i, u), cubicAt(t, y, my, i, u));
        }
    points.push_back(fit.back());
    return points;
}

std::vector<std::pair<double, double>> insideSpans(QPointF origin, QPointF direction,
                                                   const std::vector<std::vector<QPointF>>& rings) {
    std::vector<double> hits;
    const QPointF normal(-direction.y(), direction.x());
    for (const auto& ring : rings) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const QPointF a = ring[i], b = ring[(i + 1) % ring.size()];
            const double da = QPointF::dotProduct(a - origin, normal);
            const double db = QPointF::dotProduct(b - origin, normal);
            // Half-open on each edge so a line through a vertex counts it once.
            if ((da > 0) == (db > 0))
                continue;
            const double t = da / (da - db);
            hits.push_back(QPointF::dotProduct(a + (b - a) * t - origin, direction));
        }
    }
    std::sort(hits.begin(), hits.end());
    std::vector<std::pair<double, double>> spans;
    for (std::size_t i = 0; i + 1 < hits.size(); i += 2)
        spans.emplace_back(hits[i], hits[i + 1]);
    return spans;
}

} // namespace kalvex::drawing
