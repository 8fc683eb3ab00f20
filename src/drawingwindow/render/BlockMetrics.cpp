// The parts of SceneBuilder that measure blocks: which block a name means, how many
// entities a reference expands to, and where a block's geometry lies.
#include <algorithm>

#include "drawing/cad/CadModel.h"
#include "drawingwindow/SceneBuilder.h"
#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

namespace {

constexpr int kMaxArraySide = 32767;
constexpr double kCountLimit = 1e18;
constexpr double kCounting = -2.0;

QRectF mappedBounds(const QRectF& rect, const QTransform& map) {
    return rect.isNull() ? QRectF() : map.mapRect(rect);
}

} // namespace

std::size_t SceneBuilder::blockIndex(std::string_view rawName) const {
    const auto found = m_blocks.find(foldCadName(m_drawing.codec().decode(rawName)));
    return found == m_blocks.end() ? m_drawing.blocks().size() : found->second;
}

bool SceneBuilder::isOpen(std::size_t block) const {
    return std::find(m_open.begin(), m_open.end(), block) != m_open.end();
}

// An INSERT with column and row counts (written as an INSERT, shown as MINSERT) repeats
// its block at the spacings, in the reference's rotated frame.
SceneBuilder::ArrayLayout SceneBuilder::arrayOf(RecordId insert, const EntityFields& f) const {
    ArrayLayout array;
    array.columns = std::clamp(f.flags, 1, kMaxArraySide);
    array.rows = std::clamp(f.code71, 1, kMaxArraySide);
    if (array.columns > 1 || array.rows > 1) {
        const EntityTags tags(m_drawing, insert);
        array.columnSpacing = tags.realOf(44);
        array.rowSpacing = tags.realOf(45);
    }
    return array;
}

// Block coordinates to the coordinates the reference lies in: less the base point, scaled,
// moved by the array cell, rotated, moved to the insertion point, out of the OCS.
QTransform SceneBuilder::insertMap(const EntityFields& f, std::size_t block, QPointF cell) const {
    const RecordId record = m_drawing.blocks()[block].block;
    const QPointF base = EntityTags(m_drawing, record).pointOf(10);
    QTransform rotation;
    rotation.rotate(std::isfinite(f.angle) ? f.angle : 0.0);
    return QTransform::fromTranslate(-base.x(), -base.y()) *
           QTransform::fromScale(f.scaleX, f.scaleY) *
           QTransform::fromTranslate(cell.x(), cell.y()) * rotation *
           QTransform::fromTranslate(f.x, f.y) * ocsToWorld({f.ex, f.ey, f.ez});
}

// How many entities one reference of the block expands to; a block met again while it is
// being counted adds nothing, as it is never expanded inside itself.
double SceneBuilder::blockCost(std::size_t block) {
    double& cost = m_blockCost[block];
    if (cost == kCounting)
        return 0.0;
    if (cost >= 0)
        return cost;
    cost = kCounting;
    double total = 0;
    for (RecordId item : m_drawing.blocks()[block].items) {
        const std::string_view type = m_drawing.typeName(item);
        double itemCost = 1;
        if (type == "INSERT" || isBlockPicture(type)) {
            const EntityFields f = EntityFields::read(m_drawing, item);
            const std::size_t child = blockIndex(f.name);
            const ArrayLayout array = type == "INSERT" ? arrayOf(item, f) : ArrayLayout{};
            itemCost =
                1 +
                (child < m_blockCost.size() ? blockCost(child) * array.columns * array.rows : 0.0);
        }
        total = std::min(kCountLimit, total + itemCost);
    }
    m_blockCost[block] = total;
    return total;
}

QRectF SceneBuilder::blockExtents(std::size_t block) {
    if (m_blockExtents[block])
        return *m_blockExtents[block];
    if (m_extentsOpen[block])
        return {};
    m_extentsOpen[block] = true;
    QRectF extents;
    for (RecordId item : m_drawing.blocks()[block].items)
        if (!m_drawing.slot(item).erased && m_drawing.slot(item).kind != RecordKind::Attdef)
            extents |= itemExtents(item);
    m_extentsOpen[block] = false;
    m_blockExtents[block] = extents;
    return extents;
}

// The extents of every cell of a reference in block coordinates; the cell spacing applies
// after the scale, so it is divided by it here.
QRectF SceneBuilder::arrayExtents(std::size_t block, const ArrayLayout& array,
                                  const EntityFields& f) {
    const QRectF extents = blockExtents(block);
    const double sx = f.scaleX != 0 ? f.scaleX : 1.0, sy = f.scaleY != 0 ? f.scaleY : 1.0;
    const QPointF last((array.columns - 1) * array.columnSpacing / sx,
                       (array.rows - 1) * array.rowSpacing / sy);
    return extents.united(extents.translated(last));
}

QRectF SceneBuilder::itemExtents(RecordId item) {
    const EntityFields f = EntityFields::read(m_drawing, item);
    const std::string_view type = m_drawing.typeName(item);
    if (type == "INSERT" || isBlockPicture(type)) {
        const std::size_t child = blockIndex(f.name);
        if (child >= m_blockExtents.size() && !isBlockPicture(type))
            return {};
        if (child >= m_blockExtents.size())
            return readerExtents(dimensionShapes, item, f);
        if (isBlockPicture(type))
            return blockExtents(child);
        return mappedBounds(arrayExtents(child, arrayOf(item, f), f), insertMap(f, child, {}));
    }
    const ShapeReader reader = shapeReaderFor(type);
    return reader ? readerExtents(reader, item, f) : QRectF();
}

QRectF SceneBuilder::readerExtents(ShapeReader reader, RecordId item, const EntityFields& f) {
    std::vector<SceneShape> shapes;
    reader(EntityInput{m_drawing, item, f, m_styles}, shapes);
    QRectF bounds;
    for (const SceneShape& shape : shapes)
        if (shape.kind != ShapeKind::Ray && shape.kind != ShapeKind::Xline)
            bounds |= shapeBounds(shape);
    return bounds;
}

} // namespace kalvex::drawing
