#pragma once

#include <QStyledItemDelegate>

namespace kalvex {

class StringGrid;

// The string grid's cell editor and painter: it draws a cell's text from the top left corner
// in the colours the grid's cellLook hook gives, names the editor after the grid, and hands
// Enter typed in the open editor to the grid.
class GridCellDelegate : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(StringGrid& grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    // Public so that the colours a cell is drawn with can be read.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    StringGrid& m_grid;
};

} // namespace kalvex
