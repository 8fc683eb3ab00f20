#include "texttab/TextFetch.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cadlink/HandOff.h"
#include "cadlink/Selection.h"
#include "sorting/TextRecordSort.h"
#include "texttab/EditorLines.h"
#include "texttab/LineEditor.h"
#include "texttab/Spacing.h"
#include "texttab/TextTabPage.h"

namespace kalvex {

namespace {

constexpr int kSortByLargerExtent = 3;

void clearFetchTexts(TextTabContext& context) {
    context.page.Label1->clear();
    context.page.Label2->clear();
    context.statusPanel0->clear();
    context.statusPanel1->clear();
}

// What the fetch left out: TEXTs on locked layers, and TEXTs whose string the editor would
// split into several lines, so that their lines would be paired with other TEXTs' records.
struct Excluded {
    int locked = 0;
    int withLineBreak = 0;
};

// Reads the picked TEXTs that are neither on a locked layer nor hold a line break into the
// records, in pick order.
Excluded collectTexts(TextTabContext& context, TempSelection& selection,
                      const std::string& locked) {
    std::vector<Orvik>& records = context.records();
    const int total = selection.set().Count();
    records.assign(static_cast<std::size_t>(total), Orvik{});
    int accepted = 0;
    Excluded excluded;
    for (int i = 0; i < total; ++i) {
        auto text = cad::entityAs<cad::Text>(selection.set().Item(i));
        if (isOnLockedLayer(locked, text->Layer())) {
            ++excluded.locked;
            continue;
        }
        QCoreApplication::processEvents();
        Orvik record = textRecordOf(*text, accepted);
        if (holdsLineBreak(QString::fromStdString(record.text))) {
            ++excluded.withLineBreak;
            continue;
        }
        records[static_cast<std::size_t>(accepted++)] = std::move(record);
    }
    records.resize(static_cast<std::size_t>(accepted));
    return excluded;
}

void reportExcluded(TextTabContext& context, const Excluded& excluded) {
    if (excluded.locked > 0)
        context.messages.inform(
            QStringLiteral("ロック画層のTEXT %1 個を除外しました.").arg(excluded.locked));
    if (excluded.withLineBreak > 0)
        context.messages.inform(
            QStringLiteral("改行を含むTEXT %1 個を除外しました.").arg(excluded.withLineBreak));
}

void afterCollecting(TextTabContext& context, const Excluded& excluded) {
    reportExcluded(context, excluded);
    if (!context.records().empty() && context.page.CheckBox1->isChecked())
        SortTextRecords(context.records(), kSortByLargerExtent);
    context.work.undoFlag = false;
    context.page.SpeedButton4->setEnabled(false);
    showRecordsInEditor(context);
}

void proposeFetchedSpacing(TextTabContext& context) {
    TextTabPage& page = context.page;
    if (proposeSpacing(context.records(), *page.Edit1, *page.Edit2))
        context.messages.inform(QStringLiteral("dX, dY が 0 です．\rdX, dY の値を設定するか、"
                                               "[取得]で複数の TEXT を選択してください．"));
    page.SpeedButton2->setEnabled(!context.records().empty());
    page.SpeedButton6->setEnabled(context.records().size() >= 2);
}

// Picks and reads the TEXTs; true when at least one was accepted.
bool pickTexts(TextTabContext& context, cad::Document& document) {
    const std::string locked = lockedLayerList(document);
    auto selection = PickOnScreen(document, TextPickFilter(), context.link.waiter);
    if (!selection)
        return false;
    const int total = selection->set().Count();
    if (total < 1)
        return false;
    context.work.records.textSource = document.Key();
    afterCollecting(context, collectTexts(context, *selection, locked));
    return !context.records().empty();
}

} // namespace

Orvik textRecordOf(cad::Text& text, int index) {
    Orvik record;
    record.text = text.TextString();
    record.sHnd = text.Handle();
    record.index = index;
    record.txtAli = text.Alignment();
    record.insPt = record.txtAli != 0 ? text.TextAlignmentPoint() : text.InsertionPoint();
    record.lay = text.Layer();
    return record;
}

void showRecordsInEditor(TextTabContext& context) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(context.records().size()));
    for (const Orvik& record : context.records())
        lines << QString::fromStdString(record.text);
    LineEditor& editor = *context.page.SynEdit1;
    editor.setPlainText(lines.join(QLatin1Char('\n')));
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::Start);
    editor.setTextCursor(cursor);
}

void SpeedButton1Click(TextTabContext& context) {
    clearFetchTexts(context);
    context.work.ATTmode = false;
    CadSession session(context.link, CadOperation::Fetch);
    if (session.connected() && pickTexts(context, *session.document()))
        proposeFetchedSpacing(context);
    session.finish();
}

} // namespace kalvex
