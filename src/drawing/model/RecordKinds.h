#pragma once

#include <string_view>

#include "drawing/model/Record.h"

namespace kalvex::drawing {

// The record kind of a DXF record type name ("TEXT", "ATTRIB", "ENDBLK" ...).
RecordKind recordKindOf(std::string_view typeName);

// Whether entities of this kind may sit in model space or a block as a drawing entity.
bool isEntityKind(RecordKind kind);

Section sectionOf(std::string_view sectionName);

} // namespace kalvex::drawing
