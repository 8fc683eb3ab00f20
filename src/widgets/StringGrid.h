#pragma once

#include <functional>

#include <QColor>
#include <QPersistentModelIndex>
#include <QRect>
#include <QTableWidget>

namespace kalvex {

// The colours the owner of a grid wants a cell drawn in; an invalid colour leaves the grid's
// own. A background of the owner's covers the selection highlight, as a fill painted after
// the grid's own drawing would.
struct CellLook {
    QColor background;
    QColor text;
};

// A grid of strings addressed as (column, row), fixed rows and columns included, where every
// cell also holds an integer object slot (0 = no object). Fixed cells are drawn like headers
// and cannot be edited; Qt's own headers are hidden so that the fixed row and column are
// ordinary rows of the grid. The current cell and the selected range always lie within the
// data cells: no key, click or drag makes a fixed cell current or part of the range. Rows and
// columns added by setRowCount/setColumnCount get their cells and styling at once.
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

    // The data cells: every cell outside the fixed rows and columns; empty when there is none.
    QRect dataCells() const;
    // The selected rectangle (left, top, right, bottom inclusive) within the data cells, or
    // the current cell when nothing is selected; an invalid rectangle when there is neither.
    QRect selection() const;
    // Selects the rectangle's data cells and makes `current` (a corner of it, moved into the
    // data cells) the current cell.
    void setSelection(const QRect& range, const QPoint& current);
    // Every data cell.
    void selectAll() override;

    // Switches the cell editor on or off for every cell; fixed cells are never edited.
    void setEditing(bool on) { m_editing = on; }
    bool editing() const { return m_editing; }
    // The cell editor is open, or the key hook is hearing of the Enter that closed it.
    bool editorOpen() const { return editorShown() || m_enterFromEditor; }

    // Enter, typed in the grid or in its open cell editor. An open editor puts its text into
    // the cell and closes; then the key hook hears of the key with the editor still counting
    // as open, so that a hook that puts a cell back or moves the current cell is not undone
    // by the editor. With the editor closed, the hook runs first and then, unless it consumed
    // the key, the editor opens on the current cell.
    void enterKey(int key, Qt::KeyboardModifiers shift);

    // Hooks the owner of the grid sets. keyDown runs before the grid's own key handling (and
    // for Enter in the open editor, see enterKey); setting the key to 0 consumes it.
    // getEditText runs each time the cell editor opens on a cell. cellLook gives the colours
    // of a cell each time it is drawn. fixedCellClick reports a left click on a fixed cell.
    std::function<void(int& key, Qt::KeyboardModifiers shift)> keyDown;
    std::function<void(int col, int row)> getEditText;
    std::function<CellLook(int col, int row)> cellLook;
    std::function<void(int col, int row)> fixedCellClick;

    void setDefaultRowHeight(int height);
    bool isFixedCell(int col, int row) const { return col < m_fixedCols || row < m_fixedRows; }

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool editorShown() const { return state() == QAbstractItemView::EditingState; }
    // The data cell nearest to the index; an invalid index when there are no data cells.
    QModelIndex nearestDataCell(const QModelIndex& index) const;
    void runKeyDown(int& key, Qt::KeyboardModifiers shift);
    void closeEditorKeepingEdit();
    void openEditorOnCurrentCell();
    QTableWidgetItem* itemAt(int col, int row);
    void styleCell(int col, int row);
    void styleCells(int firstRow, int lastRow, int firstCol, int lastCol);
    void styleAllCells();

    int m_fixedCols = 0;
    int m_fixedRows = 0;
    bool m_editing = true;
    bool m_enterFromEditor = false;
    QPersistentModelIndex m_editedCell;
};

} // namespace kalvex
