#include "texttab/TextFetch.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cadlink/HandOff.h"
#include "operations/texttab/TextFetch.h"
#include "runwindow/QtRunWindow.h"
#include "texttab/LineEditor.h"
#include "texttab/Spacing.h"
#include "texttab/TextTabPage.h"

namespace kalvex {

namespace {

void clearFetchTexts(TextTabContext& context) {
    context.page.Label1->clear();
    context.page.Label2->clear();
    context.statusPanel0->clear();
    context.statusPanel1->clear();
}

void afterCollecting(TextTabContext& context) {
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
    QtRunWindow window(context.messages);
    const FetchOrder order =
        context.page.CheckBox1->isChecked() ? FetchOrder::ByPosition : FetchOrder::AsPicked;
    if (FetchTexts(document, context.link.waiter, order, window, context.work.records) ==
        FetchResult::NothingPicked)
        return false;
    afterCollecting(context);
    return !context.records().empty();
}

} // namespace

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
