#include "texttab/TextFetch.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cadlink/HandOff.h"
#include "cadlink/Selection.h"
#include "sorting/TextRecordSort.h"
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

// Reads the picked TEXTs that are not on a locked layer into the records, in pick order.
int collectTexts(TextTabContext& context, TempSelection& selection, const std::string& locked) {
    std::vector<Orvik>& records = context.records();
    const int total = selection.set().Count();
    records.assign(static_cast<std::size_t>(total), Orvik{});
    int accepted = 0;
    for (int i = 0; i < total; ++i) {
        auto text = cad::entityAs<cad::Text>(selection.set().Item(i));
        if (isOnLockedLayer(locked, text->Layer()))
            continue;
        QCoreApplication::processEvents();
        records[static_cast<std::size_t>(accepted)] = textRecordOf(*text, accepted);
        ++accepted;
    }
    records.resize(static_cast<std::size_t>(accepted));
    return accepted;
}

void reportExcluded(TextTabContext& context, int excluded) {
    context.messages.inform(QStringLiteral("ロック画層のTEXT %1 個を除外しました.").arg(excluded));
}

void afterCollecting(TextTabContext& context, int total, int accepted) {
    if (accepted < total)
        reportExcluded(context, total - accepted);
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
    const int accepted = collectTexts(context, *selection, locked);
    afterCollecting(context, total, accepted);
    return accepted > 0;
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
