#include "TransformFakes.h"

#include <QTextBlock>

namespace kalvex::testing {

void TransformFixture::selectLines(int first, int last) {
    QTextCursor cursor(editor.document());
    cursor.setPosition(editor.document()->findBlockByNumber(first).position());
    cursor.setPosition(editor.document()->findBlockByNumber(last).position(),
                       QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

void TransformFixture::fillGrid(int cols, int rows, const QStringList& texts) {
    grid.setColumnCount(cols);
    grid.setRowCount(rows);
    grid.setFixed(1, 1);
    int i = 0;
    for (int row = 1; row < rows; ++row) {
        for (int col = 1; col < cols; ++col)
            grid.setCell(col, row, texts.value(i++));
    }
}

} // namespace kalvex::testing
