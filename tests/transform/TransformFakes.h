#pragma once

#include <functional>
#include <vector>

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/Ports.h"
#include "transform/EditorTarget.h"
#include "transform/GridTarget.h"
#include "transform/TransformDialogs.h"
#include "widgets/StringGrid.h"
#include "workstate/WorkState.h"

namespace kalvex::testing {

// Answers a dialog by running the test's action on it; the result is what the action leaves.
class AnsweringDialogs : public DialogPort {
public:
    std::function<int(QDialog&)> answer = [](QDialog&) { return int(QDialog::Rejected); };
    int shown = 0;

    int exec(QDialog& dialog) override {
        ++shown;
        dialog.setResult(QDialog::Rejected);
        return answer(dialog);
    }
};

class RecordingMessages : public MessagePort {
public:
    std::vector<MessageRequest> shown;
    MessageAnswer show(const MessageRequest& request) override {
        shown.push_back(request);
        return MessageAnswer::Ok;
    }
};

class MemoryClipboard : public ClipboardPort {
public:
    QString content;
    QString text() override { return content; }
    bool setText(const QString& text) override {
        content = text;
        return true;
    }
};

// Keeps the snapshots the way the TEXT tab does: the text at the time of each mark.
class RecordingSnapshot : public UndoSnapshot {
public:
    explicit RecordingSnapshot(QPlainTextEdit& editor) : m_editor(editor) {}
    std::vector<QString> marks;
    void UndoMark(bool flag) override {
        if (flag)
            marks.push_back(m_editor.toPlainText());
    }

private:
    QPlainTextEdit& m_editor;
};

// A cell history that can put the saved texts back, newest first.
class RecordingCellUndo : public CellUndo {
public:
    struct Entry {
        int col;
        int row;
        QString text;
    };
    std::vector<Entry> entries;
    void Add(StringGrid& grid, int col, int row) override {
        entries.push_back({col, row, grid.cell(col, row)});
    }
    void undo(StringGrid& grid, int count) {
        for (; count > 0 && !entries.empty(); --count) {
            grid.setCell(entries.back().col, entries.back().row, entries.back().text);
            entries.pop_back();
        }
    }
};

// The windows and services the commands of both menus work with.
struct TransformFixture {
    RecordingMessages messages;
    AnsweringDialogs dialogs;
    MemoryClipboard clipboard;
    Ports ports{messages, dialogs, clipboard};
    TransformDialogs forms{messages};
    WorkState state;
    QPlainTextEdit editor;
    QPushButton abortButton;
    RecordingSnapshot snapshot{editor};
    StringGrid grid;
    RecordingCellUndo cellUndo;

    EditorTarget editorTarget() {
        return {editor, &abortButton, state, snapshot, std::chrono::milliseconds(0)};
    }
    GridTarget gridTarget() { return {grid, cellUndo, state, std::chrono::milliseconds(0)}; }

    // Selects from the start of line `first` to the start of line `last` (0-based).
    void selectLines(int first, int last);
    // A grid of the given size with one fixed row and column and the texts in row order.
    void fillGrid(int cols, int rows, const QStringList& texts);
};

} // namespace kalvex::testing
