#pragma once

#include <functional>

#include <QStyledItemDelegate>

namespace kalvex {

// How a row of the search grid is drawn: locked hits on silver, changed ones in red.
struct HitLook {
    bool locked = false;
    bool changed = false;
};

// Draws the search grid's cells by their hit's look and tells the grid's owner when the cell
// editor opens and when Enter is pressed in it. Enter commits the edit and closes the editor
// before the owner hears of it, so the owner sees the cell as edited.
class HitCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using LookOf = std::function<HitLook(int row)>;
    using CellAction = std::function<void(int col, int row)>;
    using Action = std::function<void()>;
    static constexpr char kEditorName[] = "StringGrid2.InplaceEdit";

    HitCellDelegate(LookOf lookOf, CellAction editorOpened, Action enterInEditor,
                    QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    // Public so that the look a cell is drawn with can be read.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LookOf m_lookOf;
    CellAction m_editorOpened;
    Action m_enterInEditor;
};

} // namespace kalvex
