#include "grid/GridClipboardKey.h"

#include "platform/ClipboardPort.h"
#include "platform/MessagePort.h"
#include "widgets/StringGrid.h"

namespace kalvex {

namespace {

const QString kRowEnd = QStringLiteral("\r\n");
const QChar kFieldSeparator = u'\t';

bool insideGrid(const StringGrid& grid, int col, int row) {
    return col >= 0 && row >= 0 && col < grid.columnCount() && row < grid.rowCount();
}

// Saves the cell and sets its text; a cell outside the grid is left out and not counted.
int writeCell(StringGrid& grid, int col, int row, const QString& text, TUndoCells& undo) {
    if (!insideGrid(grid, col, row))
        return 0;
    undo.Add(grid, col, row);
    grid.setCell(col, row, text);
    return 1;
}

void copyRange(const StringGrid& grid, const QRect& range, GridClipboardContext& context) {
    if (!context.clipboard.setText(rangeText(grid, range)))
        context.messages.inform(QString::fromUtf16(kClipboardCopyFailed));
}

// The batch is what this key saved; a key that saved nothing leaves an empty batch, so that
// the undo commands do not take back an earlier edit in its place.
void setCounter(GridClipboardContext& context, int count) {
    context.undo.counter = count;
}

} // namespace

QString rangeText(const StringGrid& grid, const QRect& range) {
    QString text;
    for (int row = range.top(); row <= range.bottom(); ++row) {
        for (int col = range.left(); col <= range.right(); ++col) {
            text += grid.cell(col, row);
            if (col < range.right())
                text += kFieldSeparator;
            else
                text += kRowEnd;
        }
    }
    return text;
}

QStringList clipboardRows(const QString& text) {
    QStringList rows;
    qsizetype from = 0;
    for (qsizetype end = text.indexOf(kRowEnd); end >= 0; end = text.indexOf(kRowEnd, from)) {
        rows.append(text.mid(from, end - from));
        from = end + kRowEnd.size();
    }
    return rows;
}

int pasteRows(StringGrid& grid, const QRect& range, const QStringList& rows, TUndoCells& undo) {
    const int rowCount = static_cast<int>(rows.size());
    int count = 0;
    for (int i = 0; i < rowCount; ++i) {
        const QStringList fields = rows[i].split(kFieldSeparator);
        for (int n = 0; n < fields.size(); ++n) {
            const int col = range.left() + n;
            count += writeCell(grid, col, range.top() + i, fields[n], undo);
            for (int row = range.top() + i + rowCount; row <= range.bottom(); row += rowCount)
                count += writeCell(grid, col, row, fields[n], undo);
        }
    }
    return count;
}

int clearRange(StringGrid& grid, const QRect& range, TUndoCells& undo) {
    int count = 0;
    for (int row = range.top(); row <= range.bottom(); ++row) {
        for (int col = range.left(); col <= range.right(); ++col)
            count += writeCell(grid, col, row, QString(), undo);
    }
    return count;
}

void GridClipboardKey(StringGrid& grid, int& key, Qt::KeyboardModifiers shift,
                      GridClipboardContext context) {
    const QRect range = grid.selection();
    if (key == Qt::Key_Delete) {
        if (range.width() * range.height() <= 1)
            return;
        key = 0;
        setCounter(context, clearRange(grid, range, context.undo.cells));
        return;
    }
    if (!shift.testFlag(Qt::ControlModifier))
        return;
    switch (key) {
    case Qt::Key_C:
        key = 0;
        copyRange(grid, range, context);
        setCounter(context, 0);
        break;
    case Qt::Key_X:
        key = 0;
        copyRange(grid, range, context);
        setCounter(context, clearRange(grid, range, context.undo.cells));
        break;
    case Qt::Key_V:
        key = 0;
        setCounter(context, pasteRows(grid, range, clipboardRows(context.clipboard.text()),
                                      context.undo.cells));
        break;
    default:
        break;
    }
}

} // namespace kalvex
