#include "texttab/AttrFetch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cadlink/AttributeReference.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Connection.h"
#include "cadlink/HandOff.h"
#include "cadlink/Selection.h"
#include "sorting/TextRecordSort.h"
#include "texttab/EditorLines.h"
#include "texttab/LineEditor.h"
#include "texttab/Spacing.h"
#include "texttab/TextFetch.h"
#include "texttab/TextTabPage.h"

namespace kalvex {

namespace {

constexpr int kSortByLargerExtent = 3;
const QString kAnyBlock = QStringLiteral("*");

Orvik attributeRecord(const cad::BlockReference& block, const cad::AttributeReference& attribute,
                      int index) {
    Orvik record;
    record.text = attribute.TextString();
    record.sHnd = attribute.Handle();
    record.index = index;
    record.txtAli = attribute.Alignment();
    record.lay = block.Layer();
    record.insPt = block.InsertionPoint();
    record.parentType = "INSERT";
    record.parentHnd = block.Handle();
    record.parentId = block.ObjectID();
    return record;
}

// A value the editor would split into several lines is left out and counted, so that line k
// of the editor stays paired with record k.
void collectBlock(std::vector<Orvik>& records, const cad::BlockReference& block,
                  const std::string& tag, int& withLineBreak) {
    if (!block.HasAttributes())
        return;
    for (const cad::AttributeReferencePtr& attribute : block.GetAttributes()) {
        if (attribute->TagString() != tag)
            continue;
        Orvik record = attributeRecord(block, *attribute, static_cast<int>(records.size()));
        if (holdsLineBreak(QString::fromStdString(record.text)))
            ++withLineBreak;
        else
            records.push_back(std::move(record));
    }
}

// The number of values left out for a line break.
int collectAttributes(TextTabContext& context, TempSelection& selection, const QString& tag) {
    std::vector<Orvik>& records = context.records();
    records.clear();
    int withLineBreak = 0;
    const int count = selection.set().Count();
    for (int k = 0; k < count; ++k) {
        context.page.Label2->setText(QStringLiteral("%1 : %2 / %3").arg(tag).arg(k + 1).arg(count));
        context.page.Label2->repaint();
        auto block = cad::entityAs<cad::BlockReference>(selection.set().Item(k));
        collectBlock(records, *block, tag.toStdString(), withLineBreak);
    }
    return withLineBreak;
}

int editorLineCount(const LineEditor& editor) {
    return editor.document()->isEmpty() ? 0 : editor.document()->blockCount();
}

void showAttributes(TextTabContext& context, const QString& tag, int count) {
    TextTabPage& page = context.page;
    if (page.CheckBox1->isChecked())
        SortTextRecords(context.records(), kSortByLargerExtent);
    context.work.undoFlag = false;
    page.SpeedButton4->setEnabled(false);
    showRecordsInEditor(context);
    page.Label2->setText(
        QStringLiteral("%1 = %2 / %3").arg(tag).arg(editorLineCount(*page.SynEdit1)).arg(count));
    proposeSpacing(context.records(), *page.Edit1, *page.Edit2);
    page.SpeedButton2->setEnabled(!context.records().empty());
    page.SpeedButton6->setEnabled(false);
}

// The tool window is brought back also when collecting fails, so that the error report is
// not hidden behind a minimised window.
void pickAttributes(TextTabContext& context, cad::Document& document, const TagSelection& wanted) {
    auto selection = PickOnScreen(document, InsertPickFilter(wanted.blockPattern.toStdString()),
                                  context.link.waiter);
    const int count = selection ? selection->set().Count() : 0;
    context.page.Label2->setText(QStringLiteral("INSERT=%1").arg(count));
    if (count == 0)
        return;
    int withLineBreak = 0;
    context.work.records.textSource = document.Key();
    try {
        withLineBreak = collectAttributes(context, *selection, wanted.tag);
    } catch (const std::exception&) {
        RestoreTool(context.link);
        throw;
    }
    if (withLineBreak > 0)
        context.messages.inform(
            QStringLiteral("改行を含む属性値 %1 個を除外しました.").arg(withLineBreak));
    showAttributes(context, wanted.tag, count);
}

} // namespace

TagSelection parseTagSelection(const QString& entry) {
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return {entry, kAnyBlock};
    const QString rest = entry.mid(colon);
    const qsizetype open = rest.indexOf(QLatin1Char('['));
    const qsizetype close = rest.indexOf(QLatin1Char(']'));
    const bool bracketed = open >= 0 && close >= open + 2;
    return {entry.left(colon), bracketed ? rest.mid(open + 1, close - open - 1) : kAnyBlock};
}

void SpeedButton8Click(TextTabContext& context) {
    TextTabPage& page = context.page;
    page.Label1->clear();
    page.Label2->clear();
    context.statusPanel0->clear();
    context.statusPanel1->clear();
    context.work.ATTmode = true;
    const TagSelection wanted = parseTagSelection(page.ComboBox1->currentText());
    CadSession session(context.link, CadOperation::Fetch);
    if (session.connected())
        pickAttributes(context, *session.document(), wanted);
    session.finish();
}

} // namespace kalvex
