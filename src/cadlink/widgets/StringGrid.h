#pragma once

#include <QRect>
#include <QTableWidget>

namespace kalvex {

// A grid of strings addressed as (column, row), fixed rows and columns included, where every
// cell also holds an integer object slot (0 = no object). Fixed cells are drawn like headers
// and cannot be edited; Qt's own headers are hidden so that the fixed row and column are
// ordinary rows of the grid. Rows and columns added by setRowCount/setColumnCount get their
// cells and styling at once.
class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kObjectRole = Qt::UserRole + 1;

    explicit StringGrid(QWidget* parent = nullptr);

    int fixedCols() const { return m_fixedCols; }
    int fixedRows() const { return m_fixedRows; }
    void setFixed(int cols, int rows);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    int object(int col, int row) const;
    void setObject(int col, int row, int value);

    // The selected rectangle (left, top, right, bottom inclusive), or the current cell when
    // nothing is selected; an invalid rectangle when there is neither.
    QRect selection() const;
    // Selects the rectangle and makes `current` (a corner of it) the current cell.
    void setSelection(const QRect& range, const QPoint& current);

    void setDefaultRowHeight(int height);
    bool isFixedCell(int col, int row) const { return col < m_fixedCols || row < m_fixedRows; }

private:
    QTableWidgetItem* itemAt(int col, int row);
    void styleCell(int col, int row);
    void styleCells(int firstRow, int lastRow, int firstCol, int lastCol);
    void styleAllCells();

    int m_fixedCols = 0;
    int m_fixedRows = 0;
};

} // namespace kalvex
