#include "transform/EditorCommands.h"

#include <QAction>
#include <QPlainTextEdit>

#include "textaids/ConversionTables.h"
#include "textaids/MenuConversions.h"
#include "textaids/TableConversions.h"
#include "textaids/WidthMapping.h"
#include "transform/EditorText.h"
#include "transform/QtText.h"

namespace kalvex {

namespace {

// A line conversion made of a conversion of the text aids.
template <typename Convert> LineConversion lineConversion(Convert convert) {
    return [convert](const QString& line) { return toQString(convert(viewOf(line))); };
}

} // namespace

EditorCommands::EditorCommands(EditorTarget target, TransformDialogs& dialogs, Ports ports)
    : m_target(target), m_dialogs(dialogs), m_ports(ports) {}

SlicedRun EditorCommands::startRun() {
    return SlicedRun(m_target.state.runFlag, m_target.SpeedButton5, m_target.eventSlice);
}

// Converts the lines in order; after an abort the lines from the next one on stay as they were.
void EditorCommands::convertLines(QStringList& lines, const LineConversion& convert,
                                  SlicedRun& run) {
    for (QString& line : lines) {
        line = convert(line);
        if (!run.proceed())
            return;
    }
}

void EditorCommands::convertAllLines(const LineConversion& convert) {
    m_target.undo.UndoMark(true);
    SlicedRun run = startRun();
    QStringList lines = editorLines(m_target.SynEdit1);
    convertLines(lines, convert, run);
    replaceAllLines(m_target.SynEdit1, lines);
}

void EditorCommands::convertSelection(const LineConversion& convert) {
    SlicedRun run = startRun();
    QStringList lines = selectedLines(m_target.SynEdit1);
    if (lines.isEmpty())
        return;
    m_target.undo.UndoMark(true);
    convertLines(lines, convert, run);
    replaceSelectionByLines(m_target.SynEdit1, lines);
}

// すべて全角に: the whole editor to full width
void EditorCommands::N1Click() {
    convertAllLines(lineConversion(ToFullWidth));
}

// 選択範囲を全角に: the selected text to full width
void EditorCommands::N2Click() {
    convertSelection(lineConversion(ToFullWidth));
}

// すべて半角に: the whole editor to half width
void EditorCommands::N4Click() {
    convertAllLines(lineConversion(ToHalfWidth));
}

// 選択範囲を半角に: the selected text to half width
void EditorCommands::N5Click() {
    convertSelection(lineConversion(ToHalfWidth));
}

// すべての半角 ( ) を全角に: every half-width parenthesis in the editor to full width
void EditorCommands::N28Click() {
    convertAllLines(lineConversion(ParensToFullWidth));
}

// その他のすべてを変換 (each of its ten items): the whole editor by the clicked item's table
void EditorCommands::N23Click(const QObject* sender) {
    const TableConversion* conversion =
        sender ? findTableConversion(sender->objectName().toStdString()) : nullptr;
    if (!conversion)
        return;
    convertAllLines(lineConversion([conversion](std::u16string_view line) {
        return ReplaceByTable(std::u16string(line), conversion->table, conversion->direction);
    }));
}

} // namespace kalvex
