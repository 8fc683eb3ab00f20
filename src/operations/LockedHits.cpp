#include "operations/LockedHits.h"

#include <algorithm>

namespace kalvex {

namespace {

bool isBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
}

} // namespace

void markLockedHits(std::vector<Orvik2>& hits, const std::string& lockedLayers) {
    if (hits.empty() || isBlank(lockedLayers))
        return;
    for (Orvik2& hit : hits)
        hit.locked = isOnLockedLayer(lockedLayers, hit.lay);
}

} // namespace kalvex
