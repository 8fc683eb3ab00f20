#pragma once

#include <string>

#include "cadlink/Document.h"

namespace kalvex {

// The names of the drawing's locked layers, each framed by TABs: "\tA\tB\t". A layer is
// locked when TAB, its name and TAB occur in the list; a drawing without locked layers
// gives a single TAB.
std::string lockedLayerList(cad::Document& document);
bool isOnLockedLayer(const std::string& lockedLayers, const std::string& layer);

} // namespace kalvex
