#include "drawing/view/SceneBuilder.h"

#include <cmath>

#include "drawing/cad/CadModel.h"
#include "drawing/entities/RecordView.h"
#include "drawing/view/EntityFields.h"
#include "drawing/entities/SimpleEntities.h"
#include "drawing/view/AciColors.h"
#include "drawing/view/SceneInk.h"
#include "drawing/view/TextLayout.h"

namespace kalvex::drawing {

namespace {

constexpr int kMaxBlockDepth = 8;
constexpr int kArcSegmentsPerCircle = 64;
constexpr int kByBlock = 0;
constexpr int kByLayer = 256;

QPointF xy(const RecordView& view, std::int16_t code) {
    const cad::CadPoint p = view.point(code);
    return {p.x(), p.y()};
}

std::vector<QPointF> arcPoints(QPointF centre, double radius, double fromDeg, double toDeg) {
    while (toDeg <= fromDeg)
        toDeg += 360.0;
    const int segments =
        std::max(4, static_cast<int>(kArcSegmentsPerCircle * (toDeg - fromDeg) / 360.0));
    std::vector<QPointF> points;
    for (int i = 0; i <= segments; ++i) {
        const double a = (fromDeg + (toDeg - fromDeg) * i / segments) * M_PI / 180.0;
        points.emplace_back(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
    }
    return points;
}

std::vector<QPointF> lwpolylinePoints(const Drawing& drawing, const RecordView& view) {
    std::vector<QPointF> points;
    for (const dxf::Tag& tag : view.tags()) {
        const auto value = RecordView::parseReal(drawing.value(tag)).value_or(0.0);
        if (tag.code == 10)
            points.emplace_back(value, 0.0);
        else if (tag.code == 20 && !points.empty())
            points.back().setY(value);
    }
    return points;
}

std::vector<QPointF> vertexPoints(const Drawing& drawing, RecordId polyline) {
    std::vector<QPointF> points;
    const std::uint32_t children = drawing.slot(polyline).childCount;
    for (std::uint32_t k = 1; k <= children && polyline + k < drawing.recordCount(); ++k) {
        if (drawing.slot(polyline + k).kind == RecordKind::Vertex)
            points.push_back(xy(RecordView(drawing, polyline + k), 10));
    }
    return points;
}

SceneShape polylineShape(std::vector<QPointF> points, bool closed) {
    SceneShape shape;
    shape.points = std::move(points);
    shape.closed = closed;
    return shape;
}

SceneShape textShape(const EntityFields& f, const std::string& text) {
    SceneShape shape;
    shape.isText = true;
    SceneText& t = shape.text;
    t.text = displayText(text);
    t.height = std::abs(f.height);
    t.rotation = f.angle;
    t.widthFactor = f.scaleX > 0 ? f.scaleX : 1.0;
    // Aligned and fit texts run from the insertion point; the others that are not left on the
    // baseline hang on the alignment point.
    const bool byAlignmentPoint = (f.horizontal != 0 || f.vertical != 0) && f.horizontal != 3 &&
                                  f.horizontal != 5;
    t.anchor = byAlignmentPoint ? QPointF(f.x2, f.y2) : QPointF(f.x, f.y);
    t.width = estimatedWidth(t.text) * t.height * t.widthFactor;
    t.boxOrigin = textBoxOrigin(t.width, t.height, f.horizontal, f.vertical);
    return shape;
}

} // namespace

SceneBuilder::SceneBuilder(const Drawing& drawing) : m_drawing(drawing) {
    m_defaultLayer.color = aciColor(7);
    reset();
}

void SceneBuilder::reset() {
    m_layers.clear();
    m_layerOfRaw.clear();
    for (RecordId id : m_drawing.layers()) {
        const RecordView view(m_drawing, id);
        const int color = view.integer(62, 7);
        LayerLook look{aciColor(std::abs(color)), color < 0 || (view.integer(70) & 1) != 0,
                       (view.integer(70) & 4) != 0};
        m_layers[foldCadName(LayerEntry::name(m_drawing, id))] = look;
    }
    m_blocks.clear();
    m_sharedBlocks.clear();
    const auto& blocks = m_drawing.blocks();
    for (std::size_t i = 0; i < blocks.size(); ++i)
        m_blocks[foldCadName(BlockEntry::name(m_drawing, blocks[i].block))] = i;
}

// Layer names are looked up by their bytes in the file, decoded once per distinct name.
const LayerLook& SceneBuilder::layerOf(std::string_view rawName) {
    const auto cached = m_layerOfRaw.find(std::string(rawName));
    if (cached != m_layerOfRaw.end())
        return *cached->second;
    const auto found = m_layers.find(foldCadName(m_drawing.codec().decode(rawName)));
    const LayerLook* look = found == m_layers.end() ? &m_defaultLayer : &found->second;
    m_layerOfRaw.emplace(std::string(rawName), look);
    return *look;
}

QColor SceneBuilder::colorOf(const EntityFields& f, const Placement& at) {
    if (f.color == kByBlock)
        return at.byBlock;
    if (f.color == kByLayer || f.color < 0 || f.color > 255)
        return layerOf(f.layer).color;
    return aciColor(f.color);
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
    if (!addBlockReference(id, fields, top, entry))
        addRecord(id, fields, top, entry.shapes);
    entry.bounds = boundsOf(entry.shapes);
    if (entry.block && entry.block->block->bounds.isValid())
        entry.bounds |= placedRect(entry.block->block->bounds, entry.block->placement);
    return entry;
}

// A reference of model space draws its block from geometry made once per block and colour.
// Arrays of the block (column or row counts) are drawn shape by shape.
bool SceneBuilder::addBlockReference(RecordId id, const EntityFields& f, const Placement& at,
                                     SceneEntry& entry) {
    if (m_drawing.typeName(id) != "INSERT")
        return false;
    const RecordView view(m_drawing, id);
    if (view.integer(70, 1) > 1 || view.integer(71, 1) > 1)
        return false;
    const auto block = m_blocks.find(foldCadName(m_drawing.codec().decode(f.name)));
    if (block == m_blocks.end() || block->second >= m_drawing.blocks().size())
        return false;
    auto reference = std::make_shared<SceneBlockRef>();
    reference->block = sharedBlock(block->second, colorOf(f, at));
    reference->placement.base =
        xy(RecordView(m_drawing, m_drawing.blocks()[block->second].block), 10);
    reference->placement.origin = QPointF(f.x, f.y);
    reference->placement.scaleX = f.scaleX;
    reference->placement.scaleY = f.scaleY;
    reference->placement.rotation = f.angle;
    entry.block = std::move(reference);
    addAttributes(id, at, entry.shapes);
    return true;
}

std::shared_ptr<const SceneBlock> SceneBuilder::sharedBlock(std::size_t index,
                                                            const QColor& byBlock) {
    std::shared_ptr<const SceneBlock>& cached = m_sharedBlocks[{index, byBlock.rgba()}];
    if (cached)
        return cached;
    auto block = std::make_shared<SceneBlock>();
    Placement inner;
    inner.byBlock = byBlock;
    inner.depth = 1;
    for (RecordId item : m_drawing.blocks()[index].items) {
        if (!m_drawing.slot(item).erased && m_drawing.typeName(item) != "ATTDEF")
            addRecord(item, EntityFields::read(m_drawing, item), inner, block->shapes);
    }
    block->bounds = boundsOf(block->shapes);
    block->ink = inkOf(block->shapes);
    cached = std::move(block);
    return cached;
}

std::vector<SceneShape> SceneBuilder::localShapes(RecordId id, const EntityFields& f) {
    const std::string_view type = m_drawing.typeName(id);
    const QPointF p1(f.x, f.y);
    if (type == "TEXT")
        return {textShape(f, m_drawing.codec().decode(f.text))};
    if (type == "LINE")
        return {polylineShape({p1, QPointF(f.x2, f.y2)}, false)};
    if (type == "LWPOLYLINE")
        return {polylineShape(lwpolylinePoints(m_drawing, RecordView(m_drawing, id)), f.flags & 1)};
    if (type == "POLYLINE")
        return {polylineShape(vertexPoints(m_drawing, id), f.flags & 1)};
    if (type == "CIRCLE")
        return {polylineShape(arcPoints(p1, f.height, 0, 360), true)};
    if (type == "ARC")
        return {polylineShape(arcPoints(p1, f.height, f.angle, f.angle2), false)};
    return {};
}

void SceneBuilder::addRecord(RecordId id, const EntityFields& f, const Placement& at,
                             std::vector<SceneShape>& out) {
    const QColor color = colorOf(f, at);
    if (m_drawing.typeName(id) == "INSERT")
        return addInsert(id, f, at, color, out);
    for (SceneShape& shape : localShapes(id, f)) {
        shape.color = color;
        place(shape, at);
        out.push_back(std::move(shape));
    }
}

void SceneBuilder::place(SceneShape& shape, const Placement& at) {
    shape = placedShape(std::move(shape), at);
}

void SceneBuilder::addInsert(RecordId id, const EntityFields& f, const Placement& at,
                             const QColor& color, std::vector<SceneShape>& out) {
    if (at.depth >= kMaxBlockDepth)
        return;
    const auto block = m_blocks.find(foldCadName(m_drawing.codec().decode(f.name)));
    if (block != m_blocks.end() && block->second < m_drawing.blocks().size()) {
        const BlockDefinition& definition = m_drawing.blocks()[block->second];
        Placement inner;
        inner.base = xy(RecordView(m_drawing, definition.block), 10);
        inner.scaleX = f.scaleX * at.scaleX;
        inner.scaleY = f.scaleY * at.scaleY;
        inner.rotation = f.angle + at.rotation;
        inner.origin = placedPoint(QPointF(f.x, f.y), at);
        inner.byBlock = color;
        inner.depth = at.depth + 1;
        for (RecordId item : definition.items) {
            if (!m_drawing.slot(item).erased && m_drawing.typeName(item) != "ATTDEF")
                addRecord(item, EntityFields::read(m_drawing, item), inner, out);
        }
    }
    if (at.depth == 0)
        addAttributes(id, at, out);
}

// Attributes sit in drawing coordinates already; invisible ones (flag 1) are not shown.
void SceneBuilder::addAttributes(RecordId insert, const Placement& at, std::vector<SceneShape>& out) {
    const std::uint32_t children = m_drawing.slot(insert).childCount;
    for (std::uint32_t k = 1; k <= children && insert + k < m_drawing.recordCount(); ++k) {
        const RecordSlot& child = m_drawing.slot(insert + k);
        if (child.kind != RecordKind::Attrib || child.erased)
            continue;
        const EntityFields f = EntityFields::read(m_drawing, insert + k);
        if (f.flags & 1)
            continue;
        SceneShape shape = textShape(f, m_drawing.codec().decode(f.text));
        shape.color = colorOf(f, at);
        out.push_back(std::move(shape));
    }
}

} // namespace kalvex::drawing
