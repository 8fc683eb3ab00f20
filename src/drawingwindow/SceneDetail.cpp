#include "drawingwindow/SceneDetail.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvex::drawing {

namespace {
constexpr double kDotPixels = 1.5;
constexpr double kBoxPixels = 6.0;
constexpr double kSmallestReadableText = 4.0;

double longerSide(const QRectF& r) {
    return std::max(r.width(), r.height());
}

Detail detailOfPlaced(const QRectF& placedBlock, double pixelsPerUnit) {
    return longerSide(placedBlock) * pixelsPerUnit < kBoxPixels ? Detail::Box : Detail::Full;
}

} // namespace

Detail detailOf(const SceneEntry& entry, double pixelsPerUnit) {
    return longerSide(entry.bounds) * pixelsPerUnit < kDotPixels ? Detail::Dot : Detail::Full;
}

Detail detailOf(const SceneBlockRef& block, double pixelsPerUnit) {
    return detailOfPlaced(block.map.mapRect(block.block->bounds), pixelsPerUnit);
}

QColor mainColor(const SceneEntry& entry) {
    if (entry.mainColorKept)
        return QColor(entry.mainRed, entry.mainGreen, entry.mainBlue);
    if (entry.block && !entry.block->block->shapes.empty())
        return entry.block->block->shapes.front().color.toColor();
    return entry.shapes.empty() ? QColor() : entry.shapes.front().color.toColor();
}

void keepMainColor(SceneEntry& entry) {
    entry.mainColorKept = false;
    const QColor color = mainColor(entry);
    if (!color.isValid() || color.alpha() != 255)
        return;
    entry.mainRed = static_cast<std::uint8_t>(color.red());
    entry.mainGreen = static_cast<std::uint8_t>(color.green());
    entry.mainBlue = static_cast<std::uint8_t>(color.blue());
    entry.mainColorKept = true;
}

bool CoarseMarks::takeAsDot(const SceneEntry& entry, const ViewTransform& view, QRgb color) {
    if (detailOf(entry, view.scale) != Detail::Dot)
        return false;
    m_dots[color].append(view.toScreen(entry.bounds.center()));
    return true;
}

bool CoarseMarks::takeAsBox(const SceneBlockRef& block, const ViewTransform& view,
                            const QColor& color) {
    const QRectF bounds = block.map.mapRect(block.block->bounds);
    if (detailOfPlaced(bounds, view.scale) != Detail::Box)
        return false;
    m_boxes[color.rgba()].append(
        QRectF(view.toScreen(bounds.topLeft()), view.toScreen(bounds.bottomRight())).normalized());
    return true;
}

// The baseline runs from the box's origin along the text's width, mirrored and turned with
// the text.
bool CoarseMarks::takeAsLine(const SceneText& text, const ViewTransform& view,
                             const QColor& color) {
    if (text.height * view.scale >= kSmallestReadableText)
        return false;
    double c = 1.0, s = 0.0;
    if (text.rotation != 0.0) {
        const double radians = text.rotation * std::numbers::pi / 180.0;
        c = std::cos(radians);
        s = std::sin(radians);
    }
    const double fx = text.backwards ? -1 : 1, fy = text.upsideDown ? -1 : 1;
    auto placed = [&](QPointF q) {
        q = QPointF(q.x() * fx, q.y() * fy);
        return text.anchor + QPointF(q.x() * c - q.y() * s, q.x() * s + q.y() * c);
    };
    const QPointF from = placed(text.boxOrigin);
    const QPointF to = placed(QPointF(text.boxOrigin) + QPointF(text.width, 0));
    m_lines[color.rgba()].append(QLineF(view.toScreen(from), view.toScreen(to)));
    return true;
}

void CoarseMarks::paint(QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
    for (const auto& [rgba, dots] : m_dots) {
        painter.setPen(QPen(QColor::fromRgba(rgba), 0));
        painter.drawPoints(dots);
    }
    // A block this small is mostly ink: its box is drawn filled.
    for (const auto& [rgba, boxes] : m_boxes) {
        painter.setPen(QPen(QColor::fromRgba(rgba), 0));
        painter.setBrush(QColor::fromRgba(rgba));
        painter.drawRects(boxes);
    }
    painter.setBrush(Qt::NoBrush);
    for (const auto& [rgba, lines] : m_lines) {
        painter.setPen(QPen(QColor::fromRgba(rgba), 0));
        painter.drawLines(lines);
    }
    m_dots.clear();
    m_boxes.clear();
    m_lines.clear();
}

} // namespace kalvex::drawing
