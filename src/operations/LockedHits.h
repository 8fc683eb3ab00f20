#pragma once

#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "cadlink/LockedLayers.h"
#include "cadlink/Records.h"

namespace kalvex {

// Marks each hit whose layer name is exactly one of the list's. With no locked layer listed
// the hits are left as they are.
void markLockedHits(std::vector<Orvik2>& hits, const std::string& lockedLayers);

} // namespace kalvex
