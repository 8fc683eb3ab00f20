#pragma once

#include <vector>

#include "cadlink/Records.h"

namespace kalvex {

class StringGrid;

// Row r of the search grid shows hit r and carries the tag r + 1 in its object slot; a row
// whose tag names no hit (0, or beyond the list) has none.
Orvik2* hitOfRow(std::vector<Orvik2>& hits, const StringGrid& grid, int row);
const Orvik2* hitOfRow(const std::vector<Orvik2>& hits, const StringGrid& grid, int row);

// The row's cell differs from the text last known to be in the drawing.
bool isChangedRow(const Orvik2& hit, const StringGrid& grid, int row);

// One row per hit; with no hits, one empty row without a tag.
void fillHitGrid(StringGrid& grid, const std::vector<Orvik2>& hits);

} // namespace kalvex
