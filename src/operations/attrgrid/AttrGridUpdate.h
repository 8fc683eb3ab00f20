#pragma once

#include <string>
#include <vector>

#include "cadlink/CadLink.h"
#include "cadlink/Records.h"
#include "operations/RunWindow.h"
#include "operations/SourceDrawing.h"

// The attribute grid's writes into the drawing, run by the grid's button and Enter key
// (attrgrid/AttrGridHandlers).

namespace kalvex {

// A grid cell's attribute record and the cell's text.
struct GridEdit {
    nAtt* record;
    std::string text;
};

// The grid update: every cell is written into the drawing the grid was fetched from; a cell
// that cannot be written is skipped. Without a CAD nothing happens. With `sealed` records,
// nothing is written into a drawing changed outside the tool since they were fetched.
void WriteGridCells(CadLink& link, const std::string& source, const std::vector<GridEdit>& edits,
                    RunWindow& window, const SealedRecords* sealed = nullptr);

// Enter in the grid: the cell's text is written into its attribute, and the record takes what
// the CAD reads back; with a seal, not when the attribute changed outside the tool.
WriteBack WriteGridCell(CadLink& link, const std::string& source, nAtt& record,
                        const std::string& text, RunWindow& window, RecordSeal* seal = nullptr);

} // namespace kalvex
