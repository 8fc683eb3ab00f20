#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kalvex {

// A line is blank when nothing but characters up to code 32 remain after trimming both ends.
// The full-width space is text.
bool isBlankLine(std::string_view line);

// True when the editor would not show the string on one line of its own: it holds a line
// feed, a carriage return, a line or paragraph separator, or a mark the editor takes for the
// edge of a frame.
bool holdsLineBreak(std::string_view text);

// The lines up to and including the last one that is not blank; 0 when all are blank.
int usedLineCount(const std::vector<std::string>& lines);

} // namespace kalvex
