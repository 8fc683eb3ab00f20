#include "sorting/TextRecordSort.h"

#include <algorithm>

#include "sorting/ExchangeOrder.h"

namespace kalvex {

namespace {

constexpr int kByX = 0;
constexpr int kByY = 1;
constexpr int kByLargerExtent = 3;

int modeForExtents(const std::vector<Orvik>& records) {
    double minX = records.front().insPt.x(), maxX = minX;
    double minY = records.front().insPt.y(), maxY = minY;
    for (const Orvik& r : records) {
        minX = std::min(minX, r.insPt.x());
        maxX = std::max(maxX, r.insPt.x());
        minY = std::min(minY, r.insPt.y());
        maxY = std::max(maxY, r.insPt.y());
    }
    return (maxY - minY) < (maxX - minX) ? kByX : kByY;
}

} // namespace

void SortTextRecords(std::vector<Orvik>& textRecords, int mode) {
    if (textRecords.size() < 2)
        return;
    if (mode >= kByLargerExtent)
        mode = modeForExtents(textRecords);
    if (mode == kByX)
        exchangeSortBy(
            textRecords, [](const Orvik& r) { return r.insPt.x(); }, SortOrder::Ascending);
    else if (mode == kByY)
        exchangeSortBy(
            textRecords, [](const Orvik& r) { return r.insPt.y(); }, SortOrder::Descending);
}

} // namespace kalvex
