#include "transform/GridCommands.h"

#include <QLineEdit>

#include "textaids/AddToNumber.h"
#include "textaids/MenuConversions.h"
#include "textaids/ReplaceText.h"
#include "textaids/SerialNumbers.h"
#include "textaids/WidthMapping.h"
#include "transform/QtText.h"
#include "transform/TransformDialogs.h"
#include "widgets/StringGrid.h"

namespace kalvex {

GridCommands::GridCommands(GridTarget target, TransformDialogs& dialogs, Ports ports)
    : m_target(target), m_dialogs(dialogs), m_ports(ports) {}

// A command that saved no cell leaves an empty batch: UNDO then takes nothing back.
void GridCommands::finishBatch(int count) {
    m_target.state.sgUndoCnt = count;
}

// Row by row from the top, left to right. With Record::EveryCell every cell is saved and
// counted, changed or not; otherwise only the cells that change.
void GridCommands::convertCells(const CellConversion& convert, Record record) {
    StringGrid& grid = m_target.StringGrid1;
    const QRect cells = grid.selection();
    int count = 0;
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        for (int col = cells.left(); col <= cells.right(); ++col) {
            const std::optional<QString> text = convert(grid.cell(col, row));
            if (record == Record::ChangedCells && !text)
                continue;
            m_target.undo.Add(grid, col, row);
            if (text)
                grid.setCell(col, row, *text);
            ++count;
        }
    }
    finishBatch(count);
}

// 選択範囲のスペース以外を全角に: the selected cells to full width but for spaces
// A space stays a space: an ideographic space, typed or produced, becomes U+0020.
void GridCommands::N32Click() {
    convertCells(
        [](const QString& cell) {
            return std::optional(toQString(ToFullWidthButSpaces(viewOf(cell))));
        },
        Record::EveryCell);
}

// 選択範囲を半角に: the selected cells to half width
void GridCommands::N33Click() {
    convertCells(
        [](const QString& cell) { return std::optional(toQString(ToHalfWidth(viewOf(cell)))); },
        Record::EveryCell);
}

// 選択範囲を置換: replaces a string in the selected cells, asked for in the replace dialog
void GridCommands::N35Click() {
    TOrvikTikanForm& form = m_dialogs.tikan;
    const QRect cells = m_target.StringGrid1.selection();
    if (!cells.isEmpty())
        form.Edit1->setText(m_target.StringGrid1.cell(cells.left(), cells.top()));
    if (m_ports.dialogs.exec(form) != QDialog::Accepted || form.Edit1->text().isEmpty())
        return;
    const std::u16string search = toU16(form.Edit1->text());
    const std::u16string replacement = toU16(form.Edit2->text());
    convertCells(
        [&](const QString& cell) {
            return std::optional(
                toQString(ReplaceText(viewOf(cell), search, replacement, CaseMatch::Exact)));
        },
        Record::EveryCell);
}

// 選択範囲の半角数字を加算: adds the dialog's addend to the selected cells; undo keeps changed ones
void GridCommands::N36Click() {
    addCells(Record::ChangedCells);
}

// 選択範囲を加算: adds the dialog's addend to the selected cells; undo keeps every selected one
void GridCommands::N44Click() {
    addCells(Record::EveryCell);
}

// Blank cells and cells without a number are left as they are.
void GridCommands::addCells(Record record) {
    TOrvikKasanForm& form = m_dialogs.kasan;
    if (m_ports.dialogs.exec(form) != QDialog::Accepted || form.addend() == 0)
        return;
    const NumberRule rule = form.rule();
    const std::int32_t addend = form.addend();
    EventSlicer events(m_target.eventSlice);
    convertCells(
        [&](const QString& cell) -> std::optional<QString> {
            if (isBlank(viewOf(cell)))
                return std::nullopt;
            const std::optional<std::u16string> sum = AddToNumber(viewOf(cell), rule, addend);
            if (sum && record == Record::EveryCell)
                events.tick();
            return sum ? std::optional(toQString(*sum)) : std::nullopt;
        },
        record);
}

} // namespace kalvex

namespace kalvex {

namespace {

// The rows a series is written to: the selected rows, or with a single selected row, the rows
// from the current one to the last.
std::pair<int, int> serialRows(const StringGrid& grid) {
    const QRect cells = grid.selection();
    if (cells.height() > 1)
        return {cells.top(), cells.bottom()};
    return {qMax(grid.currentRow(), grid.fixedRows()), grid.rowCount() - 1};
}

} // namespace

// 連番作成: writes a series of numbered strings down the current column
// Rows are never added: items beyond the last target row are dropped.
void GridCommands::N31Click() {
    TOrvikRenbanForm& form = m_dialogs.renban;
    form.setTarget(SerialTarget::Grid);
    const int result = m_ports.dialogs.exec(form);
    form.setTarget(SerialTarget::Editor);
    StringGrid& grid = m_target.StringGrid1;
    const int col = grid.currentColumn();
    const SerialSeries series(form.input());
    if (result != QDialog::Accepted || !series.isValid() || col < grid.fixedCols())
        return;
    const auto [first, last] = serialRows(grid);
    int written = 0;
    for (std::int32_t b = 0; b < series.count() && first + b <= last; ++b) {
        m_target.undo.Add(grid, col, first + b);
        grid.setCell(col, first + b, toQString(series.item(b)));
        ++written;
    }
    finishBatch(written);
}

} // namespace kalvex
