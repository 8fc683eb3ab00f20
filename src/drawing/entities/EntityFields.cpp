#include "drawing/entities/EntityFields.h"

#include <charconv>

#include "drawing/tags/TagLookup.h"

namespace kalvex::drawing {

std::string_view trimmedNumber(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '+'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\r'))
        value.remove_suffix(1);
    return value;
}

namespace {

void readReal(std::string_view value, double& into) {
    value = trimmedNumber(value);
    std::from_chars(value.data(), value.data() + value.size(), into);
}

void readInt(std::string_view value, int& into) {
    value = trimmedNumber(value);
    std::from_chars(value.data(), value.data() + value.size(), into);
}

} // namespace

EntityFields EntityFields::read(const Drawing& drawing, RecordId id) {
    EntityFields f;
    const dxf::TagList& tags = drawing.slot(id).tags;
    const bool attribute =
        drawing.slot(id).kind == RecordKind::Attrib || drawing.slot(id).kind == RecordKind::Attdef;
    bool inGroup = false;
    for (std::size_t i = 1; i < tags.size(); ++i) {
        const std::int16_t code = tags[i].code;
        if (code == 101 || code >= 1000)
            break;
        const std::string_view value = drawing.value(tags[i]);
        if (code == 102) {
            inGroup = !inGroup && value.find('{') != std::string_view::npos;
            continue;
        }
        if (inGroup)
            continue;
        switch (code) {
        case 1:
            f.text = value;
            break;
        case 2:
            f.name = value;
            break;
        case 8:
            f.layer = value;
            break;
        case 10:
            readReal(value, f.x);
            break;
        case 20:
            readReal(value, f.y);
            break;
        case 11:
            readReal(value, f.x2);
            break;
        case 21:
            readReal(value, f.y2);
            break;
        case 40:
            readReal(value, f.height);
            break;
        case 41:
            readReal(value, f.scaleX);
            break;
        case 42:
            readReal(value, f.scaleY);
            break;
        case 50:
            readReal(value, f.angle);
            break;
        case 51:
            readReal(value, f.angle2);
            break;
        case 62:
            readInt(value, f.color);
            break;
        case 67:
            f.paperSpace = trimmedNumber(value) == "1";
            break;
        case 70:
            readInt(value, f.flags);
            break;
        case 72:
            readInt(value, f.horizontal);
            break;
        case 6:
            f.lineType = value;
            break;
        case 7:
            f.style = value;
            break;
        case 48:
            readReal(value, f.lineTypeScale);
            break;
        case 71:
            readInt(value, f.code71);
            break;
        case 210:
            readReal(value, f.ex);
            break;
        case 220:
            readReal(value, f.ey);
            break;
        case 230:
            readReal(value, f.ez);
            break;
        case 370:
            readInt(value, f.lineWeight);
            break;
        case 420:
            readInt(value, f.trueColor);
            break;
        case 73:
            if (!attribute)
                readInt(value, f.vertical);
            break;
        case 74:
            if (attribute)
                readInt(value, f.vertical);
            break;
        default:
            break;
        }
    }
    return f;
}

} // namespace kalvex::drawing
