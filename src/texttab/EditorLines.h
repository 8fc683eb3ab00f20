#pragma once

#include <QString>

class QPlainTextEdit;

namespace kalvex {

// A line is blank when nothing but characters up to code 32 remain after trimming both ends.
// The full-width space is text.
bool isBlankLine(const QString& line);

// True when the editor would not show the string on one line of its own: it holds a line
// feed, a carriage return, a line or paragraph separator, or a mark the editor takes for the
// edge of a frame.
bool holdsLineBreak(const QString& text);

// Line k (0-based) of the editor; an empty string past the end.
QString editorLine(const QPlainTextEdit& editor, int k);

// All lines of the editor, blank ones included (an empty editor has one empty line).
int totalLineCount(const QPlainTextEdit& editor);

// The lines up to and including the last one that is not blank; 0 when all are blank.
int UsedLineCount(const QPlainTextEdit& editor);

} // namespace kalvex
