#pragma once

#include <QPainter>
#include <QLineF>
#include <unordered_map>
#include <unordered_set>

#include "drawing/view/BlockPictures.h"
#include "drawing/view/Scene.h"
#include "drawing/view/SceneDetail.h"
#include "drawing/view/ViewTransform.h"

namespace kalvex::drawing {

// Paints the entries of a scene that meet an area, each in as much detail as its size on
// screen is worth (see SceneDetail.h).
class ScenePainter {
public:
    ScenePainter(QPainter& painter, const ViewTransform& transform,
                 const std::unordered_set<RecordId>& highlighted);
    void paint(const Scene& scene, const QRectF& area);
    // Where pictures of blocks are kept from one paint to the next; without, blocks are drawn
    // shape by shape.
    void setBlockPictures(BlockPictures* pictures) { m_pictures = pictures; }

private:
    void paintEntry(const SceneEntry& entry);
    void paintShapes(const std::vector<SceneShape>& shapes, const SceneEntry& entry);
    void paintBlock(const SceneEntry& entry, const QColor& color);
    void paintText(const SceneText& text, const QColor& color);
    QColor shown(QColor color, const SceneEntry& entry) const;

    QPainter& m_painter;
    const ViewTransform& m_transform;
    const std::unordered_set<RecordId>& m_highlighted;

    QFont m_font;
    CoarseMarks m_coarse;
    BlockPictures* m_pictures = nullptr;
};

} // namespace kalvex::drawing
