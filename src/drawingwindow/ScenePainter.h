#pragma once

#include <QHash>
#include <QLineF>
#include <QPainter>
#include <unordered_map>
#include <unordered_set>

#include "drawingwindow/BlockPictures.h"
#include "drawingwindow/Scene.h"
#include "drawingwindow/SceneDetail.h"
#include "drawingwindow/ViewTransform.h"

namespace kalvex::drawing {

// Paints the entries of a scene that meet an area, in drawing order, one function per kind
// of shape, each entity in as much detail as its size on screen is worth (SceneDetail.h).
class ScenePainter {
public:
    ScenePainter(QPainter& painter, const ViewTransform& transform,
                 const std::unordered_set<RecordId>& highlighted);
    void paint(const Scene& scene, const QRectF& area);
    // The colour masking shapes (WIPEOUT) paint with: the background of the area.
    void setBackground(const QColor& color) { m_background = color; }
    // Where pictures of blocks are kept from one paint to the next; without, blocks are drawn
    // shape by shape.
    void setBlockPictures(BlockPictures* pictures) { m_pictures = pictures; }

    static const QColor kBackground;
    static constexpr int kLockedAlpha = 90; // entries on locked layers are drawn faded

private:
    void paintEntry(const SceneEntry& entry);
    void paintShapes(const std::vector<SceneShape>& shapes, const SceneEntry& entry);
    void paintBlock(const SceneEntry& entry, const QColor& color);
    void paintPolyline(const SceneShape& shape, const QColor& color, bool highlighted);
    void paintSegments(const SceneShape& shape, const QColor& color);
    void paintArea(const SceneShape& shape, const QColor& color);
    void paintPoint(const SceneShape& shape, const QColor& color);
    void paintInfiniteLine(const SceneShape& shape, const QColor& color);
    void paintText(const SceneText& text, const QColor& color);
    QPen penFor(const SceneShape& shape, const QColor& color) const;
    QColor shown(QColor color, const SceneEntry& entry) const;
    QRgb dotColor(const SceneEntry& entry) const;
    QFont& fontFor(const SceneText& text);
    double stretchToBox(const SceneText& text, const QString& glyphs, const QFont& font,
                        double grow) const;

    QPainter& m_painter;
    const ViewTransform& m_transform;
    const std::unordered_set<RecordId>& m_highlighted;
    QRectF m_area;
    QColor m_background = kBackground;
    QHash<QString, QFont> m_fonts;
    CoarseMarks m_coarse;
    BlockPictures* m_pictures = nullptr;
};

} // namespace kalvex::drawing
