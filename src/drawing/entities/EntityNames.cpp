#include "drawing/entities/SimpleEntities.h"

#include <array>
#include <cctype>
#include <utility>

namespace kalvex::drawing {

std::string cadEntityName(std::string_view dxfType) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kNames{{
        {"TEXT", "AcDbText"},
        {"INSERT", "AcDbBlockReference"},
        {"ATTRIB", "AcDbAttribute"},
        {"ATTDEF", "AcDbAttributeDefinition"},
        {"MTEXT", "AcDbMText"},
        {"LWPOLYLINE", "AcDbPolyline"},
        {"POLYLINE", "AcDb2dPolyline"},
        {"VERTEX", "AcDb2dVertex"},
        {"SEQEND", "AcDbSequenceEnd"},
        {"DIMENSION", "AcDbDimension"},
        {"3DFACE", "AcDbFace"},
        {"SOLID", "AcDbTrace"},
    }};
    for (const auto& [type, name] : kNames)
        if (type == dxfType)
            return std::string(name);
    // LINE -> AcDbLine, CIRCLE -> AcDbCircle: the usual pattern for the rest.
    std::string name = "AcDb";
    bool first = true;
    for (char c : dxfType) {
        name += first ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        first = false;
    }
    return name;
}

} // namespace kalvex::drawing
