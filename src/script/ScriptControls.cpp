#include "script/ScriptControls.h"

#include "script/KeyInput.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextBlock>
#include <algorithm>
#include <stdexcept>

namespace kalvex::script {

namespace {

[[noreturn]] void notA(QWidget* w, const char* what) {
    throw std::runtime_error(w->objectName().toStdString() + " is not " + what);
}

template <class T> T* as(QWidget* w, const char* what) {
    if (auto* typed = qobject_cast<T*>(w))
        return typed;
    notA(w, what);
}

// Bare names are the main window's controls first (the dialogs reuse names such as Label1 and
// SpeedButton1), then those of the other windows.
QList<QWidget*> windowsMainFirst() {
    QList<QWidget*> windows = QApplication::topLevelWidgets();
    std::stable_partition(windows.begin(), windows.end(), [](QWidget* w) {
        return w->objectName() == QLatin1String("TOrvikMainForm");
    });
    return windows;
}

QWidget* findByName(const QString& name) {
    for (QWidget* top : windowsMainFirst()) {
        if (top->objectName() == name)
            return top;
        if (auto* w = top->findChild<QWidget*>(name))
            return w;
    }
    return nullptr;
}

QWidget* findInForm(const QString& form, const QString& name) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        const bool isForm = top->objectName() == form ||
                            QString::fromLatin1(top->metaObject()->className()).endsWith(form);
        if (isForm) {
            if (auto* w = top->findChild<QWidget*>(name))
                return w;
        }
    }
    return nullptr;
}

QTextCursor cursorAt(QPlainTextEdit* editor, int line, int column) {
    QTextBlock block = editor->document()->findBlockByNumber(line - 1);
    if (!block.isValid() || column < 1 || column - 1 > block.length() - 1)
        throw std::runtime_error("no line " + std::to_string(line) + " column " +
                                 std::to_string(column) + " in " +
                                 editor->objectName().toStdString());
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + column - 1);
    return cursor;
}

QTableWidgetItem* gridItem(QWidget* w, int col, int row) {
    auto* grid = as<QTableWidget>(w, "a grid");
    if (row < 0 || col < 0 || row >= grid->rowCount() || col >= grid->columnCount())
        throw std::runtime_error("no cell " + std::to_string(col) + "," + std::to_string(row) +
                                 " in " + w->objectName().toStdString());
    return grid->item(row, col);
}

} // namespace

QWidget* findControl(const QString& name) {
    if (QWidget* w = findByName(name))
        return w;
    const int dot = name.indexOf(QLatin1Char('.'));
    return dot > 0 ? findInForm(name.left(dot), name.mid(dot + 1)) : nullptr;
}

QAction* findMenuItem(const QString& name) {
    for (QWidget* top : windowsMainFirst()) {
        if (auto* action = top->findChild<QAction*>(name))
            return action;
    }
    return nullptr;
}

void clickControl(QWidget* w) {
    as<QAbstractButton>(w, "a button")->click();
}

void checkControl(QWidget* w, bool on) {
    auto* button = as<QAbstractButton>(w, "a check box");
    if (!button->isCheckable())
        notA(w, "a check box");
    if (button->isChecked() != on)
        button->click();
}

void setControlText(QWidget* w, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->setText(text);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable())
            return combo->setEditText(text);
        const int index = combo->findText(text);
        if (index < 0)
            throw std::runtime_error(w->objectName().toStdString() + " has no item " +
                                     text.toStdString());
        return combo->setCurrentIndex(index);
    }
    if (auto* editor = qobject_cast<QPlainTextEdit*>(w))
        return editor->setPlainText(text);
    notA(w, "an edit, a combo box or an editor");
}

void chooseItem(QWidget* w, int index) {
    auto* combo = as<QComboBox>(w, "a combo box");
    if (index < 0 || index >= combo->count())
        throw std::runtime_error(w->objectName().toStdString() + " has no item " +
                                 std::to_string(index));
    combo->setCurrentIndex(index);
}

void pressKeys(QWidget* w, const QString& keys) {
    const QKeySequence sequence(keys, QKeySequence::PortableText);
    if (sequence.isEmpty())
        throw std::runtime_error("not a key sequence: " + keys.toStdString());
    w->setFocus();
    for (int i = 0; i < sequence.count(); ++i) {
        const QKeyCombination key = sequence[i];
        clickKey(w, key.key(), key.keyboardModifiers(),
                 keyText(key.key(), key.keyboardModifiers()));
    }
}

// The key a character is typed with; characters beyond ASCII come with their text only, as
// an input method delivers them.
int keyOf(char32_t c) {
    if (c == U'\n')
        return Qt::Key_Return;
    if (c == U'\t')
        return Qt::Key_Tab;
    if (c >= 0x20 && c < 0x7f)
        return c >= U'a' && c <= U'z' ? static_cast<int>(c - 0x20) : static_cast<int>(c);
    return Qt::Key_unknown;
}

void typeText(QWidget* w, const QString& text) {
    w->setFocus();
    for (char32_t c : text.toUcs4()) {
        const QString typed = c == U'\n' ? QStringLiteral("\r") : QString::fromUcs4(&c, 1);
        clickKey(w, static_cast<Qt::Key>(keyOf(c)), Qt::NoModifier, typed);
    }
}

void placeCaret(QWidget* w, int line, int column) {
    auto* editor = as<QPlainTextEdit>(w, "an editor");
    editor->setTextCursor(cursorAt(editor, line, column));
}

void selectText(QWidget* w, int line1, int column1, int line2, int column2) {
    auto* editor = as<QPlainTextEdit>(w, "an editor");
    QTextCursor cursor = cursorAt(editor, line1, column1);
    cursor.setPosition(cursorAt(editor, line2, column2).position(), QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
}

void setCurrentCell(QWidget* w, int col, int row) {
    gridItem(w, col, row);
    as<QTableWidget>(w, "a grid")->setCurrentCell(row, col);
}

void selectCells(QWidget* w, int left, int top, int right, int bottom) {
    gridItem(w, left, top);
    gridItem(w, right, bottom);
    auto* grid = as<QTableWidget>(w, "a grid");
    grid->clearSelection();
    grid->setCurrentCell(top, left);
    grid->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
}

void editCurrentCell(QWidget* w, const QString& text) {
    auto* grid = as<QTableWidget>(w, "a grid");
    QTableWidgetItem* item = grid->currentItem();
    if (!item) {
        if (grid->currentRow() < 0 || grid->currentColumn() < 0)
            throw std::runtime_error(w->objectName().toStdString() + " has no current cell");
        item = new QTableWidgetItem;
        grid->setItem(grid->currentRow(), grid->currentColumn(), item);
    }
    grid->editItem(item);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!editor)
        editor = grid->viewport()->findChild<QLineEdit*>();
    if (!editor)
        throw std::runtime_error(w->objectName().toStdString() + " opened no cell editor");
    editor->setText(text);
}

QString controlText(QWidget* w) {
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* editor = qobject_cast<QPlainTextEdit*>(w))
        return editor->toPlainText();
    return w->windowTitle();
}

bool controlChecked(QWidget* w) {
    return as<QAbstractButton>(w, "a check box")->isChecked();
}

QString cellText(QWidget* w, int col, int row) {
    QTableWidgetItem* item = gridItem(w, col, row);
    return item ? item->text() : QString();
}

QColor controlColor(QWidget* w) {
    if (auto* editor = qobject_cast<QPlainTextEdit*>(w))
        return editor->viewport()->palette().color(editor->viewport()->backgroundRole());
    return w->palette().color(w->backgroundRole());
}

QColor cellColor(QWidget* w, int col, int row) {
    QTableWidgetItem* item = gridItem(w, col, row);
    const QBrush brush = item ? item->background() : QBrush();
    if (brush.style() != Qt::NoBrush)
        return brush.color();
    auto* grid = as<QTableWidget>(w, "a grid");
    return grid->palette().color(QPalette::Base);
}

} // namespace kalvex::script
