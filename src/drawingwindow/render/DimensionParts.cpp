#include "drawingwindow/render/DimensionParts.h"

#include <cmath>
#include <numbers>

#include "drawingwindow/AciColors.h"
#include "drawingwindow/render/MtextLayout.h"

namespace kalvex::drawing {

namespace {

constexpr int kSuppressLeadingZero = 4;
constexpr int kSuppressTrailingZeros = 8;
constexpr int kAngleSuppressLeading = 1;
constexpr int kAngleSuppressTrailing = 2;
constexpr double kInchesPerFoot = 12.0;
constexpr double kArrowHalfWidth = 1.0 / 6.0; // of the arrow's length

QString withoutZeros(QString text, bool leading, bool trailing) {
    if (trailing && text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (leading && text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (leading && text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}

QString decimal(double value, int decimals, bool leading, bool trailing, QChar separator) {
    QString text = QString::number(value, 'f', std::clamp(decimals, 0, 8));
    if (text.startsWith(QLatin1Char('-')) && text.toDouble() == 0.0)
        text.remove(0, 1);
    text = withoutZeros(text, leading, trailing);
    if (text.isEmpty())
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), separator);
    return text;
}

// A whole number and a fraction of a power-of-two denominator set by the precision.
QString fractional(double value, int decimals) {
    const int denominator = 1 << std::clamp(decimals, 0, 8);
    const double whole = std::floor(value);
    int numerator = static_cast<int>(std::lround((value - whole) * denominator));
    int base = static_cast<int>(whole), d = denominator;
    if (numerator == denominator) {
        ++base;
        numerator = 0;
    }
    if (numerator == 0)
        return QString::number(base);
    while (numerator % 2 == 0) {
        numerator /= 2;
        d /= 2;
    }
    const QString fraction = QStringLiteral("%1/%2").arg(numerator).arg(d);
    return base == 0 ? fraction : QStringLiteral("%1 %2").arg(base).arg(fraction);
}

} // namespace

QString linearMeasurement(double value, const DimensionStyle& s) {
    if (s.rounding > 0)
        value = std::round(value / s.rounding) * s.rounding;
    const bool leading = (s.zeros & kSuppressLeadingZero) != 0;
    const bool trailing = (s.zeros & kSuppressTrailingZeros) != 0;
    switch (s.linearUnits) {
    case 1:
        return QString::number(value, 'E', std::clamp(s.decimals, 0, 8));
    case 3: { // engineering: feet and decimal inches
        const double feet = std::floor(std::abs(value) / kInchesPerFoot);
        const double inches = std::abs(value) - feet * kInchesPerFoot;
        return QStringLiteral("%1'-%2\"")
            .arg(feet)
            .arg(decimal(inches, s.decimals, leading, trailing, s.decimalSeparator));
    }
    case 4: { // architectural: feet and fractional inches
        const double feet = std::floor(std::abs(value) / kInchesPerFoot);
        return QStringLiteral("%1'-%2\"")
            .arg(feet)
            .arg(fractional(std::abs(value) - feet * kInchesPerFoot, s.decimals));
    }
    case 5:
        return fractional(std::abs(value), s.decimals);
    default:
        return decimal(value, s.decimals, leading, trailing, s.decimalSeparator);
    }
}

QString angularMeasurement(double degrees, const DimensionStyle& s) {
    const int decimals = s.angleDecimals >= 0 ? s.angleDecimals : s.decimals;
    const bool leading = (s.angleZeros & kAngleSuppressLeading) != 0;
    const bool trailing = (s.angleZeros & kAngleSuppressTrailing) != 0;
    switch (s.angularUnits) {
    case 1: { // degrees, minutes and seconds
        const double total = std::round(degrees * 3600);
        const int d = static_cast<int>(total / 3600);
        const int m = static_cast<int>(std::fmod(total, 3600) / 60);
        const int sec = static_cast<int>(std::fmod(total, 60));
        QString text = QStringLiteral("%1%%d").arg(d);
        if (decimals >= 1)
            text += QStringLiteral("%1'").arg(m);
        if (decimals >= 3)
            text += QStringLiteral("%1\"").arg(sec);
        return text;
    }
    case 2:
        return decimal(degrees / 0.9, decimals, leading, trailing, s.decimalSeparator) + 'g';
    case 3:
        return decimal(degrees * std::numbers::pi / 180, decimals, leading, trailing,
                       s.decimalSeparator) +
               'r';
    default:
        return decimal(degrees, decimals, leading, trailing, s.decimalSeparator) +
               QStringLiteral("%%d");
    }
}

// DIMPOST puts the value where its "<>" stands, or is a suffix. The entity's own text
// replaces all of it: "<>" there stands for the measured text, a single blank hides it.
QString dimensionText(const QString& measured, const QString& override, const QString& post) {
    QString text = measured;
    if (!post.isEmpty())
        text = post.contains(QLatin1String("<>")) ? QString(post).replace(QLatin1String("<>"), text)
                                                  : text + post;
    if (override.isEmpty() || override == QLatin1String("<>"))
        return text;
    if (override == QLatin1String(" "))
        return {};
    return QString(override).replace(QLatin1String("<>"), text);
}

void arrowShapes(const DimensionStyle& s, ArrowKind kind, QPointF tip, QPointF body,
                 ShapeList& out) {
    const double size = s.scaled(s.arrowSize);
    const QPointF across(-body.y() * size * kArrowHalfWidth, body.x() * size * kArrowHalfWidth);
    const QPointF back = tip + body * size;
    SceneShape shape;
    switch (kind) {
    case ArrowKind::None:
        return;
    case ArrowKind::Filled:
        shape = areaShape({{tip, back + across, back - across}}, ShapeKind::Fill);
        break;
    case ArrowKind::Open:
        shape = pathShape({back + across, tip, back - across}, false);
        break;
    case ArrowKind::Dot:
        shape = areaShape({arcPoints(tip, size / 4, 0, 360)}, ShapeKind::Fill);
        break;
    case ArrowKind::Tick: {
        const double half = (s.tickSize > 0 ? s.scaled(s.tickSize) : size) / 2;
        const QPointF slant = (body + QPointF(-body.y(), body.x())) * half;
        shape = pathShape({tip - slant, tip + slant}, false);
        break;
    }
    }
    if (s.lineColor > 0 && s.lineColor < 256)
        shape.color = aciColor(s.lineColor);
    out.push_back(std::move(shape));
}

PlacedText layDimensionText(const QString& content, const DimensionStyle& s,
                            const QString* family) {
    PlacedText placed;
    if (content.isEmpty())
        return placed;
    MtextFormat base;
    base.height = s.scaled(s.textHeight);
    base.family = family;
    if (s.textColor > 0 && s.textColor < 256)
        base.color = aciColor(s.textColor);
    MtextBox box;
    box.attachment = 5;
    placed.shapes = layoutMtext(parseMtext(content, base), box, base.height);
    const QRectF bounds = shapeBounds(placed.shapes);
    placed.width = bounds.width();
    placed.height = std::max(bounds.height(), base.height);
    placed.centre = bounds.center();
    return placed;
}

void placeText(const PlacedText& text, QPointF centre, double degrees, ShapeList& out) {
    QTransform map;
    map.translate(centre.x(), centre.y());
    map.rotate(degrees);
    map.translate(-text.centre.x(), -text.centre.y());
    for (SceneShape shape : text.shapes) {
        transformShape(shape, map);
        out.push_back(std::move(shape));
    }
}

} // namespace kalvex::drawing
