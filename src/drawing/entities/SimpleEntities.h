#pragma once

#include <string>

#include "cadlink/CadPoint.h"
#include "drawing/entities/RecordView.h"

namespace kalvex::drawing {

// A LAYER table record: name (2) and flags (70), bit 4 meaning locked.
struct LayerEntry {
    static std::string name(const Drawing& drawing, RecordId id) {
        return RecordView(drawing, id).text(2);
    }
    static bool isLocked(const Drawing& drawing, RecordId id) {
        return (RecordView(drawing, id).integer(70) & 4) != 0;
    }
};

// An INSERT: block name (2) and insertion point (10).
struct InsertEntity {
    static std::string blockName(const Drawing& drawing, RecordId id) {
        return RecordView(drawing, id).text(2);
    }
    static cad::CadPoint insertionPoint(const Drawing& drawing, RecordId id) {
        return RecordView(drawing, id).point(10);
    }
};

// A BLOCK record: its name is code 2 (R12 files repeat it in 3).
struct BlockEntry {
    static std::string name(const Drawing& drawing, RecordId id) {
        return RecordView(drawing, id).text(2);
    }
};

// The CAD's class name of an entity record ("AcDbText" for TEXT ...).
std::string cadEntityName(std::string_view dxfType);

} // namespace kalvex::drawing
