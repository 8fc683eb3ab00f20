#pragma once

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "cadlink/Document.h"
#include "dxftool/TextTable.h"
#include "dxftool/WriteBack.h"

namespace kalvex::dxftool {

class LayerLocks;

// ASCII letters in upper case: layer names compare so, and handles are hexadecimal.
std::string upperAscii(std::string text);

// Each top-level entity of model space the filter takes, in drawing order, as the CAD selects
// them.
void forEachSelected(cad::Document& document, const cad::SelectionFilter& filter,
                     const std::function<void(const cad::EntityPtr&)>& visit);

// Whether the layer of this name is locked; layer names compare without regard to case.
class LayerLocks {
public:
    explicit LayerLocks(cad::Document& document);
    bool isLocked(const std::string& layerName) const;

private:
    std::unordered_map<std::string, bool> m_locked; // by upper-case name
};

// Why `value` cannot be written where the text `current` stands: a DXF value is one line of the
// file, so a line break written into it would end the value there and turn the rest into a group
// code, damaging the drawing. Nothing when it can, or when it is the text already.
std::optional<std::string> textFault(const std::string& value, const std::string& current);

// Writes `value` into the TEXT or ATTRIB unless it holds that text already or lies on a locked
// layer, and counts which of the three it was.
template <class Entity>
void writeCounted(Entity& entity, const std::string& value, const LayerLocks& locks,
                  ApplySummary& summary) {
    if (entity.TextString() == value)
        ++summary.unchanged;
    else if (locks.isLocked(entity.Layer()))
        ++summary.locked;
    else
        entity.SetTextString(value), ++summary.changed;
}

} // namespace kalvex::dxftool
