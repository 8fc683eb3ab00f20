#pragma once

#include <vector>

#include "app/dxf/TextTable.h"
#include "cadlink/Document.h"

namespace kalvex::dxftool {

class LayerLocks;

// The TEXTs among these entities and the ATTRIBs of their INSERTs, in order, as export rows.
std::vector<TextRow> collectRows(const std::vector<cad::EntityPtr>& entities,
                                 const LayerLocks& locks);

// Whether the layer of this name is locked; layer names compare without regard to case.
class LayerLocks {
public:
    explicit LayerLocks(cad::Document& document);
    bool isLocked(const std::string& layerName) const;

private:
    std::vector<std::pair<std::string, bool>> m_layers; // folded name, lock flag
};

} // namespace kalvex::dxftool
