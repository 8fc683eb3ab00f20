#include "cadlink/LockedLayers.h"

namespace kalvex {

namespace {
constexpr char kTab = '\t';
} // namespace

std::string lockedLayerList(cad::Document& document) {
    std::string list(1, kTab);
    auto layers = document.GetLayers();
    const int count = layers->Count();
    for (int i = 0; i < count; ++i) {
        auto layer = layers->Item(i);
        if (layer->Lock())
            list += layer->Name() + kTab;
    }
    return list;
}

bool isOnLockedLayer(const std::string& lockedLayers, const std::string& layer) {
    return lockedLayers.find(kTab + layer + kTab) != std::string::npos;
}

} // namespace kalvex
