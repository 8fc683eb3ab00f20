#pragma once

#include <cstdint>
#include <string>

#include <QString>

#include "cadlink/Records.h"

namespace kalvex {

// The state the tabs of the main window share. The main window owns one; the tab pages and
// the operations reach it by reference.
struct WorkState {
    std::string TargetProgID;

    std::int32_t sgUndoCnt = 0;  // cell undo entries one UNDO of the attribute grid takes back
    std::int32_t sgUndoCnt2 = 0; // the same for the search grid

    QString undoText;      // the editor text of the whole-text undo snapshot
    bool undoFlag = false; // undoText holds a snapshot the Undo button can restore

    bool runFlag = false; // a long operation runs and has not been aborted

    std::int32_t iLineLast = 0;  // number of data lines in the editor
    std::int32_t CaretY_Old = 0; // editor line the view last followed
    bool ATTmode = false;        // the editor holds attribute values rather than TEXT strings

    // Grid cell where a mouse range drag began (-1 when none) and the cell it is over.
    std::int32_t startCol = -1;
    std::int32_t startRow = -1;
    std::int32_t moveCol = 0;
    std::int32_t moveRow = 0;

    // The record lists behind the editor lines, the grid rows and the search hits.
    EntityRecords records;
};

} // namespace kalvex
