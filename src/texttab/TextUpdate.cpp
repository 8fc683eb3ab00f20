#include "texttab/TextUpdate.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "operations/SourceDrawing.h"
#include "runwindow/QtRunWindow.h"
#include "texttab/EditorLines.h"
#include "texttab/LineEditor.h"
#include "texttab/Spacing.h"
#include "texttab/TextTabPage.h"

namespace kalvex {

namespace {

TextLines readTextLines(TextTabContext& context) {
    TextTabPage& page = context.page;
    TextLines input;
    input.lines = editorTextLines(*page.SynEdit1);
    input.dX = readSpacing(*page.Edit1);
    input.dY = readSpacing(*page.Edit2);
    input.content = context.work.ATTmode ? EditorContent::Attributes : EditorContent::Texts;
    return input;
}

} // namespace

void writeBackTexts(TextTabContext& context, CadOperation operation, const TextWriteBack& work) {
    TextTabPage& page = context.page;
    QtRunWindow window(context.messages, {&context.work.runFlag, page.SpeedButton5}, page.Label2);
    EntityRecords& records = context.work.records;
    const SealedRecords sealed = sealedRecords(records.textSeal, records.textRecords);
    writeToSourceDrawing(
        context.link, operation, records.textSource, window,
        [&](cad::Document& document) {
            page.Label2->show();
            page.SpeedButton3->hide();
            work(document, readTextLines(context), window);
            page.Label2->hide();
            page.SpeedButton3->show();
        },
        &sealed);
}

void SpeedButton2Click(TextTabContext& context) {
    if (context.page.SynEdit1->document()->isEmpty())
        return;
    writeBackTexts(context, CadOperation::TextUpdate,
                   [&context](cad::Document& document, const TextLines& input, RunWindow& window) {
                       UpdateTexts(document, context.records(), input, window);
                   });
}

} // namespace kalvex
