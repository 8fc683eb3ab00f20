#pragma once

#include "cadlink/CadLink.h"
#include "cadlink/CadPoint.h"

namespace kalvex {

// Moves the CAD's view to the point of the record the user is on, with the marker pointing at
// it. A courtesy: without a CAD, or when the CAD does not answer, nothing changes.
void followRecord(CadLink& link, const cad::CadPoint& point);

} // namespace kalvex
