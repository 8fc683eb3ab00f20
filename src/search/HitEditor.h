#pragma once

#include <QObject>

#include "grid/TUndoCells.h"
#include "search/BulkWriteMessage.h"
#include "search/HitCellDelegate.h"
#include "search/SearchContext.h"

class QKeyEvent;
class QTableWidgetItem;

namespace kalvex {

class StringGrid;
struct Orvik2;

namespace cad {
class Document;
}

enum class EditorState { Closed, Open };

// Editing the search hits in the grid and writing them back: the current row follows the
// drawing, Enter writes one row, the update button writes every changed row.
class HitEditor : public QObject {
    Q_OBJECT
public:
    explicit HitEditor(SearchContext& context);

    // Shows the current row's hit and moves the drawing's view to it.
    void StringGrid2Click();
    void SpeedButton15Click();
    // A new search starts the grid's history afresh.
    void clearUndo();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StringGrid& grid() const;
    std::vector<Orvik2>& hits() const;
    HitLook lookOf(int row) const;

    bool StringGrid2KeyDown(const QKeyEvent& key);
    bool enterPressed();
    bool rangeKey(const QKeyEvent& key);
    void StringGrid2GetEditText(int col, int row);
    void cellEdited(QTableWidgetItem* item);
    void enterKey(EditorState editor);
    void writeCurrentRow(int row, Orvik2& hit);
    void moveDownWrapping();
    BulkWriteCount writeChangedRows(cad::Document& document);

    SearchContext& m_context;
    TUndoCells FUndoCells2;
};

} // namespace kalvex
