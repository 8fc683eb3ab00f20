#include "widgets/SortedComboBox.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include <QCollator>
#include <QStandardItemModel>

namespace kalvex {

namespace {

constexpr int kSortKeyRole = Qt::UserRole + 100;

// Japanese collation, as the lists are ordered where their users made them: punctuation
// before digits, Latin before kana, kanji by their readings; letter case only breaks ties.
const QCollator& japaneseCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Japanese, QLocale::Japan));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

bool collatesBefore(const QString& a, const QString& b) {
    const int order = japaneseCollator().compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

} // namespace

SortedComboBox::SortedComboBox(QWidget* parent) : QComboBox(parent) {
    auto* items = new QStandardItemModel(0, 1, this);
    items->setSortRole(kSortKeyRole);
    setModel(items);
    connect(items, &QAbstractItemModel::rowsInserted, this, &SortedComboBox::sortItems);
}

// Every item gets its rank in the collation as its sort key, then the model sorts by rank.
void SortedComboBox::sortItems() {
    auto* items = static_cast<QStandardItemModel*>(model());
    std::vector<int> rows(static_cast<std::size_t>(items->rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [items](int a, int b) {
        return collatesBefore(items->item(a)->text(), items->item(b)->text());
    });
    for (std::size_t rank = 0; rank < rows.size(); ++rank)
        items->item(rows[rank])->setData(static_cast<int>(rank), kSortKeyRole);
    items->sort(0);
}

} // namespace kalvex
