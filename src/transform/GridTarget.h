#pragma once

#include <chrono>

#include "transform/SlicedRun.h"
#include "workstate/WorkState.h"

namespace kalvex {

class StringGrid;

// The cell history of a grid: Add saves the current text of a cell before it is changed.
class CellUndo {
public:
    virtual ~CellUndo() = default;
    virtual void Add(StringGrid& grid, int col, int row) = 0;
};

// What the grid commands work on: the attribute grid, its cell history and the shared work
// state, whose sgUndoCnt holds how many entries one undo takes back.
struct GridTarget {
    StringGrid& StringGrid1;
    CellUndo& undo;
    WorkState& state;
    std::chrono::milliseconds eventSlice = kEventSlice;
};

} // namespace kalvex
