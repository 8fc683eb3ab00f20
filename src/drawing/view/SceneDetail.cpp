#include "drawing/view/SceneDetail.h"

#include <algorithm>

namespace kalvex::drawing {

namespace {
constexpr double kDotPixels = 1.5;
constexpr double kBoxPixels = 6.0;

double longerSide(const QRectF& r) {
    return std::max(r.width(), r.height());
}

} // namespace

Detail detailOf(const SceneEntry& entry, double pixelsPerUnit) {
    return longerSide(entry.bounds) * pixelsPerUnit < kDotPixels ? Detail::Dot : Detail::Full;
}

Detail detailOf(const SceneBlockRef& block, double pixelsPerUnit) {
    const double side =
        longerSide(placedRect(block.block->bounds, block.placement)) * pixelsPerUnit;
    return side < kBoxPixels ? Detail::Box : Detail::Full;
}

QColor mainColor(const SceneEntry& entry) {
    if (entry.block && !entry.block->block->shapes.empty())
        return entry.block->block->shapes.front().color;
    return entry.shapes.empty() ? QColor() : entry.shapes.front().color;
}

bool CoarseMarks::takeAsDot(const SceneEntry& entry, const ViewTransform& view,
                            const QColor& color) {
    if (detailOf(entry, view.scale) != Detail::Dot)
        return false;
    m_dots[color.rgba()].append(view.toScreen(entry.bounds.center()));
    return true;
}

bool CoarseMarks::takeAsBox(const SceneBlockRef& block, const ViewTransform& view,
                            const QColor& color) {
    if (detailOf(block, view.scale) != Detail::Box)
        return false;
    const QRectF bounds = placedRect(block.block->bounds, block.placement);
    m_boxes[color.rgba()].append(
        QRectF(view.toScreen(bounds.topLeft()), view.toScreen(bounds.bottomRight())).normalized());
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
    m_dots.clear();
    m_boxes.clear();
}

} // namespace kalvex::drawing
