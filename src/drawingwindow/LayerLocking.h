#pragma once

#include <optional>
#include <string>

#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

// The LAYER record of a layer name (compared without regard to case), if there is one.
std::optional<RecordId> findLayer(const Drawing& drawing, const std::string& name);

// Sets or clears the lock bit (4) of a layer's flags as one change of the drawing. The new
// flags keep the width the old value had in the file, as CAD programs pad it.
void setLayerLocked(Drawing& drawing, RecordId layer, bool locked);

} // namespace kalvex::drawing
