#pragma once

#include <QObject>

#include "platform/ErrorReport.h"
#include "platform/Ports.h"
#include "texttab/TextTabContext.h"
#include "transform/EditorCommands.h"
#include "transform/EditorTarget.h"

namespace kalvex {

struct TransformDialogs;

// Connects the TEXT tab's buttons, keys and popup menu to its operations, every handler through
// the window's error report, and holds the editor's whole-text undo snapshot.
class TextTabController : public QObject, public UndoSnapshot {
    Q_OBJECT
public:
    TextTabController(TextTabContext context, ErrorReport& errors, TransformDialogs& dialogs,
                      Ports ports, QObject* parent = nullptr);

    void UndoMark(bool flag) override;
    void SpeedButton4Click();
    // The status timer's work; the window calls it only while the TEXT tab is shown.
    void Timer1Timer();

    EditorCommands& editorCommands() { return m_commands; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectButtons();
    void focusEditor();
    void connectEditorKeys();
    bool editorKeyPress(QKeyEvent& key);
    bool spacingKeyPress(QObject* watched, QKeyEvent& key);
    void caretMoved();
    void updateByKey();
    void alignByKey();

    TextTabContext m_context;
    ErrorReport& m_errors;
    EditorCommands m_commands;
};

} // namespace kalvex
