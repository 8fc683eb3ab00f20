#pragma once

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <unordered_map>

#include "drawing/view/SceneItems.h"
#include "drawing/view/ViewTransform.h"

namespace kalvex::drawing {

// How much of an entity is worth drawing at the zoom shown: an entity smaller than a pixel or
// two as a dot of its colour, the block of a reference a few pixels across as the box around
// it (its attributes are drawn as texts are), anything larger in full. Whole drawings of
// hundreds of thousands of entities paint quickly this way and still show where everything is.
enum class Detail { Dot, Box, Full };
Detail detailOf(const SceneEntry& entry, double pixelsPerUnit);
Detail detailOf(const SceneBlockRef& block, double pixelsPerUnit);

// The colour an entity is mostly drawn in: its block's first shape's, else its own first.
QColor mainColor(const SceneEntry& entry);

// Dots and boxes of entities drawn in little detail, gathered during a paint and drawn at its
// end in one call per colour.
class CoarseMarks {
public:
    // Takes the entry as a dot, or the block as a box, when small enough on screen; false when
    // it is to be drawn in full.
    bool takeAsDot(const SceneEntry& entry, const ViewTransform& view, const QColor& color);
    bool takeAsBox(const SceneBlockRef& block, const ViewTransform& view, const QColor& color);
    void paint(QPainter& painter);

private:
    std::unordered_map<QRgb, QPolygonF> m_dots;
    std::unordered_map<QRgb, QList<QRectF>> m_boxes;
};

} // namespace kalvex::drawing
