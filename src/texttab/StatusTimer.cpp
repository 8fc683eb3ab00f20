#include "texttab/StatusTimer.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>

#include "texttab/EditorLines.h"
#include "texttab/LineEditor.h"
#include "texttab/TextTabPage.h"

namespace kalvex {

namespace {

const QColor kYellow(255, 255, 0);
const QColor kPaleCyan(221, 255, 253);

// Every line in TEXT mode, without the blank lines at the end; the records in attribute mode.
int dataLineCount(TextTabContext& context) {
    if (context.work.ATTmode)
        return static_cast<int>(context.records().size());
    return UsedLineCount(*context.page.SynEdit1);
}

void setBackground(LineEditor& editor, const QColor& color) {
    QPalette palette = editor.palette();
    if (palette.color(QPalette::Base) == color)
        return;
    palette.setColor(QPalette::Base, color);
    editor.setPalette(palette);
}

void showBackground(TextTabContext& context, int caretY) {
    LineEditor& editor = *context.page.SynEdit1;
    const bool pastRecords = static_cast<int>(context.records().size()) < caretY;
    if (!pastRecords)
        setBackground(editor, QApplication::palette(&editor).color(QPalette::Base));
    else
        setBackground(editor, context.work.ATTmode ? kYellow : kPaleCyan);
}

// A label whose text changes lays the window out again, so the text is set only on a change.
void setPanelText(QLabel& panel, const QString& text) {
    if (panel.text() != text)
        panel.setText(text);
}

} // namespace

// Counted from the blocks the selection touches rather than from its text, which would be
// copied out of the document on every tick.
int selectedLineCount(const QTextCursor& cursor) {
    if (!cursor.hasSelection())
        return 0;
    const QTextDocument& document = *cursor.document();
    const QTextBlock first = document.findBlock(cursor.selectionStart());
    const QTextBlock last = document.findBlock(cursor.selectionEnd());
    const int feeds = last.blockNumber() - first.blockNumber();
    const bool endsWithFeed = cursor.selectionEnd() == last.position();
    return endsWithFeed ? feeds : feeds + 1;
}

void Timer1Timer(TextTabContext& context) {
    TextTabPage& page = context.page;
    LineEditor& editor = *page.SynEdit1;
    const QTextCursor cursor = editor.textCursor();
    const int caretY = cursor.blockNumber() + 1;
    const int caretX = cursor.positionInBlock() + 1;
    context.work.iLineLast = dataLineCount(context);
    setPanelText(*page.Label1, QStringLiteral("取得データ数 = %1").arg(context.work.iLineLast));
    showBackground(context, caretY);
    const bool canUndo = editor.document()->isUndoAvailable() || context.work.undoFlag;
    if (page.SpeedButton4->isEnabled() != canUndo)
        page.SpeedButton4->setEnabled(canUndo);
    setPanelText(*context.statusPanel1,
                 QStringLiteral("selRows = %1").arg(selectedLineCount(cursor)));
    setPanelText(*context.statusPanel0, QStringLiteral("Row = %1 / %2 Col= %3")
                                            .arg(caretY)
                                            .arg(context.work.iLineLast)
                                            .arg(caretX));
}

} // namespace kalvex
