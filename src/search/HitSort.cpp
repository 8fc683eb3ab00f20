#include "search/HitSort.h"

#include <QCoreApplication>
#include <QLabel>

#include "sorting/ExchangeSort.h"

namespace kalvex {

void SortHitsByText(std::vector<Orvik2>& hits, QLabel& label) {
    if (hits.size() >= 2) {
        label.setText(QStringLiteral("1 / %1").arg(hits.size() - 1));
        QCoreApplication::processEvents();
        exchangeSortBy(
            hits, [](const Orvik2& hit) { return QString::fromStdString(hit.text); },
            SortOrder::Ascending);
    }
    label.clear();
}

} // namespace kalvex
