#include "texttab/EditorLines.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include "operations/LineText.h"

namespace kalvex {

std::vector<std::string> editorTextLines(const QPlainTextEdit& editor) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(editor.document()->blockCount()));
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next())
        lines.push_back(block.text().toStdString());
    return lines;
}

int UsedLineCount(const QPlainTextEdit& editor) {
    for (QTextBlock block = editor.document()->lastBlock(); block.isValid();
         block = block.previous()) {
        if (!isBlankLine(block.text().toStdString()))
            return block.blockNumber() + 1;
    }
    return 0;
}

} // namespace kalvex
