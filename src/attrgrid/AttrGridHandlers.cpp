#include "attrgrid/AttrGridHandlers.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "attrgrid/AttrGridFetch.h"
#include "attrgrid/AttrGridPage.h"
#include "attrgrid/GridPopupMenu.h"
#include "attrgrid/SortGridRows.h"
#include "cadlink/AttributeReference.h"
#include "cadlink/HandOff.h"
#include "grid/GridClipboardKey.h"
#include "grid/TUndoCells.h"
#include "operations/ViewFollow.h"
#include "operations/attrgrid/AttrGridUpdate.h"
#include "platform/ErrorReport.h"
#include "platform/Ports.h"
#include "runwindow/QtRunWindow.h"
#include "transform/GridTarget.h"
#include "widgets/StringGrid.h"
#include "workstate/WorkState.h"

namespace kalvex {

namespace {

const QColor kNoAttributeColour(192, 192, 192);
const QColor kChangedColour(255, 0, 0);

class UndoCellsAdapter : public CellUndo {
public:
    explicit UndoCellsAdapter(TUndoCells& cells) : m_cells(cells) {}
    void Add(StringGrid& grid, int col, int row) override { m_cells.Add(grid, col, row); }

private:
    TUndoCells& m_cells;
};

// The record of a cell's attribute, or null for a cell without one.
nAtt* attributeOf(WorkState& work, const StringGrid& grid, int col, int row) {
    const int index = grid.object(col, row);
    std::vector<nAtt>& attrs = work.records.gridAttrs;
    if (index < 1 || attrs.empty() || index > static_cast<int>(attrs.size()))
        return nullptr;
    return &attrs[static_cast<std::size_t>(index - 1)];
}

} // namespace

AttrGridHandlers::AttrGridHandlers(AttrGridContext context)
    : m_context(context), m_cellUndo(std::make_unique<UndoCellsAdapter>(context.FUndoCells)) {
    connectControls();
    connectGrid();
}

AttrGridHandlers::~AttrGridHandlers() {
    StringGrid& g = grid();
    g.keyDown = nullptr;
    g.getEditText = nullptr;
    g.fixedCellClick = nullptr;
    g.cellLook = nullptr;
}

StringGrid& AttrGridHandlers::grid() const {
    return *m_context.page.StringGrid1;
}

void AttrGridHandlers::connectControls() {
    AttrGridPage& page = m_context.page;
    ErrorReport& errors = m_context.errors;
    QObject::connect(page.SpeedButton10, &QPushButton::clicked, &page,
                     errors.guarded([this] { SpeedButton10Click(); }));
    QObject::connect(page.SpeedButton11, &QPushButton::clicked, &page,
                     errors.guarded([this] { SpeedButton11Click(); }));
    QObject::connect(page.SpeedButton13, &QPushButton::clicked, &page,
                     errors.guarded([this] { SpeedButton13Click(); }));
    const std::pair<QPushButton*, const char*> sorts[] = {
        {page.SpeedButton16, "N40"}, {page.SpeedButton17, "N41"}, {page.SpeedButton18, "N43"}};
    void (AttrGridHandlers::*handlers[])() = {
        &AttrGridHandlers::N40Click, &AttrGridHandlers::N41Click, &AttrGridHandlers::N43Click};
    for (int i = 0; i < 3; ++i) {
        auto run = errors.guarded([this, h = handlers[i]] { (this->*h)(); });
        QObject::connect(sorts[i].first, &QPushButton::clicked, &page, run);
        if (auto* item = page.PopupMenu2->findChild<QAction*>(QString::fromLatin1(sorts[i].second)))
            QObject::connect(item, &QAction::triggered, &page, run);
    }
}

void AttrGridHandlers::connectGrid() {
    StringGrid& g = grid();
    ErrorReport& errors = m_context.errors;
    g.keyDown = [this](int& key, Qt::KeyboardModifiers shift) {
        m_context.errors.run([this, &key, shift] { StringGrid1KeyDown(key, shift); });
    };
    g.getEditText = [this](int col, int row) { StringGrid1GetEditText(col, row); };
    g.fixedCellClick = [this](int col, int row) { StringGrid1FixedCellClick(col, row); };
    g.cellLook = [this](int col, int row) { return StringGrid1DrawCell(col, row); };
    QObject::connect(&g, &QTableWidget::currentCellChanged, &g,
                     errors.guarded([this] { StringGrid1Click(); }));
    QObject::connect(&g, &QTableWidget::cellClicked, &g,
                     errors.guarded([this] { StringGrid1Click(); }));
    // A fetch refills the grid with its updates held back and fits the columns once it is
    // done: measuring every cell as it is set would cost more than the fetch itself.
    QObject::connect(&g, &QTableWidget::cellChanged, &g, [&g](int row, int col) {
        if (g.updatesEnabled())
            WidenColumnForCell(g, col, row);
    });
}

// The grid is made the tool window's focus widget, so that it takes the keys once the window
// system activates the tool again, whatever had the focus before the fetch.
void AttrGridHandlers::SpeedButton10Click() {
    kalvex::SpeedButton10Click(m_context);
    grid().setFocus(Qt::OtherFocusReason);
}

// Every cell with an attribute is written, changed or not; a cell that fails is skipped.
void AttrGridHandlers::SpeedButton11Click() {
    StringGrid& g = grid();
    std::vector<GridEdit> edits;
    for (int row = 1; row < g.rowCount(); ++row) {
        for (int col = 1; col < g.columnCount(); ++col) {
            if (nAtt* record = attributeOf(m_context.work, g, col, row))
                edits.push_back({record, g.cell(col, row).toStdString()});
        }
    }
    QtRunWindow window(m_context.ports.messages);
    EntityRecords& records = m_context.work.records;
    const SealedRecords sealed = sealedRecords(records.gridSeal, records.gridAttrs);
    WriteGridCells(m_context.link, records.gridSource, edits, window, &sealed);
    g.viewport()->update();
}

void AttrGridHandlers::SpeedButton13Click() {
    undoBatchRepeat(grid(), {m_context.FUndoCells, m_context.work.sgUndoCnt});
}

void AttrGridHandlers::StringGrid1KeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        enterKey();
        return;
    }
    if (key == Qt::Key_Z && shift.testFlag(Qt::ControlModifier)) {
        key = 0;
        undoBatchOnce(grid(), {m_context.FUndoCells, m_context.work.sgUndoCnt});
        return;
    }
    GridClipboardKey(grid(), key, shift,
                     {m_context.ports.clipboard,
                      m_context.ports.messages,
                      {m_context.FUndoCells, m_context.work.sgUndoCnt}});
}

void AttrGridHandlers::enterKey() {
    if (m_context.page.CheckBox7->isChecked()) {
        const nAtt* record =
            attributeOf(m_context.work, grid(), grid().currentColumn(), grid().currentRow());
        if (record &&
            grid().cell(grid().currentColumn(), grid().currentRow()).toStdString() != record->text)
            writeCurrentCell();
    }
    moveAfterEnter();
}

// Writes the current cell to its attribute and takes the drawing's reading back. A failure
// puts the value before the edit back into the cell. Not finding the document is no cell
// failure: it ends the handler and is reported.
bool AttrGridHandlers::writeCurrentCell() {
    StringGrid& g = grid();
    const int col = g.currentColumn();
    const int row = g.currentRow();
    nAtt* record = attributeOf(m_context.work, g, col, row);
    QtRunWindow window(m_context.ports.messages);
    EntityRecords& records = m_context.work.records;
    const WriteBack written =
        WriteGridCell(m_context.link, records.gridSource, *record, g.cell(col, row).toStdString(),
                      window, &records.gridSeal);
    if (written == WriteBack::Refused)
        g.setCell(col, row, QString::fromStdString(record->text));
    return written == WriteBack::Done;
}

void AttrGridHandlers::moveAfterEnter() {
    StringGrid& g = grid();
    const int col = g.currentColumn();
    const int row = g.currentRow();
    const int lastRow = g.rowCount() - 1;
    if (m_context.page.CheckBox2->isChecked()) {
        if (g.editorOpen())
            g.setCurrentCell(row == lastRow ? 1 : row + 1, col);
        return;
    }
    if (col != g.columnCount() - 1 && g.object(col + 1, row) > 0)
        g.setCurrentCell(row, col + 1);
    else if (row != lastRow && g.object(1, row + 1) > 0)
        g.setCurrentCell(row + 1, 1);
}

void AttrGridHandlers::StringGrid1Click() {
    StringGrid& g = grid();
    const nAtt* record = attributeOf(m_context.work, g, g.currentColumn(), g.currentRow());
    if (!record) {
        m_context.statusPanel0.clear();
        m_context.statusPanel1.clear();
        g.setEditing(false);
        return;
    }
    m_context.statusPanel0.setText(QString::fromStdString(record->sHnd));
    g.setEditing(true);
    if (!m_context.page.CheckBox6->isChecked())
        return;
    m_context.statusPanel1.setText(QString::fromStdString(record->text));
    followRecord(m_context.link, m_context.work.records.gridSource, record->insPt);
}

void AttrGridHandlers::StringGrid1GetEditText(int col, int row) {
    m_context.work.sgUndoCnt = 1;
    m_context.FUndoCells.Add(grid(), col, row);
}

void AttrGridHandlers::StringGrid1FixedCellClick(int col, int row) {
    StringGrid& g = grid();
    const int lastCol = g.columnCount() - 1;
    const int lastRow = g.rowCount() - 1;
    QRect range;
    if (col == 0 && row == 0)
        range = QRect(QPoint(g.fixedCols(), g.fixedRows()), QPoint(lastCol, lastRow));
    else if (row == 0)
        range = QRect(QPoint(col, g.fixedRows()), QPoint(col, lastRow));
    else
        range = QRect(QPoint(g.fixedCols(), row), QPoint(lastCol, row));
    if (range.isValid())
        g.setSelection(range, range.topLeft());
    g.viewport()->update();
}

// A cell without an attribute is grey all over, its text drawn in the fill colour so that it
// is hidden; a pending change is drawn red.
CellLook AttrGridHandlers::StringGrid1DrawCell(int col, int row) const {
    StringGrid& g = grid();
    if (g.isFixedCell(col, row))
        return {};
    if (g.object(col, row) < 1)
        return {.background = kNoAttributeColour, .text = kNoAttributeColour};
    const nAtt* record = attributeOf(m_context.work, g, col, row);
    if (!record || g.cell(col, row).toStdString() == record->text)
        return {};
    return {.text = kChangedColour};
}

// 現在のセルを昇順にソート（文字）: sorts the rows by the current column as text
void AttrGridHandlers::N40Click() {
    if (grid().currentColumn() > 0)
        SortGridRows(grid(), grid().currentColumn(), -1, RowKey::Text);
}

// 現在のセルを昇順にソート（数字）: sorts the rows by the current column as numbers
void AttrGridHandlers::N41Click() {
    if (grid().currentColumn() > 0)
        SortGridRows(grid(), grid().currentColumn(), -1, RowKey::Number);
}

// 取得順に戻す: puts the rows back in the order they were fetched
void AttrGridHandlers::N43Click() {
    SortGridRows(grid(), 0, -1, RowKey::Number);
}

} // namespace kalvex
