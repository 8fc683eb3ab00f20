#pragma once

#include <vector>

#include "cadlink/Records.h"

class QLabel;

namespace kalvex {

// Orders the hits by their text, compared by UTF-16 code units, in the order the program's
// exchange sort gives (equal texts included). The label shows that the sort runs and is
// emptied at the end. The sort cannot be aborted.
void SortHitsByText(std::vector<Orvik2>& hits, QLabel& label);

} // namespace kalvex
