#include <QTransform>

#include "drawingwindow/SceneBuilder.h"
#include "drawingwindow/render/EntityTags.h"

namespace kalvex::drawing {

// A table's picture is its anonymous block (grid lines and cell texts), placed at the table's
// insertion point. A table without its block is not drawn, and the user is told.
void SceneBuilder::addTable(RecordId id, const Placement& at, const Style& style,
                            std::vector<SceneShape>& out) {
    const EntityTags tags(m_drawing, id);
    const std::size_t block = blockIndex(tags.textOf(2));
    if (block >= m_drawing.blocks().size()) {
        m_notes.undrawnKinds.emplace("ACAD_TABLE");
        return;
    }
    if (isOpen(block))
        return noteSelfReference(block);
    const QPointF base = EntityTags(m_drawing, m_drawing.blocks()[block].block).pointOf(10);
    const QPointF insert = tags.pointOf(10);
    const QTransform local =
        QTransform::fromTranslate(insert.x() - base.x(), insert.y() - base.y());
    if (blockCost(block) > m_budget)
        return addBox(blockExtents(block), local * at.map, style, out);
    const EntityFields fields = EntityFields::read(m_drawing, id);
    expandBlock(block, innerPlacement(at, local, style, fields), out);
}

} // namespace kalvex::drawing
