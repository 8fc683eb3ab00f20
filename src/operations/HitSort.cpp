#include "operations/HitSort.h"

#include "sorting/ExchangeOrder.h"

namespace kalvex {

void SortHitsByText(std::vector<Orvik2>& hits, RunWindow& window) {
    if (hits.size() >= 2) {
        window.showProgress("1 / " + std::to_string(hits.size() - 1));
        window.proceed();
        exchangeSortBy(
            hits, [](const Orvik2& hit) -> const std::string& { return hit.text; },
            SortOrder::Ascending);
    }
    window.showProgress({});
}

} // namespace kalvex
