#include "texttab/EditorLines.h"

#include <algorithm>

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace kalvex {

namespace {

bool isControlOrSpace(QChar c) {
    return c.unicode() <= 32;
}

bool breaksLine(QChar c) {
    switch (c.unicode()) {
    case u'\n':
    case u'\r':
    case QChar::LineSeparator:
    case QChar::ParagraphSeparator:
    case 0xFDD0: // QTextDocument's start-of-frame mark
    case 0xFDD1: // and its end-of-frame mark
        return true;
    default:
        return false;
    }
}

} // namespace

bool isBlankLine(const QString& line) {
    for (QChar c : line) {
        if (!isControlOrSpace(c))
            return false;
    }
    return true;
}

bool holdsLineBreak(const QString& text) {
    return std::any_of(text.begin(), text.end(), breaksLine);
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
