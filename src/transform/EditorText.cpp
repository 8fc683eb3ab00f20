#include "transform/EditorText.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "textaids/NumberHelpers.h"

namespace kalvex {

// Read block by block: the document's plain text would turn no-break spaces into spaces and
// split a line at a line separator.
QStringList editorLines(const QPlainTextEdit& editor) {
    QStringList lines;
    if (editor.document()->isEmpty())
        return lines;
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

int editorLineCount(const QPlainTextEdit& editor) {
    return editor.document()->isEmpty() ? 0 : editor.document()->blockCount();
}

// The caret stays on its line and column where they still exist, so that a conversion does
// not move the view to another record.
void replaceAllLines(QPlainTextEdit& editor, const QStringList& lines) {
    const QTextCursor caret = editor.textCursor();
    const int caretLine = caret.blockNumber();
    const int caretColumn = caret.positionInBlock();
    QTextCursor cursor(editor.document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(lines.join(u'\n'));
    cursor.endEditBlock();
    const QTextBlock block =
        editor.document()->findBlockByNumber(qMin(caretLine, editor.document()->blockCount() - 1));
    cursor.setPosition(block.position() + qMin(caretColumn, block.length() - 1));
    editor.setTextCursor(cursor);
}

QString selectedText(const QPlainTextEdit& editor) {
    QString text = editor.textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

QStringList selectedLines(const QPlainTextEdit& editor) {
    QString text = selectedText(editor);
    if (text.isEmpty())
        return {};
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

QString trimBlanksKeepingLineBreaks(QStringView text) {
    const BlankTrim kept =
        blankTrim({reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())});
    const qsizetype first = qsizetype(kept.first);
    const qsizetype last = qsizetype(kept.last);
    const auto lineBreaks = [](QStringView blanks) { return QString(blanks.count(u'\n'), u'\n'); };
    return lineBreaks(text.first(first)) + text.sliced(first, last - first).toString() +
           lineBreaks(text.sliced(last));
}

// A selection that ends with a line break keeps it: the command changes the selected lines,
// never how many lines the editor holds.
void replaceSelectionByLines(QPlainTextEdit& editor, const QStringList& lines) {
    const bool endsWithLineBreak = selectedText(editor).endsWith(u'\n');
    QString text = trimBlanksKeepingLineBreaks(lines.join(u'\n'));
    if (endsWithLineBreak)
        text += u'\n';
    QTextCursor cursor = editor.textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    editor.setTextCursor(cursor);
}

void insertLinesBeforeCaretLine(QPlainTextEdit& editor, const QStringList& lines) {
    if (lines.isEmpty())
        return;
    QTextCursor cursor(editor.document());
    cursor.beginEditBlock();
    if (editor.document()->isEmpty()) {
        cursor.insertText(lines.join(u'\n'));
    } else {
        const int start = editor.textCursor().selectionStart();
        cursor.setPosition(editor.document()->findBlock(start).position());
        cursor.insertText(lines.join(u'\n') + u'\n');
    }
    cursor.endEditBlock();
}

void appendLines(QPlainTextEdit& editor, const QStringList& lines) {
    if (lines.isEmpty())
        return;
    const bool empty = editor.document()->isEmpty();
    QTextCursor cursor(editor.document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText((empty ? QString() : QStringLiteral("\n")) + lines.join(u'\n'));
    cursor.endEditBlock();
}

} // namespace kalvex
