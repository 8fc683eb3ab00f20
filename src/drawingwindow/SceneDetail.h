#pragma once

#include <QColor>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <utility>
#include <vector>

#include "drawingwindow/SceneItems.h"
#include "drawingwindow/ViewTransform.h"

namespace kalvex::drawing {

// How much of an entity is worth drawing at the zoom shown: an entity smaller than a pixel or
// two as a dot of its colour, the block of a reference a few pixels across as the box around
// it (its attributes are drawn as texts are), a text too small to read as a line along its
// baseline, anything larger in full. Whole drawings of hundreds of thousands of entities paint
// quickly this way and still show where everything is.
enum class Detail { Dot, Box, Full };
Detail detailOf(const SceneEntry& entry, double pixelsPerUnit);
Detail detailOf(const SceneBlockRef& block, double pixelsPerUnit);

// The colour an entity is mostly drawn in: its block's first shape's, else its own first.
QColor mainColor(const SceneEntry& entry);
// Keeps the entry's main colour beside its flags when it is opaque; made once the entry's
// shapes are complete.
void keepMainColor(SceneEntry& entry);

// Things to draw gathered per colour. Drawings use few colours, so a short list searched from
// the colour met last finds a colour quicker than a hash would.
template <typename List> class ColorBatches {
public:
    List& operator[](QRgb color) {
        if (m_last < m_batches.size() && m_batches[m_last].first == color)
            return m_batches[m_last].second;
        for (m_last = 0; m_last < m_batches.size(); ++m_last)
            if (m_batches[m_last].first == color)
                return m_batches[m_last].second;
        return m_batches.emplace_back(color, List()).second;
    }
    auto begin() const { return m_batches.begin(); }
    auto end() const { return m_batches.end(); }
    void clear() { m_batches.clear(); }

private:
    std::vector<std::pair<QRgb, List>> m_batches;
    std::size_t m_last = 0;
};

// Dots and boxes of entities drawn in little detail, gathered during a paint and drawn at its
// end in one call per colour.
class CoarseMarks {
public:
    // Takes the entry as a dot, or the block as a box, when small enough on screen; false when
    // it is to be drawn in full.
    bool takeAsDot(const SceneEntry& entry, const ViewTransform& view, QRgb color);
    bool takeAsBox(const SceneBlockRef& block, const ViewTransform& view, const QColor& color);
    bool takeAsLine(const SceneText& text, const ViewTransform& view, const QColor& color);
    void paint(QPainter& painter);

private:
    ColorBatches<QPolygonF> m_dots;
    ColorBatches<QList<QRectF>> m_boxes;
    ColorBatches<QList<QLineF>> m_lines;
};

} // namespace kalvex::drawing
