#pragma once

#include <ostream>

#include "dxftool/CommandLine.h"

namespace kalvex::dxftool {

// The commands that read and write tables: results on `out`, warnings and every problem found
// on `err`. Bad input throws, after the problems were written, saying what was not done.
void exportTables(const Command& command, std::ostream& out, std::ostream& err);
void applyTables(const Command& command, std::ostream& out, std::ostream& err);
void attributesOut(const Command& command, std::ostream& out, std::ostream& err);
void attributesIn(const Command& command, std::ostream& out, std::ostream& err);
// Converts the strings of the drawings; with --dry-run, prints the changes instead.
void convertTexts(const Command& command, std::ostream& out, std::ostream& err);

} // namespace kalvex::dxftool
