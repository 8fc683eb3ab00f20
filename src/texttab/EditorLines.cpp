#include "texttab/EditorLines.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace kalvex {

namespace {

bool isControlOrSpace(QChar c) {
    return c.unicode() <= 32;
}

} // namespace

bool isBlankLine(const QString& line) {
    for (QChar c : line) {
        if (!isControlOrSpace(c))
            return false;
    }
    return true;
}

QString editorLine(const QPlainTextEdit& editor, int k) {
    const QTextBlock block = editor.document()->findBlockByNumber(k);
    return block.isValid() ? block.text() : QString();
}

int totalLineCount(const QPlainTextEdit& editor) {
    return editor.document()->blockCount();
}

int UsedLineCount(const QPlainTextEdit& editor) {
    for (QTextBlock block = editor.document()->lastBlock(); block.isValid();
         block = block.previous()) {
        if (!isBlankLine(block.text()))
            return block.blockNumber() + 1;
    }
    return 0;
}

} // namespace kalvex
