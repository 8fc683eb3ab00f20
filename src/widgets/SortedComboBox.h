#pragma once

#include <QComboBox>

namespace kalvex {

// A combo box that keeps its items sorted in Japanese collation, however they are added; item
// indices count in that order. The current item stays current when items are added.
class SortedComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit SortedComboBox(QWidget* parent = nullptr);

private:
    void sortItems();
};

} // namespace kalvex
