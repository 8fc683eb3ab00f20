#include "widgets/GridCellDelegate.h"

#include <QKeyEvent>
#include <QPointer>

#include "widgets/StringGrid.h"

namespace kalvex {

GridCellDelegate::GridCellDelegate(StringGrid& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

// The editor is named after its grid ("StringGrid1.InplaceEdit"), so that scripts can reach it.
QWidget* GridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (editor)
        editor->setObjectName(m_grid.objectName() + QStringLiteral(".InplaceEdit"));
    return editor;
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (m_grid.afterDrawCell)
        m_grid.afterDrawCell(*painter, index.column(), index.row(), option.rect);
}

// Enter first puts the edited text into the cell, so that the key hook sees it while the
// editor still counts as open; a hook that moves the current cell closes the editor itself.
bool GridCellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (!editor || event->type() != QEvent::KeyPress || !m_grid.keyDown)
        return QStyledItemDelegate::eventFilter(object, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return QStyledItemDelegate::eventFilter(object, event);
    QPointer<QWidget> guard(editor);
    emit commitData(editor);
    int code = key->key();
    m_grid.keyDown(code, key->modifiers());
    if (guard && code != 0 && m_grid.editorOpen())
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

} // namespace kalvex
