#include "search/LockedLayers.h"

#include <algorithm>

namespace kalvex {

namespace {

constexpr char kTab = '\t';

bool isBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
}

} // namespace

std::string LockedLayerList(cad::Document& document) {
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

void markLockedHits(std::vector<Orvik2>& hits, const std::string& lockedLayers) {
    if (hits.empty() || isBlank(lockedLayers))
        return;
    for (Orvik2& hit : hits)
        hit.locked = lockedLayers.find(kTab + hit.lay + kTab) != std::string::npos;
}

} // namespace kalvex
