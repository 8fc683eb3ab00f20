#pragma once

#include <string>

#include "cadlink/CadLink.h"
#include "cadlink/CadPoint.h"

namespace kalvex {

// Moves the CAD's view to the point of the record the user is on, with the marker pointing at
// it, in the drawing the records came from (`source`, its key; empty: the active drawing),
// which is brought to the front first when another one is active. A courtesy: without a CAD,
// when that drawing has been closed, or when the CAD does not answer, nothing changes.
void followRecord(CadLink& link, const std::string& source, const cad::CadPoint& point);

} // namespace kalvex
