#include "transform/EditorCommands.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "textaids/AddToNumber.h"
#include "transform/EditorText.h"
#include "transform/QtText.h"
#include "transform/TransformDialogs.h"

namespace kalvex {

namespace {

// Only strings that are not blank and hold a number change.
LineConversion addition(const NumberRule& rule, std::int32_t addend) {
    return [rule, addend](const QString& line) {
        if (isBlank(viewOf(line)))
            return line;
        const std::optional<std::u16string> sum = AddToNumber(viewOf(line), rule, addend);
        return sum ? toQString(*sum) : line;
    };
}

} // namespace

// すべて置換: replaces a string in the whole editor, asked for in the replace dialog
void EditorCommands::N7Click() {
    TOrvikTikanForm& form = m_dialogs.tikan;
    const QStringList lines = editorLines(m_target.SynEdit1);
    if (!lines.isEmpty()) {
        form.Edit1->setText(lines.first());
        form.Edit2->setText(lines.first());
    }
    if (m_ports.dialogs.exec(form) != QDialog::Accepted || form.Edit1->text().isEmpty())
        return;
    const std::u16string search = toU16(form.Edit1->text());
    const std::u16string replacement = toU16(form.Edit2->text());
    const CaseMatch match = form.caseMatch();
    convertAllLines([&](const QString& line) {
        return toQString(ReplaceText(viewOf(line), search, replacement, match));
    });
}

// 選択範囲を置換: replaces a string in the selected text, asked for in the replace dialog
// The selection commands always match the exact case.
void EditorCommands::N8Click() {
    TOrvikTikanForm& form = m_dialogs.tikan;
    if (editorLineCount(m_target.SynEdit1) > 0) {
        const QString selection = selectedText(m_target.SynEdit1);
        const QString firstLine = selection.left(selection.indexOf(u'\n'));
        form.Edit1->setText(firstLine);
        form.Edit2->setText(firstLine);
    }
    if (m_ports.dialogs.exec(form) != QDialog::Accepted || form.Edit1->text().isEmpty())
        return;
    const std::u16string search = toU16(form.Edit1->text());
    const std::u16string replacement = toU16(form.Edit2->text());
    convertSelection([&](const QString& line) {
        return toQString(ReplaceText(viewOf(line), search, replacement, CaseMatch::Exact));
    });
}

// すべて加算: adds the dialog's addend to the numbers of the whole editor
void EditorCommands::N14Click() {
    TOrvikKasanForm& form = m_dialogs.kasan;
    if (m_ports.dialogs.exec(form) != QDialog::Accepted || form.addend() == 0)
        return;
    convertAllLines(addition(form.rule(), form.addend()));
}

// 選択範囲を加算: adds the dialog's addend to the numbers of the selected text
void EditorCommands::N15Click() {
    TOrvikKasanForm& form = m_dialogs.kasan;
    if (m_ports.dialogs.exec(form) != QDialog::Accepted || form.addend() == 0)
        return;
    convertSelection(addition(form.rule(), form.addend()));
}

// 連番作成: puts a series of numbered lines before the caret line or after the last line
void EditorCommands::N17Click() {
    TOrvikRenbanForm& form = m_dialogs.renban;
    form.setTarget(SerialTarget::Editor);
    if (m_ports.dialogs.exec(form) != QDialog::Accepted)
        return;
    const SerialSeries series(form.input());
    if (!series.isValid())
        return;
    QStringList items;
    for (const std::u16string& item : series.items())
        items.append(toQString(item));
    m_target.undo.UndoMark(true);
    if (form.placement() == SerialPlacement::Insert)
        insertLinesBeforeCaretLine(m_target.SynEdit1, items);
    else
        appendLines(m_target.SynEdit1, items);
}

} // namespace kalvex
