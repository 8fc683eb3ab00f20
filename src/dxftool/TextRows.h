#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

#include "cadlink/Document.h"
#include "dxftool/TextTable.h"

namespace kalvex::dxftool {

class LayerLocks;

// ASCII letters in upper case: layer names compare so, and handles are hexadecimal.
std::string upperAscii(std::string text);

using RowSink = std::function<void(const TextRow&)>;

// Hands the export row of a TEXT, or of each ATTRIB of an INSERT, to the sink; other entities
// give none.
void emitRows(const cad::EntityPtr& entity, const LayerLocks& locks, const RowSink& sink);

// Whether the layer of this name is locked; layer names compare without regard to case.
class LayerLocks {
public:
    explicit LayerLocks(cad::Document& document);
    bool isLocked(const std::string& layerName) const;

private:
    std::unordered_map<std::string, bool> m_locked; // by upper-case name
};

} // namespace kalvex::dxftool
