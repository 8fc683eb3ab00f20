#include "search/HitEditor.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "cadlink/HandOff.h"
#include "cadlink/Text.h"
#include "grid/GridClipboardKey.h"
#include "operations/ViewFollow.h"
#include "operations/search/HitEditor.h"
#include "platform/ErrorReport.h"
#include "platform/Ports.h"
#include "runwindow/QtRunWindow.h"
#include "search/HitGrid.h"
#include "search/SearchPage.h"
#include "widgets/StringGrid.h"
#include "workstate/WorkState.h"

namespace kalvex {

namespace {

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

const QColor kLockedBackground(0xC0, 0xC0, 0xC0);
const QColor kChangedText(0xFF, 0x00, 0x00);

} // namespace

HitEditor::HitEditor(SearchContext& context) : QObject(nullptr), m_context(context) {
    StringGrid& searchGrid = grid();
    searchGrid.keyDown = [this](int& key, Qt::KeyboardModifiers shift) {
        m_context.errors.run([this, &key, shift] { StringGrid2KeyDown(key, shift); });
    };
    searchGrid.getEditText = [this](int col, int row) { StringGrid2GetEditText(col, row); };
    searchGrid.cellLook = [this](int col, int row) { return StringGrid2DrawCell(col, row); };
    connect(&searchGrid, &QTableWidget::currentCellChanged, this,
            m_context.errors.guarded([this] { StringGrid2Click(); }));
    connect(&searchGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        m_context.errors.run([this, item] { cellEdited(item); });
    });
    connect(m_context.page.SpeedButton15, &QPushButton::clicked, this,
            m_context.errors.guarded([this] { SpeedButton15Click(); }));
}

HitEditor::~HitEditor() {
    StringGrid& searchGrid = grid();
    searchGrid.keyDown = nullptr;
    searchGrid.getEditText = nullptr;
    searchGrid.cellLook = nullptr;
}

StringGrid& HitEditor::grid() const {
    return *m_context.page.StringGrid2;
}

std::vector<Orvik2>& HitEditor::hits() const {
    return m_context.work.records.searchHits;
}

// Locked hits on silver, changed ones in red; a row without a hit keeps the grid's colours.
CellLook HitEditor::StringGrid2DrawCell(int /*col*/, int row) const {
    const Orvik2* hit = hitOfRow(hits(), grid(), row);
    if (!hit)
        return {};
    CellLook look;
    if (hit->locked)
        look.background = kLockedBackground;
    if (isChangedRow(*hit, grid(), row))
        look.text = kChangedText;
    return look;
}

void HitEditor::StringGrid2Click() {
    const int row = grid().currentRow();
    m_context.page.Label6->setText(QStringLiteral("%1 / %2").arg(row + 1).arg(grid().rowCount()));
    const Orvik2* hit = hitOfRow(hits(), grid(), row);
    if (!hit || grid().cell(0, row).isEmpty()) {
        m_context.statusPanel0.clear();
        m_context.page.Label6->clear();
        return;
    }
    m_context.statusPanel0.setText(fromStd(hit->sHnd));
    m_context.statusPanel1.setText(QString::asprintf("%.3f, %.3f", hit->insPt.x(), hit->insPt.y()));
    followRecord(m_context.link, m_context.work.records.searchSource, hit->insPt);
}

// A cell is never left empty: it shows the fetched string again. A change to the drawn
// string makes the update button available.
void HitEditor::cellEdited(QTableWidgetItem* item) {
    const int row = item->row();
    const Orvik2* hit = hitOfRow(hits(), grid(), row);
    if (!hit)
        return;
    if (grid().cell(0, row).isEmpty() && !hit->text.empty())
        grid().setCell(0, row, fromStd(hit->text));
    else if (isChangedRow(*hit, grid(), row))
        m_context.page.SpeedButton15->setEnabled(true);
}

void HitEditor::StringGrid2KeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_Z && shift.testFlag(Qt::ControlModifier)) {
        key = 0;
        undoBatchOnce(grid(), {FUndoCells2, m_context.work.sgUndoCnt2});
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        enterKey();
        return;
    }
    GridClipboardKey(grid(), key, shift,
                     {m_context.ports.clipboard,
                      m_context.ports.messages,
                      {FUndoCells2, m_context.work.sgUndoCnt2}});
}

// Each opening of the editor saves the cell, so that one undo takes the edit back.
void HitEditor::StringGrid2GetEditText(int col, int row) {
    m_context.work.sgUndoCnt2 = 1;
    FUndoCells2.Add(grid(), col, row);
}

void HitEditor::clearUndo() {
    FUndoCells2.Clear();
    m_context.work.sgUndoCnt2 = 0;
}

void HitEditor::enterKey() {
    const int row = grid().currentRow();
    Orvik2* hit = hitOfRow(hits(), grid(), row);
    if (m_context.page.CheckBox5->isChecked() && hit && !grid().cell(0, row).isEmpty() &&
        isChangedRow(*hit, grid(), row)) {
        writeCurrentRow(row, *hit);
        StringGrid2Click();
    }
    if (m_context.page.CheckBox8->isChecked() && grid().editorOpen())
        moveDownWrapping();
}

// A locked hit is never written: its cell goes back to the drawing's string, as it does when
// the write fails.
void HitEditor::writeCurrentRow(int row, Orvik2& hit) {
    QtRunWindow window(m_context.ports.messages);
    EntityRecords& records = m_context.work.records;
    const WriteBack written =
        WriteSearchHit(m_context.link, records.searchSource, hit, grid().cell(0, row).toStdString(),
                       window, &records.searchSeal);
    if (written == WriteBack::NoCad || written == WriteBack::DrawingClosed ||
        written == WriteBack::DrawingChanged)
        return;
    if (written == WriteBack::Refused)
        grid().setCell(0, row, fromStd(hit.text));
    if (!hit.locked)
        grid().viewport()->update();
}

void HitEditor::moveDownWrapping() {
    const int next = grid().currentRow() + 1;
    grid().setCurrentCell(next < grid().rowCount() ? next : 0, 0);
}

void HitEditor::SpeedButton15Click() {
    BulkWriteCount count;
    if (!hits().empty()) {
        QtRunWindow window(m_context.ports.messages);
        EntityRecords& records = m_context.work.records;
        const SealedRecords sealed = sealedRecords(records.searchSeal, records.searchHits);
        const HitWriteResult result =
            WriteSearchHits(m_context.link, records.searchSource, changedRows(), window, &sealed);
        if (result.outcome == WriteBack::DrawingClosed ||
            result.outcome == WriteBack::DrawingChanged)
            return;
        if (result.outcome == WriteBack::Done)
            m_context.page.SpeedButton15->setEnabled(false);
        count = result.count;
    }
    grid().viewport()->update();
    m_context.ports.messages.show({QString::fromStdString(bulkWriteMessage(count)),
                                   MessageIcon::Information, MessageButtons::Ok});
}

std::vector<HitEdit> HitEditor::changedRows() {
    std::vector<HitEdit> edits;
    edits.reserve(static_cast<std::size_t>(grid().rowCount()));
    for (int row = 0; row < grid().rowCount(); ++row) {
        Orvik2* hit = hitOfRow(hits(), grid(), row);
        if (hit && isChangedRow(*hit, grid(), row))
            edits.push_back({hit, grid().cell(0, row).toStdString()});
    }
    return edits;
}

} // namespace kalvex
