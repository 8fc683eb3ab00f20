#pragma once

#include <string>
#include <vector>

class QPlainTextEdit;

namespace kalvex {

// Every line of the editor in UTF-8, blank ones included (an empty editor has one empty line).
std::vector<std::string> editorTextLines(const QPlainTextEdit& editor);

// The lines up to and including the last one that is not blank; 0 when all are blank.
int UsedLineCount(const QPlainTextEdit& editor);

} // namespace kalvex
