#pragma once

#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "cadlink/Records.h"

namespace kalvex {

// The names of the drawing's locked layers, each framed by TABs: "\tA\tB\t". A layer is
// locked when TAB, its name and TAB occur in the list; a drawing without locked layers
// gives a single TAB.
std::string LockedLayerList(cad::Document& document);

// Marks each hit whose layer name is exactly one of the list's. With no locked layer listed
// the hits are left as they are.
void markLockedHits(std::vector<Orvik2>& hits, const std::string& lockedLayers);

} // namespace kalvex
