#pragma once

#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "dxftool/TextTable.h"

namespace kalvex::dxftool {

// What applying a table did. Every row is counted once: its text was written (changed), equal
// to the drawing's already (unchanged), or different but on a locked layer and left (locked).
struct ApplySummary {
    int changed = 0;
    int unchanged = 0;
    int locked = 0;
};

// Checks every entry against the drawing first: an unknown handle, a handle that is not a
// TEXT or ATTRIB, or a handle given twice throws TableError naming the line, before anything
// is written. Then writes each text that differs into its entity.
ApplySummary applyTable(cad::Document& document, const std::vector<TableEntry>& entries,
                        const std::string& source);

// "changed N, unchanged M, locked L"
std::string summaryLine(const ApplySummary& summary);

} // namespace kalvex::dxftool
