#include "drawingwindow/SceneBuilder.h"

#include "drawingwindow/SceneDetail.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "drawing/cad/CadModel.h"
#include "drawing/entities/SimpleEntities.h"
#include "drawingwindow/AciColors.h"
#include "drawingwindow/SceneInk.h"
#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

namespace {

constexpr int kByBlock = 0;
constexpr int kByLayer = 256;
constexpr int kLineWeightByLayer = -1;
constexpr int kLineWeightByBlock = -2;
// Coordinates beyond this are damaged values, not drawing geometry.
constexpr double kFarthest = 1e12;

bool isSane(const QRectF& r) {
    return std::isfinite(r.left()) && std::isfinite(r.right()) && std::isfinite(r.top()) &&
           std::isfinite(r.bottom()) && std::abs(r.left()) < kFarthest &&
           std::abs(r.right()) < kFarthest && std::abs(r.top()) < kFarthest &&
           std::abs(r.bottom()) < kFarthest;
}

bool isInfinite(const SceneShape& shape) {
    return shape.kind == ShapeKind::Ray || shape.kind == ShapeKind::Xline;
}

} // namespace

SceneBuilder::SceneBuilder(const Drawing& drawing) : m_drawing(drawing) {
    m_defaultLayer.color = aciColor(7);
    reset();
}

void SceneBuilder::reset() {
    m_styles.read(m_drawing);
    m_layerOfRaw.clear();
    m_patterns.clear();
    m_blocks.clear();
    const auto& blocks = m_drawing.blocks();
    for (std::size_t i = 0; i < blocks.size(); ++i)
        m_blocks[foldCadName(BlockEntry::name(m_drawing, blocks[i].block))] = i;
    m_blockCost.assign(blocks.size(), -1.0);
    m_blockExtents.assign(blocks.size(), std::nullopt);
    m_extentsOpen.assign(blocks.size(), false);
    m_notes = {};
    m_sceneBudget = kMaxExpandedInScene;
    m_sharedBlocks.clear();
    m_strings.clear();
}

// Layer names are looked up by their bytes in the file, decoded once per distinct name.
const LayerLook& SceneBuilder::layerOf(std::string_view rawName) {
    const auto cached = m_layerOfRaw.find(std::string(rawName));
    if (cached != m_layerOfRaw.end())
        return *cached->second;
    const LayerLook* look = m_styles.layer(foldCadName(m_drawing.codec().decode(rawName)));
    if (!look)
        look = &m_defaultLayer;
    m_layerOfRaw.emplace(std::string(rawName), look);
    return *look;
}

// Inside a block, entities on layer "0" take the layer of the reference.
const LayerLook& SceneBuilder::effectiveLayer(const EntityFields& f, const Placement& at) {
    if (at.layer && (f.layer == "0" || f.layer.empty()))
        return *at.layer;
    return layerOf(f.layer);
}

SceneBuilder::Style SceneBuilder::styleOf(const EntityFields& f, const Placement& at) {
    const LayerLook& layer = effectiveLayer(f, at);
    Style style;
    if (f.trueColor >= 0 && f.color != kByBlock)
        style.color =
            QColor((f.trueColor >> 16) & 0xFF, (f.trueColor >> 8) & 0xFF, f.trueColor & 0xFF);
    else if (f.color == kByBlock)
        style.color = at.byBlock;
    else if (f.color == kByLayer || f.color < 0 || f.color > 255)
        style.color = layer.color;
    else
        style.color = aciColor(f.color);
    if (f.lineWeight == kLineWeightByLayer)
        style.lineWeight = layer.lineWeight;
    else if (f.lineWeight == kLineWeightByBlock)
        style.lineWeight = at.lineWeightByBlock;
    else
        style.lineWeight = std::max(0.0f, lineWeightOf(f.lineWeight));
    const std::string& lineType = m_styles.folded(f.lineType);
    if (lineType.empty() || lineType == "bylayer")
        style.lineType = layer.lineType;
    else if (lineType == "byblock")
        style.lineType = at.lineTypeByBlock;
    else
        style.lineType = lineType;
    return style;
}

SceneEntry SceneBuilder::build(RecordId id) {
    SceneEntry entry;
    entry.id = id;
    const EntityFields fields = EntityFields::read(m_drawing, id);
    const LayerLook& layer = layerOf(fields.layer);
    entry.locked = layer.locked;
    entry.live = !m_drawing.slot(id).erased && !layer.hidden;
    if (!entry.live)
        return entry;
    Placement top;
    top.byBlock = aciColor(7);
    m_budget = std::min(kMaxExpandedEntities, m_sceneBudget);
    const double before = m_budget;
    m_open.clear();
    if (!addBlockReference(id, fields, top, entry))
        addRecord(id, fields, top, entry.shapes);
    m_sceneBudget -= before - m_budget;
    for (const SceneShape& shape : entry.shapes) {
        entry.unbounded = entry.unbounded || isInfinite(shape);
        entry.bounds |=
            isInfinite(shape) ? QRectF(shape.points[0], QSizeF(1e-9, 1e-9)) : shapeBounds(shape);
    }
    if (entry.block && !entry.block->block->bounds.isNull())
        entry.bounds |= entry.block->map.mapRect(entry.block->block->bounds);
    entry.masks = holdsMask(entry.shapes) || (entry.block && holdsMask(entry.block->block->shapes));
    keepMainColor(entry);
    return entry;
}

// A single reference draws its block from the shared geometry; arrays, unknown blocks and
// blocks past the expansion budget are drawn by addInsert.
bool SceneBuilder::addBlockReference(RecordId id, const EntityFields& f, const Placement& at,
                                     SceneEntry& entry) {
    if (m_drawing.typeName(id) != "INSERT")
        return false;
    const std::size_t block = blockIndex(f.name);
    if (block >= m_drawing.blocks().size())
        return false;
    const ArrayLayout array = arrayOf(id, f);
    if (array.columns != 1 || array.rows != 1 ||
        blockCost(block) + m_drawing.slot(id).childCount > m_budget)
        return false;
    const Style style = styleOf(f, at);
    const Placement inner = innerPlacement(at, insertMap(f, block, {}), style, f);
    std::shared_ptr<const SceneBlock> geometry = sharedBlock(block, inner);
    if (!geometry)
        return false;
    entry.block = std::make_shared<SceneBlockRef>(SceneBlockRef{std::move(geometry), inner.map});
    addAttributes(id, ownerPlacement(at, style, f), entry.shapes);
    return true;
}

// Made in block coordinates with the placement's scale, so that linetypes and widths come
// out as they do for a block expanded in place.
std::shared_ptr<const SceneBlock> SceneBuilder::sharedBlock(std::size_t block,
                                                            const Placement& placed) {
    const SharedKey key{
        block,        placed.byBlock.rgba(), placed.lineWeightByBlock, placed.lineTypeByBlock,
        placed.layer, placed.scale};
    const auto found = m_sharedBlocks.find(key);
    if (found != m_sharedBlocks.end())
        return found->second;
    Placement inner = placed;
    inner.map = QTransform();
    auto geometry = std::make_shared<SceneBlock>();
    // Shared geometry may outlive the entries (block pictures keep it): strings of its own.
    const bool entryStrings = std::exchange(m_entryStrings, false);
    expandBlock(block, inner, geometry->shapes);
    m_entryStrings = entryStrings;
    const bool holdsRays = std::any_of(geometry->shapes.begin(), geometry->shapes.end(),
                                       [](const SceneShape& shape) { return isInfinite(shape); });
    if (!holdsRays) {
        geometry->bounds = shapeBounds(geometry->shapes);
        geometry->ink = inkOf(geometry->shapes);
    }
    auto& stored = m_sharedBlocks[key];
    stored = holdsRays ? nullptr : std::move(geometry);
    return stored;
}

void SceneBuilder::addRecord(RecordId id, const EntityFields& f, const Placement& at,
                             std::vector<SceneShape>& out) {
    const Style style = styleOf(f, at);
    const std::string_view type = m_drawing.typeName(id);
    if (type == "INSERT")
        return addInsert(id, f, at, style, out);
    if (isBlockPicture(type))
        return addDimension(id, f, at, style, out);
    if (type == "ACAD_TABLE")
        return addTable(id, at, style, out);
    addShapes(id, f, at, style, out);
    if (type == "MULTILEADER" || type == "MLEADER")
        addLeaderBlock(id, f, at, style, out);
}

void SceneBuilder::addShapes(RecordId id, const EntityFields& f, const Placement& at,
                             const Style& style, std::vector<SceneShape>& out) {
    const std::string_view type = m_drawing.typeName(id);
    const ShapeReader reader = shapeReaderFor(type);
    if (!reader) {
        if (isUndrawnKind(type))
            m_notes.undrawnKinds.emplace(type);
        return;
    }
    addShapesBy(reader, id, f, at, style, out);
}

void SceneBuilder::addShapesBy(ShapeReader reader, RecordId id, const EntityFields& f,
                               const Placement& at, const Style& style,
                               std::vector<SceneShape>& out) {
    m_budget -= 1;
    // One list reused for every entity rather than one made and freed for each.
    std::vector<SceneShape>& local = m_readShapes;
    local.clear();
    reader(EntityInput{m_drawing, id, f, m_styles, m_entryStrings ? &m_strings : nullptr}, local);
    // An image without a size or placement draws nothing; the user is told of it.
    if (local.empty() && m_drawing.typeName(id) == "IMAGE")
        m_notes.undrawnKinds.emplace("IMAGE");
    const auto pattern = patternFor(style.lineType, f.lineTypeScale * at.scale);
    // An entity's own list gets room for all at once (grown by doubling it would keep up to
    // twice the room it uses); a list that gathers many entities grows as lists do.
    if (out.empty())
        out.reserve(local.size());
    for (SceneShape& shape : local) {
        finishShape(shape, style, at, pattern);
        if (isInfinite(shape) ? shape.points.size() == 2 : isSane(shapeBounds(shape)))
            out.push_back(std::move(shape));
    }
}

void SceneBuilder::finishShape(SceneShape& shape, const Style& style, const Placement& at,
                               const std::shared_ptr<const LinePattern>& pattern) {
    if (!shape.color.isValid())
        shape.color = style.color;
    shape.lineWeight = style.lineWeight;
    shape.width *= static_cast<float>(at.scale);
    if (shape.kind == ShapeKind::Polyline)
        shape.pattern = pattern;
    transformShape(shape, at.map);
}

// Linetype lengths grow with $LTSCALE, the entity's own scale and the references it lies in.
std::shared_ptr<const LinePattern> SceneBuilder::patternFor(const std::string& lineType,
                                                            double scale) {
    const LinePattern* pattern = m_styles.lineType(lineType);
    if (!pattern)
        return nullptr;
    const double total = scale * m_styles.lineTypeScale();
    auto& cached = m_patterns[{lineType, total}];
    if (!cached) {
        auto scaled = std::make_shared<LinePattern>(*pattern);
        for (double& length : scaled->lengths)
            length *= total;
        scaled->total *= std::abs(total);
        cached = std::move(scaled);
    }
    return cached;
}

SceneBuilder::Placement SceneBuilder::innerPlacement(const Placement& at, const QTransform& local,
                                                     const Style& style, const EntityFields& f) {
    Placement inner;
    inner.map = local * at.map;
    inner.scale = std::sqrt(std::abs(inner.map.determinant()));
    inner.byBlock = style.color;
    inner.lineWeightByBlock = style.lineWeight;
    inner.lineTypeByBlock = style.lineType;
    inner.layer = &effectiveLayer(f, at);
    inner.depth = at.depth + 1;
    return inner;
}

void SceneBuilder::addInsert(RecordId id, const EntityFields& f, const Placement& at,
                             const Style& style, std::vector<SceneShape>& out) {
    const std::size_t block = blockIndex(f.name);
    if (block >= m_drawing.blocks().size() || isOpen(block)) {
        if (block < m_drawing.blocks().size())
            noteSelfReference(block);
        return addAttributes(id, ownerPlacement(at, style, f), out);
    }
    const ArrayLayout array = arrayOf(id, f);
    const double cells = static_cast<double>(array.columns) * array.rows;
    if ((blockCost(block) + m_drawing.slot(id).childCount) * cells > m_budget) {
        addBox(arrayExtents(block, array, f), insertMap(f, block, {}) * at.map, style, out);
        return addAttributes(id, ownerPlacement(at, style, f), out);
    }
    for (int row = 0; row < array.rows; ++row)
        for (int column = 0; column < array.columns; ++column)
            addCell(id, f, block, QPointF(column * array.columnSpacing, row * array.rowSpacing), at,
                    style, out);
}

// One cell of a reference: the block, and the attributes, which repeat in every cell of an
// array as they lie in the first.
void SceneBuilder::addCell(RecordId id, const EntityFields& f, std::size_t block, QPointF cell,
                           const Placement& at, const Style& style, std::vector<SceneShape>& out) {
    const QTransform local = insertMap(f, block, cell);
    expandBlock(block, innerPlacement(at, local, style, f), out);
    const QPointF shift = local.map(QPointF()) - insertMap(f, block, {}).map(QPointF());
    Placement shifted = ownerPlacement(at, style, f);
    shifted.map = QTransform::fromTranslate(shift.x(), shift.y()) * at.map;
    addAttributes(id, shifted, out);
}

void SceneBuilder::noteSelfReference(std::size_t block) {
    m_notes.selfReferencingBlocks.insert(
        BlockEntry::name(m_drawing, m_drawing.blocks()[block].block));
}

// A dimension's picture is its anonymous block, drawn where it lies. A dimension without
// its block (some programs write none) is built from its definition points.
void SceneBuilder::addDimension(RecordId id, const EntityFields& f, const Placement& at,
                                const Style& style, std::vector<SceneShape>& out) {
    const std::size_t block = blockIndex(f.name);
    if (block >= m_drawing.blocks().size())
        return addShapesBy(dimensionShapes, id, f, at, style, out);
    if (isOpen(block))
        return noteSelfReference(block);
    if (blockCost(block) > m_budget)
        return addBox(blockExtents(block), at.map, style, out);
    expandBlock(block, innerPlacement(at, QTransform(), style, f), out);
}

void SceneBuilder::expandBlock(std::size_t block, const Placement& inner,
                               std::vector<SceneShape>& out) {
    m_open.push_back(block);
    for (RecordId item : m_drawing.blocks()[block].items) {
        if (m_drawing.slot(item).erased || m_drawing.slot(item).kind == RecordKind::Attdef ||
            m_drawing.slot(item).parent != kNoRecord)
            continue;
        const EntityFields fields = EntityFields::read(m_drawing, item);
        if (!effectiveLayer(fields, inner).hidden)
            addRecord(item, fields, inner, out);
    }
    m_open.pop_back();
}

// Attributes lie in the coordinates the reference itself lies in, and are drawn as part of
// it: on layer "0" they take the reference's layer, BYBLOCK the reference's colour,
// lineweight and linetype, as the entities of its block do.
SceneBuilder::Placement SceneBuilder::ownerPlacement(const Placement& at, const Style& style,
                                                     const EntityFields& f) {
    Placement owner = innerPlacement(at, QTransform(), style, f);
    owner.map = at.map;
    owner.scale = at.scale;
    owner.depth = at.depth;
    return owner;
}

void SceneBuilder::addAttributes(RecordId insert, const Placement& at,
                                 std::vector<SceneShape>& out) {
    const std::uint32_t children = m_drawing.slot(insert).childCount;
    // A reference's own list gets room for one line per attribute at once (what most
    // attributes draw), rather than room for four made while three are added.
    if (out.empty()) {
        std::size_t attributes = 0;
        for (std::uint32_t k = 1; k <= children && insert + k < m_drawing.recordCount(); ++k)
            attributes += m_drawing.slot(insert + k).kind == RecordKind::Attrib;
        out.reserve(attributes);
    }
    for (std::uint32_t k = 1; k <= children && insert + k < m_drawing.recordCount(); ++k) {
        const RecordSlot& child = m_drawing.slot(insert + k);
        if (child.kind != RecordKind::Attrib || child.erased)
            continue;
        const EntityFields f = EntityFields::read(m_drawing, insert + k);
        if (!effectiveLayer(f, at).hidden)
            addShapes(insert + k, f, at, styleOf(f, at), out);
    }
}

void SceneBuilder::addBox(const QRectF& local, const QTransform& map, const Style& style,
                          std::vector<SceneShape>& out) {
    if (local.isNull())
        return;
    SceneShape box = pathShape(
        {local.topLeft(), local.topRight(), local.bottomRight(), local.bottomLeft()}, true);
    box.color = style.color;
    transformShape(box, map);
    if (isSane(shapeBounds(box)))
        out.push_back(std::move(box));
}

} // namespace kalvex::drawing
