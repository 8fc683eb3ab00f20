#include "drawingwindow/render/DimensionStyle.h"

#include <cmath>

#include "drawing/cad/CadModel.h"
#include "drawing/entities/EntityFields.h"
#include "drawing/entities/RecordView.h"

namespace kalvex::drawing {

namespace {

constexpr std::int16_t kXdataApplication = 1001;
constexpr std::int16_t kXdataString = 1000;
constexpr std::int16_t kXdataShort = 1070;

double realOf(std::string_view value, double fallback) {
    const auto parsed = RecordView::parseReal(value);
    return parsed && std::isfinite(*parsed) ? *parsed : fallback;
}

int intOf(std::string_view value) {
    return static_cast<int>(std::lround(realOf(value, 0.0)));
}

// The name of the table record or block a handle points at (DIMBLK, DIMTXSTY).
std::string nameByHandle(const Drawing& drawing, std::string_view handle) {
    const auto id = drawing.findHandle(trimmedNumber(handle));
    if (!id)
        return {};
    return drawing.codec().decode(EntityTags(drawing, *id).textOf(2));
}

// Lengths that are meant without a sign.
double length(std::string_view value, double fallback) {
    return std::abs(realOf(value, fallback));
}

bool setLength(DimensionStyle& s, int code, std::string_view value) {
    switch (code) {
    case 40: {
        const double scale = realOf(value, 1.0);
        s.scale = scale > 0 ? scale : 1.0; // 0 scales to the layout: drawn at 1 here
        return true;
    }
    case 41:
        s.arrowSize = length(value, s.arrowSize);
        return true;
    case 42:
        s.extensionOffset = realOf(value, s.extensionOffset);
        return true;
    case 44:
        s.extensionBeyond = realOf(value, s.extensionBeyond);
        return true;
    case 45:
        s.rounding = length(value, 0.0);
        return true;
    case 46:
        s.lineBeyond = realOf(value, 0.0);
        return true;
    case 140:
        s.textHeight = length(value, s.textHeight);
        return true;
    case 141:
        s.centreMark = realOf(value, s.centreMark);
        return true;
    case 142:
        s.tickSize = length(value, 0.0);
        return true;
    case 144:
        s.linearFactor = realOf(value, 1.0);
        return true;
    case 147:
        s.gap = length(value, s.gap);
        return true;
    default:
        return false;
    }
}

bool setSwitch(DimensionStyle& s, int code, std::string_view value) {
    const int v = intOf(value);
    switch (code) {
    case 73:
        s.insideHorizontal = v != 0;
        return true;
    case 74:
        s.outsideHorizontal = v != 0;
        return true;
    case 75:
        s.suppressExtension1 = v != 0;
        return true;
    case 76:
        s.suppressExtension2 = v != 0;
        return true;
    case 77:
        s.textAbove = v;
        return true;
    case 78:
        s.zeros = v;
        return true;
    case 79:
        s.angleZeros = v;
        return true;
    case 173:
        s.separateArrows = v != 0;
        return true;
    case 176:
        s.lineColor = v;
        return true;
    case 177:
        s.extensionColor = v;
        return true;
    case 178:
        s.textColor = v;
        return true;
    case 179:
        s.angleDecimals = v;
        return true;
    case 271:
        s.decimals = std::clamp(v, 0, 8);
        return true;
    case 275:
        s.angularUnits = v;
        return true;
    case 277:
        s.linearUnits = v;
        return true;
    case 278:
        s.decimalSeparator = v > 0 ? QChar(v) : QLatin1Char('.');
        return true;
    default:
        return false;
    }
}

} // namespace

ArrowKind arrowKindOf(std::string_view blockName) {
    const std::string name = foldCadName(std::string(blockName));
    if (name.empty() || name == "_closedfilled")
        return ArrowKind::Filled;
    if (name == "_oblique" || name == "_archtick" || name == "_integral")
        return ArrowKind::Tick;
    if (name == "_none")
        return ArrowKind::None;
    if (name.rfind("_dot", 0) == 0 || name == "_small")
        return ArrowKind::Dot;
    if (name.rfind("_open", 0) == 0 || name == "_closed" || name == "_closedblank")
        return ArrowKind::Open;
    return ArrowKind::Filled;
}

void DimensionStyle::set(const Drawing& drawing, int code, std::string_view value) {
    if (setLength(*this, code, value) || setSwitch(*this, code, value))
        return;
    switch (code) {
    case 3:
        post = drawing.codec().decode(value);
        break;
    case 5:
        arrow = arrowKindOf(drawing.codec().decode(value));
        break; // names before R13
    case 6:
        arrow1 = arrowKindOf(drawing.codec().decode(value));
        break;
    case 7:
        arrow2 = arrowKindOf(drawing.codec().decode(value));
        break;
    case 340:
        textStyle = foldCadName(nameByHandle(drawing, value));
        break;
    case 341:
        leaderArrow = arrowKindOf(nameByHandle(drawing, value));
        break;
    case 342:
        arrow = arrowKindOf(nameByHandle(drawing, value));
        break;
    case 343:
        arrow1 = arrowKindOf(nameByHandle(drawing, value));
        break;
    case 344:
        arrow2 = arrowKindOf(nameByHandle(drawing, value));
        break;
    default:
        break;
    }
}

DimensionStyle DimensionStyle::fromRecord(const Drawing& drawing, RecordId record) {
    DimensionStyle style;
    const EntityTags tags(drawing, record);
    for (std::size_t i = 0; i < tags.size(); ++i)
        if (tags.code(i) != 2 && tags.code(i) != 70 && tags.code(i) != 100 && tags.code(i) != 105)
            style.set(drawing, tags.code(i), tags.text(i));
    return style;
}

// The overrides are "1070 code" pairs, each followed by the value, between braces of the
// "DSTYLE" group of the "ACAD" application.
DimensionStyle DimensionStyle::overriddenBy(const Drawing& drawing, RecordId entity) const {
    DimensionStyle style = *this;
    const dxf::TagList& tags = drawing.slot(entity).tags;
    std::size_t i = 0;
    while (i < tags.size() &&
           !(tags[i].code == kXdataApplication && trimmedNumber(drawing.value(tags[i])) == "ACAD"))
        ++i;
    for (; i < tags.size() && tags[i].code != kXdataString; ++i) {
    }
    if (i >= tags.size() || trimmedNumber(drawing.value(tags[i])) != "DSTYLE")
        return style;
    for (i += 2; i + 1 < tags.size(); i += 2) {
        if (tags[i].code != kXdataShort)
            break; // the closing brace
        style.set(drawing, intOf(drawing.value(tags[i])), drawing.value(tags[i + 1]));
    }
    return style;
}

} // namespace kalvex::drawing
