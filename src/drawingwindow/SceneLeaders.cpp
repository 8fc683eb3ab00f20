#include <QTransform>
#include <cmath>

#include "drawingwindow/SceneBuilder.h"
#include "drawingwindow/render/MultiLeader.h"

namespace kalvex::drawing {

namespace {

constexpr int kBlockContent = 1;

std::optional<RecordId> byHandle(const Drawing& drawing, std::string_view handle) {
    return handle.empty() ? std::nullopt : drawing.findHandle(trimmedNumber(handle));
}

} // namespace

// A multileader whose content is a block draws the block at its place, scale and rotation,
// with the values of its attributes in place of their definitions.
void SceneBuilder::addLeaderBlock(RecordId id, const EntityFields& f, const Placement& at,
                                  const Style& style, std::vector<SceneShape>& out) {
    const MultiLeader m = readMultiLeader(EntityTags(m_drawing, id));
    const auto record = byHandle(m_drawing, m.blockHandle);
    if (m.contentType != kBlockContent || !record)
        return;
    const std::size_t block = blockIndex(EntityTags(m_drawing, *record).textOf(2));
    if (block >= m_drawing.blocks().size() || isOpen(block))
        return;
    const QPointF base = EntityTags(m_drawing, m_drawing.blocks()[block].block).pointOf(10);
    QTransform local = QTransform::fromTranslate(-base.x(), -base.y());
    local *= QTransform::fromScale(m.blockScale.x(), m.blockScale.y());
    local *= QTransform().rotateRadians(m.blockRotation);
    local *= QTransform::fromTranslate(m.blockInsert.x(), m.blockInsert.y());
    if (blockCost(block) > m_budget)
        return addBox(blockExtents(block), local * at.map, style, out);
    const Placement inner = innerPlacement(at, local, style, f);
    expandBlock(block, inner, out);
    for (const MultiLeader::Attribute& attribute : m.attributes) {
        const auto attdef = byHandle(m_drawing, attribute.attdefHandle);
        if (!attdef || m_drawing.slot(*attdef).kind != RecordKind::Attdef)
            continue;
        const EntityFields def = EntityFields::read(m_drawing, *attdef);
        const auto& textStyle = m_styles.textStyle(m_styles.folded(def.style));
        SceneShape text = textShapeOf(
            singleLineText(def, m_drawing.codec().decode(attribute.text), textStyle.family));
        transformShape(text, ocsToWorld({def.ex, def.ey, def.ez}));
        finishShape(text, styleOf(def, inner), inner, nullptr);
        out.push_back(std::move(text));
    }
}

} // namespace kalvex::drawing
