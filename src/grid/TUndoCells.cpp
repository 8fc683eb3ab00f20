#include "grid/TUndoCells.h"

#include "widgets/StringGrid.h"

namespace kalvex {

TUndoCell& TUndoCells::Add(StringGrid& aGrid, int ACol, int ARow) {
    TUndoCell entry(aGrid, aGrid.cell(ACol, ARow), ACol, ARow);
    const auto last = FindNewest(aGrid);
    if (last != FList.end()) {
        std::int32_t level = last->UndoLevel() + 1;
        if (FUndoLevels > 0 && level > FUndoLevels - 1)
            level = RemoveOldest(aGrid);
        entry.setUndoLevel(level);
    }
    FList.push_back(std::move(entry));
    return FList.back();
}

void TUndoCells::Undo(StringGrid& aGrid) {
    const auto newest = FindNewest(aGrid);
    if (newest == FList.end())
        return;
    const TUndoCell entry = std::move(*newest);
    aGrid.setCell(entry.X(), entry.Y(), entry.Text());
    FList.erase(newest);
    aGrid.setCurrentCell(entry.Y(), entry.X());
}

// The levels of one grid rise in list order (Add appends with the next level and RemoveOldest
// renumbers in list order), so the newest is the last entry of the grid in the list. Walking
// from the end keeps a long batch of Add calls linear.
TUndoCells::Entries::iterator TUndoCells::FindNewest(const StringGrid& grid) {
    for (auto it = FList.end(); it != FList.begin();) {
        --it;
        if (&it->Grid() == &grid)
            return it;
    }
    return FList.end();
}

TUndoCells::Entries::iterator TUndoCells::FindOldest(const StringGrid& grid) {
    for (auto it = FList.begin(); it != FList.end(); ++it) {
        if (&it->Grid() == &grid)
            return it;
    }
    return FList.end();
}

std::int32_t TUndoCells::RemoveOldest(const StringGrid& grid) {
    const auto oldest = FindOldest(grid);
    if (oldest == FList.end())
        return 0;
    FList.erase(oldest);
    std::int32_t level = 0;
    for (TUndoCell& entry : FList) {
        if (&entry.Grid() == &grid)
            entry.setUndoLevel(level++);
    }
    return level;
}

void undoBatchOnce(StringGrid& grid, GridUndo undo) {
    if (undo.counter <= 0) {
        undo.cells.Undo(grid);
        return;
    }
    for (int i = 0; i < undo.counter; ++i)
        undo.cells.Undo(grid);
    undo.counter = 0;
}

void undoBatchRepeat(StringGrid& grid, GridUndo undo) {
    for (int i = 0; i < undo.counter; ++i)
        undo.cells.Undo(grid);
}

} // namespace kalvex
