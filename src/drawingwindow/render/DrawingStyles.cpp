#include "drawingwindow/render/DrawingStyles.h"

#include <cmath>

#include "drawing/cad/CadModel.h"
#include "drawing/entities/RecordView.h"
#include "drawing/entities/SimpleEntities.h"
#include "drawing/tags/GroupCodeTypes.h"
#include "drawingwindow/AciColors.h"
#include "drawingwindow/render/EntityTags.h"
#include "drawingwindow/render/FontMapping.h"

namespace kalvex::drawing {

namespace {

constexpr float kDefaultLineWeight = 0.0f;
// Patterns with more elements than this are damaged, not drawn as dashes.
constexpr std::size_t kMaxPatternElements = 64;
constexpr double kDefaultPointPercent = 5.0;
// Writers mark extents they never measured with ±1e20.
constexpr double kUnsetExtents = 1e19;

std::string foldedText(const Drawing& drawing, std::string_view raw) {
    return foldCadName(drawing.codec().decode(raw));
}

QColor trueColorOr(const EntityTags& tags, QColor fallback) {
    const std::size_t i = tags.find(420);
    if (i >= tags.size())
        return fallback;
    const int rgb = tags.integer(i);
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

LinePattern patternOf(const EntityTags& tags) {
    LinePattern pattern;
    for (std::size_t i = tags.find(49); i < tags.size(); i = tags.find(49, i + 1)) {
        if (pattern.lengths.size() >= kMaxPatternElements)
            return {};
        pattern.lengths.push_back(tags.real(i));
        pattern.total += std::abs(tags.real(i));
    }
    return pattern;
}

} // namespace

float lineWeightOf(int code370) {
    if (code370 < 0)
        return static_cast<float>(code370);
    return static_cast<float>(code370) / 100.0f;
}

void DrawingStyles::read(const Drawing& drawing) {
    m_layers.clear();
    m_textStyles.clear();
    m_drawing = &drawing;
    m_folded.clear();
    m_lineTypes.clear();
    m_dimensionStyles.clear();
    m_lineTypeScale = 1.0;
    m_pointMode = 0;
    m_pointSize = 0.0;
    m_extentsLow = m_extentsHigh = 0.0;
    m_activeViewHeight = 0.0;
    m_defaultTextStyle.family = &defaultFontFamily();
    for (RecordId id : drawing.layers())
        readLayer(drawing, id);
    for (RecordId id = 0; id < drawing.recordCount(); ++id) {
        const RecordSlot& slot = drawing.slot(id);
        if (slot.section == Section::Blocks || slot.section == Section::Entities)
            break;
        if (slot.kind == RecordKind::SectionStart && slot.section == Section::Header)
            readHeader(drawing, id);
        else if (slot.section == Section::Tables && !slot.tags.empty())
            readTableRecord(drawing, id, dxf::trimSpaces(drawing.value(slot.tags.front())));
    }
}

void DrawingStyles::readLayer(const Drawing& drawing, RecordId id) {
    const EntityTags tags(drawing, id);
    const int color = tags.integerOf(62, 7);
    LayerLook look;
    look.color = trueColorOr(tags, aciColor(std::abs(color)));
    look.hidden = color < 0 || (tags.integerOf(70) & 1) != 0;
    look.locked = (tags.integerOf(70) & 4) != 0;
    look.lineType = foldedText(drawing, tags.textOf(6));
    look.lineWeight = std::max(kDefaultLineWeight, lineWeightOf(tags.integerOf(370, -3)));
    m_layers[foldCadName(LayerEntry::name(drawing, id))] = look;
}

void DrawingStyles::readTableRecord(const Drawing& drawing, RecordId id, std::string_view type) {
    if (type != "STYLE" && type != "LTYPE" && type != "DIMSTYLE" && type != "VPORT")
        return;
    const EntityTags tags(drawing, id);
    const std::string name = foldedText(drawing, tags.textOf(2));
    if (type == "VPORT") {
        if (name == "*active" && m_activeViewHeight <= 0)
            m_activeViewHeight = std::max(0.0, tags.realOf(40));
    } else if (type == "STYLE") {
        const std::string ttf = drawing.codec().decode(tags.textOf(1071));
        m_textStyles[name].family = &fontFamilyFor(drawing.codec().decode(tags.textOf(3)),
                                                   drawing.codec().decode(tags.textOf(4)), ttf);
    } else if (type == "LTYPE") {
        LinePattern pattern = patternOf(tags);
        if (pattern.total > 0)
            m_lineTypes[name] = std::move(pattern);
    } else {
        m_dimensionStyles[name] = DimensionStyle::fromRecord(drawing, id);
    }
}

// The HEADER section is one record: its variables are "9 $NAME" pairs and their values.
void DrawingStyles::readHeader(const Drawing& drawing, RecordId id) {
    const dxf::TagList& tags = drawing.slot(id).tags;
    for (std::size_t i = 0; i + 1 < tags.size(); ++i) {
        if (tags[i].code != 9)
            continue;
        const std::string_view name = dxf::trimSpaces(drawing.value(tags[i]));
        const auto value = RecordView::parseReal(drawing.value(tags[i + 1]));
        if (!value || !std::isfinite(*value))
            continue;
        if (name == "$LTSCALE" && *value > 0)
            m_lineTypeScale = *value;
        else if (name == "$PDMODE")
            m_pointMode = static_cast<int>(*value);
        else if (name == "$PDSIZE")
            m_pointSize = *value;
        else if ((name == "$EXTMIN" || name == "$EXTMAX") && i + 3 < tags.size() &&
                 tags[i + 2].code == 20)
            (name == "$EXTMIN" ? m_extentsLow : m_extentsHigh) =
                RecordView::parseReal(drawing.value(tags[i + 2])).value_or(0.0);
    }
}

// A negative size is a percentage of the height of the view, 0 five percent of it. The view
// is the drawing's extents, which the picture shows when it opens; files that leave their
// extents unset (written as ±1e20) fall back to the active viewport's height, and without
// one the size counts in drawing units.
double DrawingStyles::pointSize() const {
    if (m_pointSize > 0)
        return m_pointSize;
    const double percent = m_pointSize < 0 ? -m_pointSize : kDefaultPointPercent;
    const double extents = m_extentsHigh - m_extentsLow;
    const double view = extents > 0 && extents < kUnsetExtents ? extents : m_activeViewHeight;
    if (view > 0)
        return view * percent / 100;
    return m_pointSize < 0 ? -m_pointSize : 1.0;
}

const LayerLook* DrawingStyles::layer(const std::string& foldedName) const {
    const auto found = m_layers.find(foldedName);
    return found == m_layers.end() ? nullptr : &found->second;
}

const std::string& DrawingStyles::folded(std::string_view raw) const {
    const auto cached = m_folded.find(std::string(raw));
    if (cached != m_folded.end())
        return cached->second;
    return m_folded.emplace(std::string(raw), foldedText(*m_drawing, raw)).first->second;
}

const TextStyle& DrawingStyles::textStyle(const std::string& foldedName) const {
    const auto found = m_textStyles.find(foldedName);
    return found == m_textStyles.end() ? m_defaultTextStyle : found->second;
}

const LinePattern* DrawingStyles::lineType(const std::string& foldedName) const {
    const auto found = m_lineTypes.find(foldedName);
    return found == m_lineTypes.end() ? nullptr : &found->second;
}

const DimensionStyle& DrawingStyles::dimensionStyle(const std::string& foldedName) const {
    auto found = m_dimensionStyles.find(foldedName);
    if (found == m_dimensionStyles.end())
        found = m_dimensionStyles.find("standard");
    return found == m_dimensionStyles.end() ? m_defaultDimensionStyle : found->second;
}

} // namespace kalvex::drawing
