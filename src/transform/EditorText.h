#pragma once

#include <QStringList>

class QPlainTextEdit;

namespace kalvex {

// The editor's lines as they are held, every character kept; an empty editor has none.
QStringList editorLines(const QPlainTextEdit& editor);
int editorLineCount(const QPlainTextEdit& editor);

// Replaces the whole text by the lines in one step of the editor's own undo history.
void replaceAllLines(QPlainTextEdit& editor, const QStringList& lines);

// The selected text split at its line breaks; a final line break ends the last line rather
// than starting an empty one.
QStringList selectedLines(const QPlainTextEdit& editor);
QString selectedText(const QPlainTextEdit& editor);

// The text without the blanks (characters up to U+0020) at both ends; the line breaks among
// them stay, so that the text keeps its number of lines.
QString trimBlanksKeepingLineBreaks(QStringView text);

// The lines joined by line breaks and trimmed of blanks at both ends, put in place of the
// selection in one step; a line break that ended the selection ends the new text too.
void replaceSelectionByLines(QPlainTextEdit& editor, const QStringList& lines);

// New lines before the line that holds the start of the selection, in order.
void insertLinesBeforeCaretLine(QPlainTextEdit& editor, const QStringList& lines);
// New last lines, in order.
void appendLines(QPlainTextEdit& editor, const QStringList& lines);

} // namespace kalvex
