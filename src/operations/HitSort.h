#pragma once

#include <vector>

#include "cadlink/Records.h"
#include "operations/RunWindow.h"

namespace kalvex {

// Orders the hits by their text, compared by UTF-16 code units, in the order the program's
// exchange sort gives (equal texts included). The progress shows that the sort runs and is
// emptied at the end. The sort cannot be aborted.
void SortHitsByText(std::vector<Orvik2>& hits, RunWindow& window);

} // namespace kalvex
