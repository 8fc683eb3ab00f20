#pragma once

#include <QStyledItemDelegate>

namespace kalvex {

class StringGrid;

// The string grid's cell editor and painter: it draws a cell as usual and then lets the
// grid's after-draw hook paint over it, and it hands Enter typed in the open editor to the
// grid's key hook once the edited text is in the cell.
class GridCellDelegate : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(StringGrid& grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    StringGrid& m_grid;
};

} // namespace kalvex
