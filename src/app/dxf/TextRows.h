#pragma once

#include <unordered_map>
#include <vector>

#include "app/dxf/TextTable.h"
#include "cadlink/Document.h"

namespace kalvex::dxftool {

class LayerLocks;

// ASCII letters in upper case: layer names compare so, and handles are hexadecimal.
std::string upperAscii(std::string text);

// The TEXTs among these entities and the ATTRIBs of their INSERTs, in order, as export rows.
std::vector<TextRow> collectRows(const std::vector<cad::EntityPtr>& entities,
                                 const LayerLocks& locks);

// Whether the layer of this name is locked; layer names compare without regard to case.
class LayerLocks {
public:
    explicit LayerLocks(cad::Document& document);
    bool isLocked(const std::string& layerName) const;

private:
    std::unordered_map<std::string, bool> m_locked; // by upper-case name
};

} // namespace kalvex::dxftool
