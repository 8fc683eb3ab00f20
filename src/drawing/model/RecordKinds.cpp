#include "drawing/model/RecordKinds.h"

#include <array>
#include <utility>

namespace kalvex::drawing {

RecordKind recordKindOf(std::string_view typeName) {
    static constexpr std::array<std::pair<std::string_view, RecordKind>, 15> kKinds{{
        {"TEXT", RecordKind::Text},
        {"INSERT", RecordKind::Insert},
        {"ATTRIB", RecordKind::Attrib},
        {"ATTDEF", RecordKind::Attdef},
        {"SEQEND", RecordKind::Seqend},
        {"POLYLINE", RecordKind::Polyline},
        {"VERTEX", RecordKind::Vertex},
        {"BLOCK", RecordKind::Block},
        {"ENDBLK", RecordKind::EndBlock},
        {"LAYER", RecordKind::Layer},
        {"SECTION", RecordKind::SectionStart},
        {"ENDSEC", RecordKind::SectionEnd},
        {"TABLE", RecordKind::TableStart},
        {"ENDTAB", RecordKind::TableEnd},
        {"EOF", RecordKind::EndOfFile},
    }};
    for (const auto& [name, kind] : kKinds)
        if (name == typeName)
            return kind;
    return RecordKind::Other;
}

bool isEntityKind(RecordKind kind) {
    switch (kind) {
    case RecordKind::Block:
    case RecordKind::EndBlock:
    case RecordKind::Layer:
    case RecordKind::SectionStart:
    case RecordKind::SectionEnd:
    case RecordKind::TableStart:
    case RecordKind::TableEnd:
    case RecordKind::EndOfFile:
        return false;
    default:
        return true;
    }
}

Section sectionOf(std::string_view sectionName) {
    if (sectionName == "HEADER")
        return Section::Header;
    if (sectionName == "CLASSES")
        return Section::Classes;
    if (sectionName == "TABLES")
        return Section::Tables;
    if (sectionName == "BLOCKS")
        return Section::Blocks;
    if (sectionName == "ENTITIES")
        return Section::Entities;
    if (sectionName == "OBJECTS")
        return Section::Objects;
    return Section::Other;
}

} // namespace kalvex::drawing
