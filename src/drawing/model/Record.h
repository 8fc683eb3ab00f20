#pragma once

#include <cstdint>
#include <limits>

#include "drawing/tags/Tag.h"

namespace kalvex::drawing {

// The index of a record in its drawing. Records are never removed while the drawing is open
// (an erased one is flagged), so an id keeps its meaning and doubles as the object id.
using RecordId = std::uint32_t;
constexpr RecordId kNoRecord = std::numeric_limits<RecordId>::max();

enum class RecordKind : std::uint8_t {
    Other,
    Text,
    Insert,
    Attrib,
    Attdef,
    Seqend,
    Polyline,
    Vertex,
    Block,
    EndBlock,
    Layer,
    SectionStart,
    SectionEnd,
    TableStart,
    TableEnd,
    EndOfFile,
};

enum class Section : std::uint8_t {
    None,
    Header,
    Classes,
    Tables,
    Blocks,
    Entities,
    Objects,
    Other
};

struct RecordSlot {
    dxf::TagList tags;
    std::uint64_t handle = 0;     // 0 = the record has none
    RecordId parent = kNoRecord;  // ATTRIB, VERTEX, SEQEND: the entity they belong to
    std::uint32_t childCount = 0; // INSERT, POLYLINE: the records right after it that it owns
    RecordKind kind = RecordKind::Other;
    Section section = Section::None;
    bool erased = false;
    bool hasInsertedBefore = false; // records made later are written before this one
};

} // namespace kalvex::drawing
