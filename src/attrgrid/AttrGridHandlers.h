#pragma once

#include <memory>

#include <Qt>

#include "attrgrid/AttrGridContext.h"

namespace kalvex {

class CellUndo;
class StringGrid;
struct CellLook;

// The attribute grid tab's behaviour: fetch, write-back by button and by Enter, batch undo,
// the range keys, fixed-cell clicks, colouring of cells and row ordering. Connected to the
// page's controls for as long as this lives. The fetch runs in attrgrid/AttrGridFetch; the writes
// into the drawing are operations/attrgrid/AttrGridUpdate.
class AttrGridHandlers {
public:
    explicit AttrGridHandlers(AttrGridContext context);
    ~AttrGridHandlers();
    AttrGridHandlers(const AttrGridHandlers&) = delete;
    AttrGridHandlers& operator=(const AttrGridHandlers&) = delete;

    // The grid's history as the transformation commands save cells in it.
    CellUndo& cellUndo() { return *m_cellUndo; }

    void SpeedButton10Click();
    void SpeedButton11Click();
    void SpeedButton13Click();
    void StringGrid1KeyDown(int& key, Qt::KeyboardModifiers shift);
    void StringGrid1Click();
    void StringGrid1GetEditText(int col, int row);
    void StringGrid1FixedCellClick(int col, int row);
    // The colours the grid draws a cell in.
    CellLook StringGrid1DrawCell(int col, int row) const;
    void N40Click();
    void N41Click();
    void N43Click();

private:
    void connectControls();
    void connectGrid();
    void enterKey();
    bool writeCurrentCell();
    void moveAfterEnter();
    StringGrid& grid() const;

    AttrGridContext m_context;
    std::unique_ptr<CellUndo> m_cellUndo;
};

} // namespace kalvex
