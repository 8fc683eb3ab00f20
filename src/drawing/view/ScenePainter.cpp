#include "drawing/view/ScenePainter.h"

#include <QPolygonF>
#include <cmath>

namespace kalvex::drawing {

namespace {
const QColor kHighlight(120, 200, 255);
// CAD text height is the height of capitals; a font's pixel size is its em, a little larger.
constexpr double kEmPerCapHeight = 1.35;
} // namespace

ScenePainter::ScenePainter(QPainter& painter, const ViewTransform& transform,
                           const std::unordered_set<RecordId>& highlighted)
    : m_painter(painter), m_transform(transform), m_highlighted(highlighted) {
    m_font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                        QStringLiteral("sans-serif")});
}

void ScenePainter::paint(const Scene& scene, const QRectF& area) {
    if (m_pictures)
        m_pictures->startPaint(m_transform.scale);
    scene.visit(area, [this](const SceneEntry& entry) { paintEntry(entry); });
    m_coarse.paint(m_painter);
}

QColor ScenePainter::shown(QColor color, const SceneEntry& entry) const {
    if (!m_highlighted.empty() && m_highlighted.contains(entry.id))
        return kHighlight;
    if (entry.locked)
        color.setAlpha(90);
    return color;
}

void ScenePainter::paintEntry(const SceneEntry& entry) {
    const QColor color = shown(mainColor(entry), entry);
    if (m_coarse.takeAsDot(entry, m_transform, color))
        return;
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
            picture.paintShapes(shapes, e);
            picture.m_coarse.paint(painter);
        };
        if (m_pictures->draw(m_painter, m_transform, entry, inFull) ||
            m_pictures->drawnAlready(entry))
            return;
    }
    paintShapes(placedShapes(entry.block->block->shapes, entry.block->placement), entry);
}

void ScenePainter::paintShapes(const std::vector<SceneShape>& shapes, const SceneEntry& entry) {
    const bool highlighted = m_highlighted.contains(entry.id);
    for (const SceneShape& shape : shapes) {
        const QColor color = shown(shape.color, entry);
        if (shape.isText) {
            paintText(shape.text, color);
            continue;
        }
        QPolygonF polygon;
        polygon.reserve(static_cast<int>(shape.points.size()));
        for (const QPointF& p : shape.points)
            polygon << m_transform.toScreen(p);
        QPen pen(color, highlighted ? 2 : 0, highlighted ? Qt::DashLine : Qt::SolidLine);
        m_painter.setPen(pen);
        if (shape.closed)
            m_painter.drawPolygon(polygon);
        else
            m_painter.drawPolyline(polygon);
    }
}

void ScenePainter::paintText(const SceneText& text, const QColor& color) {
    if (m_coarse.takeAsLine(text, m_transform, color))
        return;
    const double pixels = text.height * m_transform.scale;
    m_painter.setPen(QPen(color, 0));
    m_font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels * kEmPerCapHeight))));
    m_painter.save();
    m_painter.setFont(m_font);
    m_painter.translate(m_transform.toScreen(text.anchor));
    m_painter.rotate(-text.rotation);
    m_painter.scale(text.widthFactor, 1.0);
    const QPointF baseline(text.boxOrigin.x() * m_transform.scale / text.widthFactor,
                           -text.boxOrigin.y() * m_transform.scale);
    m_painter.drawText(baseline, text.text);
    m_painter.restore();
}

} // namespace kalvex::drawing
