#pragma once

#include <QObject>

#include "grid/TUndoCells.h"
#include "operations/search/HitEditor.h"
#include "search/SearchContext.h"

class QTableWidgetItem;

namespace kalvex {

class StringGrid;
struct CellLook;
struct Orvik2;

// Editing the search hits in the grid and writing them back, through the grid's hooks: the
// current row follows the drawing, Enter writes one row, the update button writes every
// changed row.
class HitEditor : public QObject {
    Q_OBJECT
public:
    explicit HitEditor(SearchContext& context);
    ~HitEditor() override;
    HitEditor(const HitEditor&) = delete;
    HitEditor& operator=(const HitEditor&) = delete;

    // Shows the current row's hit and moves the drawing's view to it.
    void StringGrid2Click();
    void SpeedButton15Click();
    // A new search starts the grid's history afresh.
    void clearUndo();

private:
    StringGrid& grid() const;
    std::vector<Orvik2>& hits() const;

    CellLook StringGrid2DrawCell(int col, int row) const;
    void StringGrid2KeyDown(int& key, Qt::KeyboardModifiers shift);
    void StringGrid2GetEditText(int col, int row);
    void cellEdited(QTableWidgetItem* item);
    void enterKey();
    void writeCurrentRow(int row, Orvik2& hit);
    void moveDownWrapping();
    std::vector<HitEdit> changedRows();

    SearchContext& m_context;
    TUndoCells FUndoCells2;
};

} // namespace kalvex
