#include "widgets/GridCellDelegate.h"

#include <QKeyEvent>

#include "widgets/StringGrid.h"

namespace kalvex {

namespace {

bool isEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

GridCellDelegate::GridCellDelegate(StringGrid& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

// The editor is named after its grid ("StringGrid1.InplaceEdit"), so that scripts can type
// into the open editor as a user does.
QWidget* GridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (editor)
        editor->setObjectName(m_grid.objectName() + QStringLiteral(".InplaceEdit"));
    return editor;
}

// A closed editor lives on until it is deleted later; it gives up its name at once, so that
// the name always means the open editor.
void GridCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    editor->setObjectName(QString());
    QStyledItemDelegate::destroyEditor(editor, index);
}

void GridCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment = Qt::AlignLeft | Qt::AlignTop;
    if (!m_grid.cellLook)
        return;
    const CellLook look = m_grid.cellLook(index.column(), index.row());
    if (look.background.isValid()) {
        option->backgroundBrush = look.background;
        option->state &= ~QStyle::State_Selected;
    }
    if (look.text.isValid()) {
        option->palette.setColor(QPalette::Text, look.text);
        option->palette.setColor(QPalette::HighlightedText, look.text);
    }
}

bool GridCellDelegate::eventFilter(QObject* object, QEvent* event) {
    if (!qobject_cast<QWidget*>(object) || !isEnterKey(event))
        return QStyledItemDelegate::eventFilter(object, event);
    const auto* key = static_cast<const QKeyEvent*>(event);
    m_grid.enterKey(key->key(), key->modifiers());
    return true;
}

} // namespace kalvex
