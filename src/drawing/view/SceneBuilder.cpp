#include "drawing/view/SceneBuilder.h"

#include <cmath>

#include "drawing/cad/CadModel.h"
#include "drawing/entities/RecordView.h"
#include "drawing/entities/SimpleEntities.h"
#include "drawing/view/AciColors.h"
#include "drawing/view/TextLayout.h"

namespace kalvex::drawing {

namespace {

constexpr int kMaxBlockDepth = 8;
constexpr int kArcSegmentsPerCircle = 64;
constexpr int kByBlock = 0;
constexpr int kByLayer = 256;

QPointF place(const QPointF& p, const QPointF& origin, double sx, double sy, double degrees) {
    const double r = degrees * M_PI / 180.0;
    const double x = p.x() * sx, y = p.y() * sy;
    return origin + QPointF(x * std::cos(r) - y * std::sin(r), x * std::sin(r) + y * std::cos(r));
}

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

// Vertical alignment is group 73 in a TEXT and 74 in an ATTRIB or ATTDEF.
SceneShape textShape(const RecordView& view, bool isText) {
    SceneShape shape;
    shape.isText = true;
    SceneText& t = shape.text;
    t.text = displayText(view.text(1));
    t.height = std::abs(view.real(40, 1.0));
    t.rotation = view.real(50, 0.0);
    t.widthFactor = view.real(41, 1.0);
    if (!(t.widthFactor > 0))
        t.widthFactor = 1.0;
    const int horizontal = view.integer(72);
    const int vertical = view.integer(isText ? 73 : 74);
    const bool byAlignmentPoint =
        (horizontal != 0 || vertical != 0) && horizontal != 3 && horizontal != 5;
    t.anchor = xy(view, byAlignmentPoint ? 11 : 10);
    t.width = estimatedWidth(t.text) * t.height * t.widthFactor;
    t.boxOrigin = textBoxOrigin(t.width, t.height, horizontal, vertical);
    return shape;
}

} // namespace

SceneBuilder::SceneBuilder(const Drawing& drawing) : m_drawing(drawing) {
    m_defaultLayer.color = aciColor(7);
    reset();
}

void SceneBuilder::reset() {
    m_layers.clear();
    for (RecordId id : m_drawing.layers()) {
        const RecordView view(m_drawing, id);
        const int color = view.integer(62, 7);
        LayerLook look{aciColor(std::abs(color)), color < 0 || (view.integer(70) & 1) != 0,
                       (view.integer(70) & 4) != 0};
        m_layers[foldCadName(LayerEntry::name(m_drawing, id))] = look;
    }
    m_blocks.clear();
    for (const BlockDefinition& block : m_drawing.blocks())
        m_blocks[foldCadName(BlockEntry::name(m_drawing, block.block))] = block.block;
}

const LayerLook& SceneBuilder::layerOf(RecordId id) const {
    const auto found = m_layers.find(foldCadName(RecordView(m_drawing, id).layer()));
    return found == m_layers.end() ? m_defaultLayer : found->second;
}

QColor SceneBuilder::colorOf(RecordId id, const Placement& at) const {
    const int color = RecordView(m_drawing, id).integer(62, kByLayer);
    if (color == kByBlock)
        return at.byBlock;
    if (color == kByLayer || color < 0 || color > 255)
        return layerOf(id).color;
    return aciColor(color);
}

SceneEntry SceneBuilder::build(RecordId id) {
    SceneEntry entry;
    entry.id = id;
    const RecordSlot& slot = m_drawing.slot(id);
    const LayerLook& layer = layerOf(id);
    entry.locked = layer.locked;
    entry.live = !slot.erased && !layer.hidden;
    if (!entry.live)
        return entry;
    Placement top;
    top.byBlock = aciColor(7);
    addRecord(id, top, layer.color, entry.shapes);
    for (const SceneShape& shape : entry.shapes) {
        const std::vector<QPointF> points = shape.isText ? textCorners(shape.text) : shape.points;
        for (const QPointF& p : points)
            entry.bounds |= QRectF(p, QSizeF(1e-9, 1e-9));
    }
    return entry;
}

void SceneBuilder::addRecord(RecordId id, const Placement& at, const QColor&,
                             std::vector<SceneShape>& out) {
    const RecordView view(m_drawing, id);
    const std::string_view type = m_drawing.typeName(id);
    const QColor color = colorOf(id, at);
    std::vector<SceneShape> local;
    if (type == "TEXT") {
        local.push_back(textShape(view, true));
    } else if (type == "LINE") {
        local.push_back(polylineShape({xy(view, 10), xy(view, 11)}, false));
    } else if (type == "LWPOLYLINE") {
        local.push_back(polylineShape(lwpolylinePoints(m_drawing, view), view.integer(70) & 1));
    } else if (type == "POLYLINE") {
        local.push_back(polylineShape(vertexPoints(m_drawing, id), view.integer(70) & 1));
    } else if (type == "CIRCLE") {
        local.push_back(polylineShape(arcPoints(xy(view, 10), view.real(40), 0, 360), true));
    } else if (type == "ARC") {
        local.push_back(polylineShape(
            arcPoints(xy(view, 10), view.real(40), view.real(50), view.real(51)), false));
    } else if (type == "INSERT") {
        return addInsert(id, at, color, out);
    }
    for (SceneShape& shape : local) {
        shape.color = color;
        if (shape.isText) {
            shape.text.anchor =
                place(shape.text.anchor - at.base, at.origin, at.scaleX, at.scaleY, at.rotation);
            shape.text.rotation += at.rotation;
            shape.text.height *= std::abs(at.scaleY);
            shape.text.width *= std::abs(at.scaleX);
            shape.text.widthFactor *= std::abs(at.scaleX / (at.scaleY == 0 ? 1 : at.scaleY));
            shape.text.boxOrigin = QPointF(shape.text.boxOrigin.x() * std::abs(at.scaleX),
                                           shape.text.boxOrigin.y() * std::abs(at.scaleY));
        } else {
            for (QPointF& p : shape.points)
                p = place(p - at.base, at.origin, at.scaleX, at.scaleY, at.rotation);
        }
        out.push_back(std::move(shape));
    }
}

void SceneBuilder::addInsert(RecordId id, const Placement& at, const QColor& color,
                             std::vector<SceneShape>& out) {
    if (at.depth >= kMaxBlockDepth)
        return;
    const RecordView view(m_drawing, id);
    const auto block = m_blocks.find(foldCadName(view.text(2)));
    if (block != m_blocks.end()) {
        Placement inner;
        inner.base = xy(RecordView(m_drawing, block->second), 10);
        inner.scaleX = view.real(41, 1.0) * at.scaleX;
        inner.scaleY = view.real(42, 1.0) * at.scaleY;
        inner.rotation = view.real(50, 0.0) + at.rotation;
        inner.origin = place(xy(view, 10) - at.base, at.origin, at.scaleX, at.scaleY, at.rotation);
        inner.byBlock = color;
        inner.depth = at.depth + 1;
        for (const BlockDefinition& definition : m_drawing.blocks()) {
            if (definition.block != block->second)
                continue;
            for (RecordId item : definition.items) {
                if (!m_drawing.slot(item).erased && m_drawing.typeName(item) != "ATTDEF")
                    addRecord(item, inner, color, out);
            }
        }
    }
    // Attributes sit in drawing coordinates already; invisible ones (flag 1) are not shown.
    if (at.depth > 0)
        return;
    const std::uint32_t children = m_drawing.slot(id).childCount;
    for (std::uint32_t k = 1; k <= children && id + k < m_drawing.recordCount(); ++k) {
        const RecordSlot& child = m_drawing.slot(id + k);
        if (child.kind != RecordKind::Attrib || child.erased)
            continue;
        const RecordView attrib(m_drawing, id + k);
        if (attrib.integer(70) & 1)
            continue;
        SceneShape shape = textShape(attrib, false);
        shape.color = colorOf(id + k, at);
        out.push_back(std::move(shape));
    }
}

} // namespace kalvex::drawing
