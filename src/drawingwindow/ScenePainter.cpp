#include "drawingwindow/ScenePainter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "drawingwindow/RasterImages.h"
#include "drawingwindow/render/FontMapping.h"

namespace kalvex::drawing {

namespace {
constexpr double kLargestFontPixels = 2000.0;
const QColor kHighlight(120, 200, 255);
// CAD text height is the height of capitals; a font's pixel size is its em, a little larger.
constexpr double kEmPerCapHeight = 1.35;
// Lineweights show at screen scale (96 pixels per inch); thinner than this stays a hairline.
constexpr double kPixelsPerMillimetre = 96.0 / 25.4;
constexpr double kThinnestWideLine = 1.5;
// A linetype whose whole pattern is shorter than this on screen is drawn continuous.
constexpr double kFinestPatternPixels = 4.0;
constexpr double kLeastStretch = 0.5;

QPolygonF onScreen(const ViewTransform& t, const std::vector<QPointF>& points, std::size_t from,
                   std::size_t to) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(to - from));
    for (std::size_t i = from; i < to; ++i)
        polygon << t.toScreen(points[i]);
    return polygon;
}

// The part of the line base + t·direction (t from `first` on) inside the box.
std::optional<QLineF> clipped(QPointF base, QPointF direction, double first, const QRectF& box) {
    double t0 = first, t1 = INFINITY;
    const double lows[2] = {box.left(), box.top()}, highs[2] = {box.right(), box.bottom()};
    const double origin[2] = {base.x(), base.y()}, d[2] = {direction.x(), direction.y()};
    for (int axis = 0; axis < 2; ++axis) {
        if (d[axis] == 0) {
            if (origin[axis] < lows[axis] || origin[axis] > highs[axis])
                return std::nullopt;
            continue;
        }
        double a = (lows[axis] - origin[axis]) / d[axis],
               b = (highs[axis] - origin[axis]) / d[axis];
        if (a > b)
            std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
    }
    if (!(t0 <= t1))
        return std::nullopt;
    return QLineF(base + direction * t0, base + direction * t1);
}

// Qt's dash patterns alternate dash and gap in pen widths; CAD patterns list signed lengths.
QList<qreal> dashesOf(const LinePattern& pattern, double scale, double unit) {
    QList<qreal> dashes;
    for (double length : pattern.lengths) {
        const double pixels = std::max(1.0, std::abs(length) * scale) / unit;
        const bool dash = length >= 0;
        const bool extendsLast = !dashes.isEmpty() && (dashes.size() % 2 == 1) == dash;
        if (extendsLast)
            dashes.back() += pixels;
        else if (dashes.isEmpty() && !dash)
            dashes << 0.01 << pixels;
        else
            dashes << pixels;
    }
    if (dashes.size() % 2 == 1)
        dashes << 0.01;
    return dashes;
}

} // namespace

const QColor ScenePainter::kBackground(33, 40, 48);

ScenePainter::ScenePainter(QPainter& painter, const ViewTransform& transform,
                           const std::unordered_set<RecordId>& highlighted)
    : m_painter(painter), m_transform(transform), m_highlighted(highlighted) {}

// A WIPEOUT hides what was drawn before it, so entries that meet one paint in drawing order.
void ScenePainter::paint(const Scene& scene, const QRectF& area) {
    m_area = area;
    if (m_pictures)
        m_pictures->startPaint(m_transform.scale);
    if (scene.anyMasks()) {
        std::vector<const SceneEntry*> entries;
        scene.visit(area, [&](const SceneEntry& entry) { entries.push_back(&entry); });
        std::stable_sort(entries.begin(), entries.end(),
                         [](const SceneEntry* a, const SceneEntry* b) { return a->id < b->id; });
        for (const SceneEntry* entry : entries)
            paintEntry(*entry);
    } else {
        scene.visit(area, [&](const SceneEntry& entry) { paintEntry(entry); });
    }
    m_coarse.paint(m_painter);
}

QColor ScenePainter::shown(QColor color, const SceneEntry& entry) const {
    if (!m_highlighted.empty() && m_highlighted.contains(entry.id))
        return kHighlight;
    if (entry.locked)
        color.setAlpha(kLockedAlpha);
    return color;
}

// Most entries of a drawing seen whole are dots: their colour comes from the entry's kept
// colour without a QColor made for each.
QRgb ScenePainter::dotColor(const SceneEntry& entry) const {
    if (!entry.mainColorKept || (!m_highlighted.empty() && m_highlighted.contains(entry.id)))
        return shown(mainColor(entry), entry).rgba();
    return qRgba(entry.mainRed, entry.mainGreen, entry.mainBlue, entry.locked ? kLockedAlpha : 255);
}

void ScenePainter::paintEntry(const SceneEntry& entry) {
    if (!entry.unbounded && m_coarse.takeAsDot(entry, m_transform, dotColor(entry)))
        return;
    const QColor color = shown(mainColor(entry), entry);
    if (entry.block)
        paintBlock(entry, color);
    paintShapes(entry.shapes, entry);
}

// A block reference's block: as a box when it is small on screen, from its picture, or shape
// by shape when it is large on screen or highlighted.
void ScenePainter::paintBlock(const SceneEntry& entry, const QColor& color) {
    if (m_coarse.takeAsBox(*entry.block, m_transform, color))
        return;
    if (m_pictures && !m_highlighted.contains(entry.id)) {
        const auto inFull = [this](QPainter& painter, const ViewTransform& t,
                                   const std::vector<SceneShape>& shapes, const SceneEntry& e) {
            ScenePainter picture(painter, t, m_highlighted);
            picture.setBackground(m_background);
            picture.paintShapes(shapes, e);
            picture.m_coarse.paint(painter);
        };
        if (m_pictures->draw(m_painter, m_transform, entry, inFull) ||
            m_pictures->drawnAlready(entry))
            return;
    }
    paintShapes(transformedShapes(entry.block->block->shapes, entry.block->map), entry);
}

void ScenePainter::paintShapes(const std::vector<SceneShape>& shapes, const SceneEntry& entry) {
    const bool highlighted = m_highlighted.contains(entry.id);
    for (const SceneShape& shape : shapes) {
        const QColor color = shown(shape.color.toColor(), entry);
        switch (shape.kind) {
        case ShapeKind::Text:
            paintText(shape.text, color);
            break;
        case ShapeKind::Fill:
            paintArea(shape, color);
            break;
        case ShapeKind::Background:
            paintArea(shape, m_background);
            break;
        case ShapeKind::Point:
            paintPoint(shape, color);
            break;
        case ShapeKind::Ray:
        case ShapeKind::Xline:
            paintInfiniteLine(shape, color);
            break;
        case ShapeKind::Segments:
            paintSegments(shape, color);
            break;
        case ShapeKind::Polyline:
            paintPolyline(shape, color, highlighted);
            break;
        case ShapeKind::Image:
            paintRasterImage(m_painter, m_transform, shape);
            break;
        }
    }
}

QPen ScenePainter::penFor(const SceneShape& shape, const QColor& color) const {
    const double width =
        std::max(shape.lineWeight * kPixelsPerMillimetre, shape.width * m_transform.scale);
    QPen pen(color, width >= kThinnestWideLine ? width : 0);
    if (shape.width * m_transform.scale >= kThinnestWideLine) {
        pen.setCapStyle(Qt::FlatCap); // a wide polyline ends square at its end points
        pen.setJoinStyle(Qt::MiterJoin);
    }
    if (!shape.pattern || shape.pattern->total * m_transform.scale < kFinestPatternPixels)
        return pen;
    pen.setDashPattern(dashesOf(*shape.pattern, m_transform.scale, std::max(1.0, pen.widthF())));
    return pen;
}

void ScenePainter::paintPolyline(const SceneShape& shape, const QColor& color, bool highlighted) {
    const QPolygonF polygon = onScreen(m_transform, shape.points, 0, shape.points.size());
    m_painter.setPen(highlighted ? QPen(color, 2, Qt::DashLine) : penFor(shape, color));
    if (shape.closed)
        m_painter.drawPolygon(polygon);
    else
        m_painter.drawPolyline(polygon);
}

void ScenePainter::paintSegments(const SceneShape& shape, const QColor& color) {
    QList<QLineF> lines;
    lines.reserve(static_cast<qsizetype>(shape.points.size() / 2));
    for (std::size_t i = 0; i + 1 < shape.points.size(); i += 2)
        lines << QLineF(m_transform.toScreen(shape.points[i]),
                        m_transform.toScreen(shape.points[i + 1]));
    m_painter.setPen(QPen(color, 0));
    m_painter.drawLines(lines);
}

void ScenePainter::paintArea(const SceneShape& shape, const QColor& color) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    std::size_t start = 0;
    const std::vector<std::uint32_t> whole{static_cast<std::uint32_t>(shape.points.size())};
    for (std::uint32_t end : shape.ringEnds.empty() ? whole : shape.ringEnds) {
        path.addPolygon(onScreen(m_transform, shape.points, start,
                                 std::min<std::size_t>(end, shape.points.size())));
        path.closeSubpath();
        start = end;
    }
    m_painter.setPen(QPen(color, 0));
    m_painter.setBrush(color);
    m_painter.drawPath(path);
    m_painter.setBrush(Qt::NoBrush);
}

void ScenePainter::paintPoint(const SceneShape& shape, const QColor& color) {
    m_painter.setPen(QPen(color, 0));
    m_painter.drawPoint(m_transform.toScreen(shape.points.front()));
}

void ScenePainter::paintInfiniteLine(const SceneShape& shape, const QColor& color) {
    const QPointF base = shape.points[0], direction = shape.points[1] - shape.points[0];
    const double first = shape.kind == ShapeKind::Ray ? 0.0 : -INFINITY;
    const auto line = clipped(base, direction, first, m_transform.visibleArea());
    if (!line)
        return;
    m_painter.setPen(QPen(color, 0));
    m_painter.drawLine(m_transform.toScreen(line->p1()), m_transform.toScreen(line->p2()));
}

QFont& ScenePainter::fontFor(const SceneText& text) {
    const QString& family = text.family ? *text.family : defaultFontFamily();
    const QString key = family + QString::number(text.underline) + QString::number(text.overline) +
                        QString::number(text.strikeOut);
    auto found = m_fonts.find(key);
    if (found != m_fonts.end())
        return *found;
    QFont font;
    font.setFamilies({family, QStringLiteral("Noto Sans CJK JP"), QStringLiteral("DejaVu Sans")});
    font.setUnderline(text.underline);
    font.setOverline(text.overline);
    font.setStrikeOut(text.strikeOut);
    return *m_fonts.insert(key, font);
}

// The diameter sign (%%c) stands as tall as a capital; the fonts' own U+2300 is a small
// circle at x-height, so a capital O with a stroke shows it.
static const QString& glyphsOf(const QString& text, QString& scratch) {
    if (!text.contains(QChar(0x2300)))
        return text;
    scratch = text;
    scratch.replace(QChar(0x2300), QChar(0x00D8));
    return scratch;
}

// Layout places texts by their estimated width; the glyphs are fitted to it, so that
// aligned texts end where they should and the runs of a note do not overlap.
double ScenePainter::stretchToBox(const SceneText& text, const QString& glyphs, const QFont& font,
                                  double grow) const {
    const double natural = QFontMetricsF(font).horizontalAdvance(glyphs) * grow;
    const double wanted = text.width / std::max(1e-9, double(text.widthFactor)) * m_transform.scale;
    if (natural <= 0 || wanted <= 0)
        return 1.0;
    return std::clamp(wanted / natural, kLeastStretch, 1.0 / kLeastStretch);
}

void ScenePainter::paintText(const SceneText& text, const QColor& color) {
    if (m_coarse.takeAsLine(text, m_transform, color))
        return;
    const double pixels = text.height * m_transform.scale;
    QFont& font = fontFor(text);
    const double em = std::min(pixels * kEmPerCapHeight, kLargestFontPixels);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
    m_painter.save();
    m_painter.setPen(QPen(color, 0));
    m_painter.setFont(font);
    m_painter.translate(m_transform.toScreen(text.anchor));
    m_painter.rotate(-text.rotation);
    m_painter.scale(text.backwards ? -1 : 1, text.upsideDown ? -1 : 1);
    m_painter.translate(text.boxOrigin.x() * m_transform.scale,
                        -text.boxOrigin.y() * m_transform.scale);
    m_painter.shear(-std::tan(std::clamp(static_cast<double>(text.oblique), -85.0, 85.0) *
                              std::numbers::pi / 180),
                    0);
    const double grow = pixels * kEmPerCapHeight / std::max(1, font.pixelSize());
    QString scratch;
    const QString& glyphs = glyphsOf(text.text, scratch);
    m_painter.scale(text.widthFactor * grow * stretchToBox(text, glyphs, font, grow), grow);
    m_painter.drawText(QPointF(0, 0), glyphs);
    m_painter.restore();
}

} // namespace kalvex::drawing
