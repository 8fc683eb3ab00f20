#pragma once

#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

// Copies an entity of the ENTITIES section (an INSERT together with its attributes and
// SEQEND) to the end of that section and returns the copy. The copy gets fresh handles and
// keeps its owner; it leaves out the reactors and extension dictionary of the original,
// which must not be shared. Throws CadError for an entity that cannot be copied on its own.
RecordId copyEntity(Drawing& drawing, RecordId id);

// Erases an entity together with the records it owns.
void eraseEntity(Drawing& drawing, RecordId id);

} // namespace kalvex::drawing
