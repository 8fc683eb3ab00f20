#include "widgets/SortedComboBox.h"

#include <QStandardItemModel>

namespace kalvex {

namespace {

constexpr int kSortKeyRole = Qt::UserRole + 100;

} // namespace

SortedComboBox::SortedComboBox(QWidget* parent) : QComboBox(parent) {
    auto* items = new QStandardItemModel(0, 1, this);
    items->setSortRole(kSortKeyRole);
    setModel(items);
    connect(items, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { sortFrom(first, last); });
}

// The new rows get their sort key, then the whole list is sorted again.
void SortedComboBox::sortFrom(int first, int last) {
    auto* items = static_cast<QStandardItemModel*>(model());
    for (int row = first; row <= last; ++row) {
        QStandardItem* item = items->item(row);
        item->setData(item->text().toCaseFolded(), kSortKeyRole);
    }
    items->sort(0);
}

} // namespace kalvex
