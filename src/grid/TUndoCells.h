#pragma once

#include <cstdint>
#include <deque>

#include <QString>

namespace kalvex {

class StringGrid;

// One saved cell: the text a cell of a grid held before it was changed.
class TUndoCell {
public:
    TUndoCell(StringGrid& grid, QString text, int x, int y)
        : FGrid(&grid), FText(std::move(text)), FX(x), FY(y) {}

    StringGrid& Grid() const { return *FGrid; }
    const QString& Text() const { return FText; }
    std::int32_t X() const { return FX; }
    std::int32_t Y() const { return FY; }
    std::int32_t UndoLevel() const { return FUndoLevel; }
    void setUndoLevel(std::int32_t level) { FUndoLevel = level; }

private:
    StringGrid* FGrid;
    QString FText;
    std::int32_t FX;
    std::int32_t FY;
    std::int32_t FUndoLevel = 0;
};

// The cell history of one or more grids, in the order the cells were saved. Add saves a cell
// before it changes; Undo puts the newest saved text of a grid back and makes that cell the
// current one. Entries refer to cells by position only. With UndoLevels > 0 a grid keeps at
// most that many entries, dropping its oldest.
class TUndoCells {
public:
    TUndoCells() = default;
    TUndoCells(const TUndoCells&) = delete;
    TUndoCells& operator=(const TUndoCells&) = delete;

    // The saved entry, valid until the history next changes.
    TUndoCell& Add(StringGrid& aGrid, int ACol, int ARow);
    void Clear() { FList.clear(); }
    void Undo(StringGrid& aGrid);
    const TUndoCell& GetItem(int X) const { return FList.at(static_cast<std::size_t>(X)); }

    int Count() const { return static_cast<int>(FList.size()); }
    std::int32_t UndoLevels() const { return FUndoLevels; }
    void setUndoLevels(std::int32_t levels) { FUndoLevels = levels; }

private:
    // Entries by value in blocks: a paste into hundreds of thousands of cells saves each without
    // an allocation of its own, and a growing history is never copied to a larger place.
    using Entries = std::deque<TUndoCell>;

    Entries::iterator FindNewest(const StringGrid& grid);
    Entries::iterator FindOldest(const StringGrid& grid);
    std::int32_t RemoveOldest(const StringGrid& grid);

    Entries FList;
    std::int32_t FUndoLevels = 0;
};

// A grid's history together with its batch counter: how many entries the grid's last edit
// action pushed, which the undo commands take back at once.
struct GridUndo {
    TUndoCells& cells;
    std::int32_t& counter;
};

// Ctrl+Z in a grid: after an action the whole batch, then one entry per press.
void undoBatchOnce(StringGrid& grid, GridUndo undo);
// The UNDO button: the last batch's size again on each press; the counter stays.
void undoBatchRepeat(StringGrid& grid, GridUndo undo);

} // namespace kalvex
