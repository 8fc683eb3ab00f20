#include "texttab/TextTabController.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "cadlink/Connection.h"
#include "texttab/AttrFetch.h"
#include "texttab/CaretFollow.h"
#include "texttab/EditorPopupMenu.h"
#include "texttab/LineEditor.h"
#include "texttab/StatusTimer.h"
#include "texttab/TextAlignment.h"
#include "texttab/TextFetch.h"
#include "texttab/TextTabPage.h"
#include "texttab/TextUpdate.h"
#include "transform/EditorText.h"
#include "transform/MenuWiring.h"

namespace kalvex {

namespace {

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

TextTabController::TextTabController(TextTabContext context, ErrorReport& errors,
                                     TransformDialogs& dialogs, Ports ports, QObject* parent)
    : QObject(parent), m_context(context), m_errors(errors),
      m_commands(
          EditorTarget{*context.page.SynEdit1, context.page.SpeedButton5, context.work, *this},
          dialogs, ports) {
    connectButtons();
    connectEditorKeys();
    connectEditorMenu(*m_context.page.PopupMenu1, m_commands, m_errors);
}

void TextTabController::connectButtons() {
    TextTabPage& page = m_context.page;
    connect(page.SpeedButton1, &QPushButton::clicked, this, m_errors.guarded([this] {
        SpeedButton1Click(m_context);
        focusEditor();
    }));
    connect(page.SpeedButton2, &QPushButton::clicked, this,
            m_errors.guarded([this] { SpeedButton2Click(m_context); }));
    connect(page.SpeedButton6, &QPushButton::clicked, this,
            m_errors.guarded([this] { SpeedButton6Click(m_context); }));
    connect(page.SpeedButton8, &QPushButton::clicked, this, m_errors.guarded([this] {
        SpeedButton8Click(m_context);
        focusEditor();
    }));
    connect(page.SpeedButton4, &QPushButton::clicked, this,
            m_errors.guarded([this] { SpeedButton4Click(); }));
}

// After a fetch the user goes on in the editor with the keys. The tool window comes back from
// the drawing window only later, when the window system activates it; the editor is made its
// focus widget now, so that it takes the keys then, whatever had the focus before.
void TextTabController::focusEditor() {
    m_context.page.SynEdit1->setFocus(Qt::OtherFocusReason);
}

// The editor's keys are watched here: Ctrl+Enter, the copy and cut keys (which the editor
// leaves alone, so that the popup menu's commands take them), key releases and clicks.
void TextTabController::connectEditorKeys() {
    LineEditor* editor = m_context.page.SynEdit1;
    editor->installEventFilter(this);
    editor->viewport()->installEventFilter(this);
    m_context.page.Edit1->installEventFilter(this);
    m_context.page.Edit2->installEventFilter(this);
}

void TextTabController::UndoMark(bool flag) {
    if (flag)
        m_context.work.undoText = editorLines(*m_context.page.SynEdit1).join(u'\n');
    else
        m_context.page.SynEdit1->setPlainText(m_context.work.undoText);
    m_context.page.SpeedButton4->setEnabled(flag);
    m_context.work.undoFlag = flag;
}

// The editor's own history first; the snapshot only when that is used up, and only once.
void TextTabController::SpeedButton4Click() {
    LineEditor& editor = *m_context.page.SynEdit1;
    if (editor.document()->isUndoAvailable())
        editor.undo();
    else if (m_context.work.undoFlag)
        UndoMark(false);
}

void TextTabController::Timer1Timer() {
    kalvex::Timer1Timer(m_context);
}

bool TextTabController::eventFilter(QObject* watched, QEvent* event) {
    LineEditor* editor = m_context.page.SynEdit1;
    const QEvent::Type type = event->type();
    if (watched == editor && type == QEvent::KeyPress)
        return editorKeyPress(static_cast<QKeyEvent&>(*event));
    if (watched == editor && type == QEvent::KeyRelease)
        caretMoved();
    else if (watched == editor->viewport() && type == QEvent::MouseButtonRelease)
        caretMoved();
    else if (type == QEvent::KeyPress)
        return spacingKeyPress(watched, static_cast<QKeyEvent&>(*event));
    return false;
}

bool TextTabController::editorKeyPress(QKeyEvent& key) {
    if (key.matches(QKeySequence::Copy))
        m_errors.run([this] { m_commands.N11Click(); });
    else if (key.matches(QKeySequence::Cut))
        m_errors.run([this] { m_commands.N10Click(); });
    else if (isEnter(key) && (key.modifiers() & Qt::ControlModifier))
        m_errors.run([this] { updateByKey(); });
    else
        return false;
    return true;
}

bool TextTabController::spacingKeyPress(QObject* watched, QKeyEvent& key) {
    if (!isEnter(key))
        return false;
    if (watched == m_context.page.Edit1)
        m_context.page.Edit2->setFocus();
    else if (watched == m_context.page.Edit2)
        m_errors.run([this] { alignByKey(); });
    else
        return false;
    return true;
}

void TextTabController::caretMoved() {
    const int caretY = m_context.page.SynEdit1->textCursor().blockNumber() + 1;
    m_errors.run([this, caretY] { CaretYChanged(m_context, caretY); });
}

// The update brought the CAD to the front; the tool takes the foreground back.
void TextTabController::updateByKey() {
    SpeedButton2Click(m_context);
    ReturnFocusToTool(m_context.link, m_context.link.toolWindow);
}

void TextTabController::alignByKey() {
    if (!m_context.page.SpeedButton6->isEnabled())
        return;
    m_context.page.SpeedButton6->click();
    m_context.page.Edit2->setFocus();
    ReturnFocusToTool(m_context.link, m_context.link.toolWindow);
}

} // namespace kalvex
