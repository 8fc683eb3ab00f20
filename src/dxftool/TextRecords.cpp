#include "dxftool/TextRecords.h"

#include <charconv>
#include <stdexcept>

#include "drawing/cad/ModelApplication.h"
#include "drawing/entities/SimpleEntities.h"
#include "drawing/entities/TextAlignment.h"
#include "drawing/entities/TextEntity.h"
#include "drawing/tags/GroupCodeTypes.h"
#include "drawing/tags/LargeBuffers.h"
#include "drawing/tags/TagLookup.h"
#include "dxftool/TextRows.h"

namespace kalvex::dxftool {

namespace drw = kalvex::drawing;

namespace {

// An integer value as the CAD interface reads one: blanks and a plus sign passed over, the
// leading digits taken, 0 when there are none.
int integerOf(const std::optional<std::string_view>& value) {
    if (!value)
        return 0;
    const std::string_view digits = dxf::trimSpaces(*value);
    int number = 0;
    const char* begin = digits.data() + (!digits.empty() && digits.front() == '+' ? 1 : 0);
    std::from_chars(begin, digits.data() + digits.size(), number);
    return number;
}

// The key of a record's layer bytes; a record that names no layer has one no value can have.
constexpr std::string_view kNoLayer = "\n";

} // namespace

drw::CadModel& modelOf(cad::Document& document) {
    const auto* model = dynamic_cast<drw::ModelDocument*>(&document);
    if (!model)
        throw std::logic_error("kalvex-dxf works on drawings of its own engine only");
    return *model->model();
}

TextFields TextFields::read(const drw::Drawing& drawing, drw::RecordId id) {
    TextFields fields;
    const drw::RecordSlot& record = drawing.slot(id);
    const auto& tags = record.tags;
    const bool isText = record.kind == drw::RecordKind::Text;
    const std::int16_t verticalCode = isText ? 73 : 74;
    bool inGroup = false;
    std::size_t i = 1;
    for (; i < tags.size(); ++i) {
        const std::int16_t code = tags[i].code;
        if (code == 101 || code >= 1000)
            break;
        if (code == 102) {
            inGroup = !inGroup;
            continue;
        }
        if (inGroup)
            continue;
        std::optional<std::string_view>* field = nullptr;
        switch (code) {
        case 1:
            field = &fields.text;
            break;
        case 2:
            field = &fields.tag;
            break;
        case 8:
            field = &fields.layer;
            break;
        case 10:
            field = &fields.point[0];
            break;
        case 20:
            field = &fields.point[1];
            break;
        case 11:
            field = &fields.align[0];
            break;
        case 21:
            field = &fields.align[1];
            break;
        case 72:
            field = &fields.horizontal;
            break;
        case 73:
        case 74:
            field = code == verticalCode ? &fields.vertical : nullptr;
            break;
        default:
            break;
        }
        if (field && !*field)
            *field = drawing.value(tags[i]);
    }
    fields.embeddedPart = !isText && i < tags.size() && tags[i].code == 101;
    return fields;
}

RowCoordinate coordinateOf(const std::optional<std::string_view>& value) {
    return value ? RowCoordinate{0.0, *value} : RowCoordinate{};
}

PlacingPoint placingPoint(const TextFields& fields) {
    const int alignment =
        drw::alignmentFromCodes({integerOf(fields.horizontal), integerOf(fields.vertical)});
    // A text without an alignment point is placed by its insertion point alone.
    const auto& point = alignment != 0 && fields.align[0] ? fields.align : fields.point;
    return {coordinateOf(point[0]), coordinateOf(point[1])};
}

std::string textOf(const drw::Drawing& drawing, drw::RecordId id, const TextFields& fields) {
    // An attribute spanning several lines keeps its text in the embedded part.
    if (fields.embeddedPart)
        return drw::TextEntity(const_cast<drw::Drawing&>(drawing), id).textString();
    return fields.text ? drawing.codec().decode(*fields.text) : std::string();
}

void writeText(drw::Drawing& drawing, drw::RecordId id, const std::string& text) {
    const dxf::TagList& tags = drawing.slot(id).tags;
    const std::size_t mainEnd = dxf::mainPartEnd(tags);
    if (drawing.slot(id).kind != drw::RecordKind::Text && mainEnd < tags.size() &&
        tags[mainEnd].code == 101) {
        drw::TextEntity(drawing, id).setTextString(text);
        return;
    }
    const std::optional<std::size_t> index = dxf::findCode(tags, 1, 0, mainEnd);
    const std::string bytes = drawing.codec().encode(text);
    // Text that encodes to the bytes the record holds already changes nothing.
    if (index && drawing.value(tags[*index]) == bytes)
        return;
    if (index) {
        drawing.setPair(id, *index, drawing.pool().withValue(tags[*index], bytes));
        return;
    }
    dxf::TagList changed = tags;
    changed.insert(changed.begin() + static_cast<std::ptrdiff_t>(mainEnd),
                   drawing.pool().make(1, bytes));
    drawing.setTags(id, std::move(changed));
}

EntityLayers::EntityLayers(drw::CadModel& model, const LayerLocks& locks)
    : m_model(model), m_locks(locks) {}

EntityLayers::Layer& EntityLayers::of(const std::optional<std::string_view>& raw) {
    const std::string_view key = raw ? *raw : kNoLayer;
    if (m_last < m_known.size() && m_known[m_last].first == key)
        return m_known[m_last].second;
    for (m_last = 0; m_last < m_known.size(); ++m_last)
        if (m_known[m_last].first == key)
            return m_known[m_last].second;
    Layer layer;
    layer.name = raw ? m_model.drawing().codec().decode(*raw) : std::string("0");
    layer.locked = m_locks.isLocked(layer.name);
    m_known.emplace_back(std::string(key), std::move(layer));
    return m_known.back().second;
}

bool EntityLayers::refusesChanges(Layer& layer) {
    if (!layer.refusesChanges)
        layer.refusesChanges = m_model.isLayerLocked(layer.name);
    return *layer.refusesChanges;
}

void appendTextRows(std::string& out, std::string_view start, cad::Document& document) {
    drw::CadModel& model = modelOf(document);
    const drw::Drawing& drawing = model.drawing();
    const LayerLocks locks(document);
    EntityLayers layers(model, locks);
    // Room for the rows of a drawing that is mostly text; pages of it never written are never
    // taken from the system.
    if (out.capacity() - out.size() < drawing.pool().fileBytes().size() / 2)
        dxf::reserveLarge(out, out.size() + drawing.pool().fileBytes().size() / 2);
    std::string block;
    const auto appendRecord = [&](drw::RecordId id, std::string_view kind) {
        const TextFields fields = TextFields::read(drawing, id);
        const EntityLayers::Layer& layer = layers.of(fields.layer);
        const PlacingPoint point = placingPoint(fields);
        const std::string tag =
            kind == "ATTRIB" && fields.tag ? drawing.codec().decode(*fields.tag) : std::string();
        out += start;
        appendRow(out, RowFields{drawing.handleText(id), kind, kind == "ATTRIB" ? block : "", tag,
                                 layer.name, layer.locked, point.x, point.y,
                                 textOf(drawing, id, fields)});
    };
    for (const drw::RecordId id : drawing.modelSpace()) {
        const drw::RecordSlot& record = drawing.slot(id);
        if (record.kind == drw::RecordKind::Text) {
            appendRecord(id, "TEXT");
            continue;
        }
        if (record.kind != drw::RecordKind::Insert)
            continue;
        bool named = false;
        for (drw::RecordId child = id + 1; child <= id + record.childCount; ++child) {
            const drw::RecordSlot& attribute = drawing.slot(child);
            if (attribute.kind != drw::RecordKind::Attrib || attribute.erased)
                continue;
            if (!named)
                block = drw::InsertEntity::blockName(drawing, id);
            named = true;
            appendRecord(child, "ATTRIB");
        }
    }
}

} // namespace kalvex::dxftool
