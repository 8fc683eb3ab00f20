#include "search/HitCellDelegate.h"

#include <QKeyEvent>

namespace kalvex {

namespace {

const QColor kLockedBackground(0xC0, 0xC0, 0xC0);
const QColor kChangedText(0xFF, 0x00, 0x00);

bool isEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

HitCellDelegate::HitCellDelegate(LookOf lookOf, CellAction editorOpened, Action enterInEditor,
                                 QObject* parent)
    : QStyledItemDelegate(parent), m_lookOf(std::move(lookOf)),
      m_editorOpened(std::move(editorOpened)), m_enterInEditor(std::move(enterInEditor)) {
    // A closed editor lives on until it is deleted later; it gives up its name at once.
    connect(this, &QAbstractItemDelegate::closeEditor, this,
            [](QWidget* editor) { editor->setObjectName(QString()); });
}

QWidget* HitCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    m_editorOpened(index.column(), index.row());
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    // Named so that scripts can type into the open editor as a user does.
    editor->setObjectName(kEditorName);
    return editor;
}

void HitCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                      const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const HitLook look = m_lookOf(index.row());
    if (look.locked)
        option->backgroundBrush = kLockedBackground;
    if (look.changed) {
        option->palette.setColor(QPalette::Text, kChangedText);
        option->palette.setColor(QPalette::HighlightedText, kChangedText);
    }
}

bool HitCellDelegate::eventFilter(QObject* watched, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(watched);
    if (!editor || !isEnterKey(event))
        return QStyledItemDelegate::eventFilter(watched, event);
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    m_enterInEditor();
    return true;
}

} // namespace kalvex
