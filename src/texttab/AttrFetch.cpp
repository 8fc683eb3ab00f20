#include "texttab/AttrFetch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cadlink/HandOff.h"
#include "runwindow/QtRunWindow.h"
#include "texttab/LineEditor.h"
#include "texttab/Spacing.h"
#include "texttab/TextFetch.h"
#include "texttab/TextTabPage.h"

namespace kalvex {

namespace {

const QString kAnyBlock = QStringLiteral("*");

int editorLineCount(const LineEditor& editor) {
    return editor.document()->isEmpty() ? 0 : editor.document()->blockCount();
}

void showAttributes(TextTabContext& context, const QString& tag, int count) {
    TextTabPage& page = context.page;
    context.work.undoFlag = false;
    page.SpeedButton4->setEnabled(false);
    showRecordsInEditor(context);
    page.Label2->setText(
        QStringLiteral("%1 = %2 / %3").arg(tag).arg(editorLineCount(*page.SynEdit1)).arg(count));
    proposeSpacing(context.records(), *page.Edit1, *page.Edit2);
    page.SpeedButton2->setEnabled(!context.records().empty());
    page.SpeedButton6->setEnabled(false);
}

void pickAttributes(TextTabContext& context, cad::Document& document, const QString& entry) {
    const TagSelection wanted = parseTagSelection(entry);
    QtRunWindow window(context.messages, {}, context.page.Label2, ProgressPaint::Immediate);
    const FetchOrder order =
        context.page.CheckBox1->isChecked() ? FetchOrder::ByPosition : FetchOrder::AsPicked;
    const int count =
        FetchAttributes(document, context.link, wanted, order, window, context.work.records);
    if (count > 0)
        showAttributes(context, QString::fromStdString(wanted.tag), count);
}

} // namespace

TagSelection parseTagSelection(const QString& entry) {
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return {entry.toStdString(), kAnyBlock.toStdString()};
    const QString rest = entry.mid(colon);
    const qsizetype open = rest.indexOf(QLatin1Char('['));
    const qsizetype close = rest.indexOf(QLatin1Char(']'));
    const bool bracketed = open >= 0 && close >= open + 2;
    const QString pattern = bracketed ? rest.mid(open + 1, close - open - 1) : kAnyBlock;
    return {entry.left(colon).toStdString(), pattern.toStdString()};
}

void SpeedButton8Click(TextTabContext& context) {
    TextTabPage& page = context.page;
    page.Label1->clear();
    page.Label2->clear();
    context.statusPanel0->clear();
    context.statusPanel1->clear();
    context.work.ATTmode = true;
    CadSession session(context.link, CadOperation::Fetch);
    if (session.connected())
        pickAttributes(context, *session.document(), page.ComboBox1->currentText());
    session.finish();
}

} // namespace kalvex
