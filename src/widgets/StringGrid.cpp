#include "widgets/StringGrid.h"

#include <QSignalBlocker>

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include "widgets/GridCellDelegate.h"

namespace kalvex {

namespace {

// A cell of a column filled by setRows. It keeps its text and object in two fields of its own
// instead of the item's list of role values: no list to allocate, grow and search per cell,
// which counts when hundreds of thousands of rows are filled, and a change (a paste into every
// row) replaces the field in place. The grid hears of a change as of any other cell's.
class FilledCell : public QTableWidgetItem {
public:
    FilledCell(const QString& text, int object) : m_text(text), m_object(object) {}

    QTableWidgetItem* clone() const override { return new FilledCell(*this); }

    QVariant data(int role) const override {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return m_text;
        if (role == StringGrid::kObjectRole)
            return m_object;
        return QTableWidgetItem::data(role);
    }

    void setData(int role, const QVariant& value) override {
        QVariant* field = nullptr;
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            field = &m_text;
        else if (role == StringGrid::kObjectRole)
            field = &m_object;
        if (!field) {
            QTableWidgetItem::setData(role, value);
            return;
        }
        if (*field == value)
            return;
        *field = value;
        // What the item's own setData tells its grid of a change.
        if (QTableWidget* table = tableWidget()) {
            QAbstractItemModel* model = table->model();
            const QModelIndex index = model->index(row(), column());
            const QList<int> roles =
                field == &m_text ? QList<int>{Qt::DisplayRole, Qt::EditRole} : QList<int>{role};
            emit model->dataChanged(index, index, roles);
        }
    }

private:
    QVariant m_text;
    QVariant m_object;
};

} // namespace

StringGrid::StringGrid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setMinimumSectionSize(8);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setItemDelegate(new GridCellDelegate(*this));
    connect(model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                if (!m_fillingRows)
                    styleCells(first, last, 0, columnCount() - 1);
            });
    connect(model(), &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                styleCells(0, rowCount() - 1, first, last);
            });
}

void StringGrid::setFixed(int cols, int rows) {
    m_fixedCols = cols;
    m_fixedRows = rows;
    styleAllCells();
}

QString StringGrid::cell(int col, int row) const {
    const QTableWidgetItem* cellItem = item(row, col);
    return cellItem ? cellItem->text() : QString();
}

void StringGrid::setCell(int col, int row, const QString& text) {
    if (QTableWidgetItem* cellItem = itemAt(col, row))
        cellItem->setText(text);
}

void StringGrid::setRows(int rows, int col, const std::function<CellContent(int row)>& cellOf) {
    setRowCount(0);
    {
        const QScopedValueRollback filling(m_fillingRows, true);
        setRowCount(rows);
    }
    {
        // Each cell put in would tell the view of its change: the view hears once, of them all.
        const QSignalBlocker quietModel(model());
        for (int row = 0; row < rows; ++row) {
            for (int c = 0; c < columnCount(); ++c) {
                QTableWidgetItem* cellItem = nullptr;
                if (c == col) {
                    const CellContent content = cellOf(row);
                    cellItem = new FilledCell(content.text, content.object);
                } else {
                    cellItem = new QTableWidgetItem;
                }
                styleItem(*cellItem, c, row);
                setItem(row, c, cellItem);
            }
        }
    }
    if (rows > 0 && columnCount() > 0)
        emit model()->dataChanged(model()->index(0, 0),
                                  model()->index(rows - 1, columnCount() - 1));
}

int StringGrid::object(int col, int row) const {
    const QTableWidgetItem* cellItem = item(row, col);
    return cellItem ? cellItem->data(kObjectRole).toInt() : 0;
}

void StringGrid::setObject(int col, int row, int value) {
    if (QTableWidgetItem* cellItem = itemAt(col, row))
        cellItem->setData(kObjectRole, value);
}

QRect StringGrid::dataCells() const {
    return QRect(QPoint(m_fixedCols, m_fixedRows), QPoint(columnCount() - 1, rowCount() - 1));
}

QRect StringGrid::selection() const {
    QRect range;
    for (const QTableWidgetSelectionRange& selected : selectedRanges())
        range |= QRect(QPoint(selected.leftColumn(), selected.topRow()),
                       QPoint(selected.rightColumn(), selected.bottomRow()));
    range &= dataCells();
    const QPoint current(currentColumn(), currentRow());
    if (range.isEmpty() && dataCells().contains(current))
        range = QRect(current, current);
    return range;
}

void StringGrid::setSelection(const QRect& range, const QPoint& current) {
    clearSelection();
    const QModelIndex corner = nearestDataCell(model()->index(current.y(), current.x()));
    if (corner.isValid())
        setCurrentIndex(corner);
    const QRect cells = range & dataCells();
    if (!cells.isEmpty())
        setRangeSelected(
            QTableWidgetSelectionRange(cells.top(), cells.left(), cells.bottom(), cells.right()),
            true);
}

void StringGrid::selectAll() {
    const QRect cells = dataCells();
    if (cells.isEmpty())
        return;
    clearSelection();
    setRangeSelected(
        QTableWidgetSelectionRange(cells.top(), cells.left(), cells.bottom(), cells.right()), true);
}

QModelIndex StringGrid::nearestDataCell(const QModelIndex& index) const {
    const QRect cells = dataCells();
    if (cells.isEmpty())
        return {};
    const int row = qBound(cells.top(), index.isValid() ? index.row() : 0, cells.bottom());
    const int col = qBound(cells.left(), index.isValid() ? index.column() : 0, cells.right());
    return model()->index(row, col);
}

bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!m_editing)
        return false;
    const bool wasShown = editorShown();
    const bool opened = QTableWidget::edit(index, trigger, event);
    if (!opened || wasShown || !editorShown())
        return opened;
    m_editedCell = index;
    if (getEditText)
        getEditText(index.column(), index.row());
    return opened;
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        enterKey(key, event->modifiers());
        event->accept();
        return;
    }
    runKeyDown(key, event->modifiers());
    if (key == 0)
        event->accept();
    else
        QTableWidget::keyPressEvent(event);
}

void StringGrid::enterKey(int key, Qt::KeyboardModifiers shift) {
    if (editorShown()) {
        closeEditorKeepingEdit();
        const QScopedValueRollback fromEditor(m_enterFromEditor, true);
        runKeyDown(key, shift);
        return;
    }
    runKeyDown(key, shift);
    if (key != 0)
        openEditorOnCurrentCell();
}

void StringGrid::runKeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (keyDown)
        keyDown(key, shift);
}

void StringGrid::closeEditorKeepingEdit() {
    QWidget* editor = indexWidget(m_editedCell);
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// Through the trigger rather than editItem, which warns about a cell that cannot be edited.
void StringGrid::openEditorOnCurrentCell() {
    if (currentIndex().isValid())
        edit(currentIndex(), QAbstractItemView::EditKeyPressed, nullptr);
}

QModelIndex StringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    return nearestDataCell(QTableWidget::moveCursor(action, modifiers));
}

// A press on a fixed cell never makes it current; a left click is the owner's to handle.
void StringGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || !isFixedCell(index.column(), index.row())) {
        QTableWidget::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton && fixedCellClick)
        fixedCellClick(index.column(), index.row());
    event->accept();
}

void StringGrid::setDefaultRowHeight(int height) {
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(height);
}

// Cells outside the grid are ignored, as a string grid ignores them.
QTableWidgetItem* StringGrid::itemAt(int col, int row) {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount())
        return nullptr;
    QTableWidgetItem* cellItem = item(row, col);
    if (!cellItem) {
        cellItem = new QTableWidgetItem;
        setItem(row, col, cellItem);
        styleCell(col, row);
    }
    return cellItem;
}

void StringGrid::styleItem(QTableWidgetItem& cellItem, int col, int row) {
    if (isFixedCell(col, row)) {
        cellItem.setFlags(Qt::ItemIsEnabled);
        cellItem.setBackground(palette().button());
    } else {
        cellItem.setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        if (cellItem.data(Qt::BackgroundRole).isValid())
            cellItem.setData(Qt::BackgroundRole, QVariant());
    }
}

void StringGrid::styleCell(int col, int row) {
    if (QTableWidgetItem* cellItem = item(row, col))
        styleItem(*cellItem, col, row);
}

// Every cell gets an item, so that fixed cells show as fixed even while empty. A new item is
// styled before it goes into the grid, which then tells the view of it once.
void StringGrid::styleCells(int firstRow, int lastRow, int firstCol, int lastCol) {
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            if (QTableWidgetItem* cellItem = item(row, col)) {
                styleItem(*cellItem, col, row);
                continue;
            }
            auto* cellItem = new QTableWidgetItem;
            styleItem(*cellItem, col, row);
            setItem(row, col, cellItem);
        }
    }
}

void StringGrid::styleAllCells() {
    styleCells(0, rowCount() - 1, 0, columnCount() - 1);
}

} // namespace kalvex
