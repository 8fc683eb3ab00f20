#include "transform/EditorCommands.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>

#include "transform/EditorText.h"

namespace kalvex {

namespace {

void enableItems(QMenu& menu, std::initializer_list<const char*> items, bool enabled) {
    for (const char* item : items) {
        if (QAction* action = menu.findChild<QAction*>(QString::fromLatin1(item)))
            action->setEnabled(enabled);
    }
}

// The editor takes a carriage return for a line break of its own, so CR LF would double every
// line of text copied from the grid or another program. Line and paragraph separators become
// line feeds as well: a line of the editor never holds one.
QString withLineFeeds(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(u'\r', u'\n')
        .replace(QChar::LineSeparator, u'\n')
        .replace(QChar::ParagraphSeparator, u'\n');
}

} // namespace

void EditorCommands::PopupMenu1Popup(QMenu& menu) {
    const bool hasLines = editorLineCount(m_target.SynEdit1) > 0;
    const bool hasSelection = m_target.SynEdit1.textCursor().hasSelection();
    enableItems(menu, {"N1", "N4", "N7", "N14"}, hasLines);
    enableItems(menu, {"N2", "N5", "N8", "N10", "N11", "N15"}, hasSelection);
}

// クリア: empties the editor
void EditorCommands::N20Click() {
    m_target.undo.UndoMark(true);
    replaceAllLines(m_target.SynEdit1, {});
}

// カット: moves the selected text to the clipboard
// Without a selection the clipboard keeps what it holds.
void EditorCommands::N10Click() {
    if (!m_target.SynEdit1.textCursor().hasSelection())
        return;
    m_ports.clipboard.setText(selectedText(m_target.SynEdit1));
    QTextCursor cursor = m_target.SynEdit1.textCursor();
    cursor.removeSelectedText();
    m_target.SynEdit1.setTextCursor(cursor);
}

// コピー: copies the selected text to the clipboard
void EditorCommands::N11Click() {
    if (!m_target.SynEdit1.textCursor().hasSelection())
        return;
    m_ports.clipboard.setText(selectedText(m_target.SynEdit1));
}

// ペースト: pastes the clipboard's text at the caret
void EditorCommands::N12Click() {
    m_target.undo.UndoMark(true);
    QTextCursor cursor = m_target.SynEdit1.textCursor();
    cursor.insertText(withLineFeeds(m_ports.clipboard.text()));
    m_target.SynEdit1.setTextCursor(cursor);
}

// バージョン情報: shows the version box
void EditorCommands::N25Click() {
    m_ports.messages.show(
        {QString::fromLatin1(kVersionText), MessageIcon::Information, MessageButtons::Ok});
}

} // namespace kalvex
