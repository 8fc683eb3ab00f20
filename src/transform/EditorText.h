#pragma once

#include <QStringList>

class QPlainTextEdit;

namespace kalvex {

// The editor's lines; an empty editor has none.
QStringList editorLines(const QPlainTextEdit& editor);
int editorLineCount(const QPlainTextEdit& editor);

// Replaces the whole text by the lines in one step of the editor's own undo history.
void replaceAllLines(QPlainTextEdit& editor, const QStringList& lines);

// The selected text split at its line breaks; a final line break ends the last line rather
// than starting an empty one.
QStringList selectedLines(const QPlainTextEdit& editor);
QString selectedText(const QPlainTextEdit& editor);

// The lines joined by line breaks and trimmed of blank characters at both ends, put in place of
// the selection in one step.
void replaceSelectionByLines(QPlainTextEdit& editor, const QStringList& lines);

// New lines before the line that holds the start of the selection, in order.
void insertLinesBeforeCaretLine(QPlainTextEdit& editor, const QStringList& lines);
// New last lines, in order.
void appendLines(QPlainTextEdit& editor, const QStringList& lines);

} // namespace kalvex
