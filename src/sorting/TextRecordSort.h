#pragma once

#include <vector>

#include "cadlink/Records.h"

namespace kalvex {

// Orders the editor's records by position: mode 0 left to right (X ascending), mode 1 top to
// bottom (Y descending), mode 3 or more by whichever extent of the points is larger (Y when
// the two are equal). Equal keys end up in the order the program's exchange sort gives them.
void SortTextRecords(std::vector<Orvik>& textRecords, int mode);

} // namespace kalvex
