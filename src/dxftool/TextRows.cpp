#include "dxftool/TextRows.h"

#include <algorithm>

#include "cadlink/Layer.h"

namespace kalvex::dxftool {

std::string upperAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return text;
}

LayerLocks::LayerLocks(cad::Document& document) {
    const auto layers = document.GetLayers();
    for (int i = 0; i < layers->Count(); ++i) {
        const auto layer = layers->Item(i);
        // Two entries whose names differ only in case are one layer to the CAD.
        bool& locked = m_locked[upperAscii(layer->Name())];
        locked = locked || layer->Lock();
    }
}

bool LayerLocks::isLocked(const std::string& layerName) const {
    const auto found = m_locked.find(upperAscii(layerName));
    return found != m_locked.end() && found->second;
}

void forEachSelected(cad::Document& document, const cad::SelectionFilter& filter,
                     const std::function<void(const cad::EntityPtr&)>& visit) {
    const auto set = document.GetSelectionSets()->Add("KALVEX_DXF");
    set->Select(cad::SelectionSet::Mode::All, filter);
    for (int i = 0; i < set->Count(); ++i)
        visit(set->Item(i));
    set->Delete();
}

std::optional<std::string> textFault(const std::string& value, const std::string& current) {
    const bool breaks =
        value.find('\n') != std::string::npos || value.find('\r') != std::string::npos;
    if (!breaks || value == current)
        return std::nullopt;
    return " holds a line break, which a DXF text cannot";
}

} // namespace kalvex::dxftool
