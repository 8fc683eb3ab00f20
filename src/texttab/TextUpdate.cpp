#include "texttab/TextUpdate.h"

#include <cmath>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cadlink/AttributeReference.h"
#include "cadlink/HandOff.h"
#include "texttab/EditorLines.h"
#include "texttab/LineEditor.h"
#include "texttab/Spacing.h"
#include "texttab/TextTabPage.h"
#include "workstate/SourceDrawing.h"

namespace kalvex {

namespace {

const std::string kInsert = "INSERT";
constexpr qint64 kProgressInterval = 50; // milliseconds
constexpr double kLeastStep = 0.001;

bool isAttribute(const Orvik& record) {
    return record.parentType == kInsert;
}

} // namespace

TextUpdateRun::TextUpdateRun(TextTabContext& context, cad::Document& document, RunFlagScope& run)
    : m_context(context), m_document(document), m_run(run), m_records(context.records()),
      m_writer(m_records, document) {}

void TextUpdateRun::run() {
    const bool finished = recordPass();
    if (finished && !m_context.work.ATTmode)
        appendPass();
}

QString TextUpdateRun::line(int k) const {
    return editorLine(*m_context.page.SynEdit1, k);
}

int TextUpdateRun::usedLines() const {
    return UsedLineCount(*m_context.page.SynEdit1);
}

// The label is set at most every few milliseconds: each new text lays the window out and
// repaints it, which would cost more than writing the TEXT itself.
void TextUpdateRun::showProgress(int number) {
    if (m_progressClock.isValid() && m_progressClock.elapsed() < kProgressInterval)
        return;
    m_progressClock.start();
    m_context.page.Label2->setText(
        QStringLiteral("%1 / %2").arg(number).arg(totalLineCount(*m_context.page.SynEdit1)));
}

// False when the user aborted the pass.
bool TextUpdateRun::recordPass() {
    const std::size_t n = m_records.size();
    for (std::size_t i = 0; i < n; ++i) {
        showProgress(static_cast<int>(i) + 1);
        updateRecord(i);
        if (!m_run.proceed())
            return false;
    }
    return true;
}

void TextUpdateRun::updateRecord(std::size_t i) {
    Orvik& record = m_records[i];
    if (record.sHnd.empty()) {
        if (!isAttribute(record))
            fillPlaceholder(record);
        return;
    }
    // A record whose entity cannot be opened or written is passed over, but it keeps its
    // line, so that the lines after it stay paired with their own records.
    const bool hasLine = m_line < usedLines();
    try {
        if (isAttribute(record))
            updateAttribute(record);
        else
            updateText(record);
    } catch (const std::exception&) {
    }
    if (hasLine)
        ++m_line;
}

void TextUpdateRun::updateText(Orvik& record) {
    TextPtr text = openText(m_document, record.sHnd);
    if (!text)
        return;
    const QString current = m_line < usedLines() ? line(m_line) : QString();
    m_writer.writeLine(text, record, current);
}

void TextUpdateRun::updateAttribute(Orvik& record) {
    if (m_line >= usedLines())
        return;
    auto attribute = cad::entityAs<cad::AttributeReference>(m_document.HandleToObject(record.sHnd));
    writeIfDifferent(*attribute, line(m_line));
}

void TextUpdateRun::fillPlaceholder(Orvik& record) {
    if (!m_writer.haveTemplate())
        return;
    TextPtr copy = m_writer.copyTemplate();
    if (m_line >= usedLines()) {
        copy->Delete();
        return;
    }
    const QString current = line(m_line++);
    if (isBlankLine(current)) {
        copy->Delete();
        return;
    }
    writeIfDifferent(*copy, current);
    copy->SetAlignment(m_records.back().txtAli);
    placeText(*copy, record.insPt);
    record.lay = copy->Layer();
    record.sHnd = copy->Handle();
}

void TextUpdateRun::appendPass() {
    if (!m_writer.findTemplate())
        return;
    if (totalLineCount(*m_context.page.SynEdit1) <= m_line)
        return;
    const double dX = readSpacing(*m_context.page.Edit1);
    const double dY = readSpacing(*m_context.page.Edit2);
    if (std::abs(dX) < kLeastStep && std::abs(dY) < kLeastStep) {
        m_context.messages.inform(QStringLiteral("dX, dY が 0 のため、追加を中止しました．"));
        return;
    }
    const cad::CadPoint last = m_records.back().insPt;
    double x = last.x();
    double y = last.y();
    for (int j = m_line; j < usedLines(); ++j) {
        showProgress(j + 1);
        appendLine(j, x, y, last.z(), dX, dY);
        if (!m_run.proceed())
            return;
    }
}

void TextUpdateRun::appendLine(int j, double& x, double& y, double z, double dX, double dY) {
    const QString current = line(j);
    Orvik record;
    if (isBlankLine(current)) {
        x += dX;
        y += dY;
        record.insPt = cad::CadPoint(x, y, z);
        m_records.push_back(record);
        return;
    }
    TextPtr copy = m_writer.copyTemplate();
    x += dX;
    y += dY;
    placeText(*copy, cad::CadPoint(x, y, z));
    copy->SetTextString(current.toStdString());
    record.text = copy->TextString();
    attachText(record, *copy);
    record.insPt = placingPoint(*copy);
    m_records.push_back(record);
    m_writer.useAsTemplate(copy);
}

namespace {

void restoreAfterUpdate(TextTabContext& context, cad::Document& document) {
    if (!context.work.ATTmode)
        context.records().resize(static_cast<std::size_t>(UsedLineCount(*context.page.SynEdit1)));
    context.page.Label2->hide();
    context.page.SpeedButton3->show();
    document.Regen(0);
}

void runUpdate(TextTabContext& context, cad::Document& document) {
    TextTabPage& page = context.page;
    RunFlagScope run(context.work.runFlag, page.SpeedButton5);
    page.Label2->show();
    page.SpeedButton3->hide();
    TextUpdateRun(context, document, run).run();
}

} // namespace

void SpeedButton2Click(TextTabContext& context) {
    if (context.page.SynEdit1->document()->isEmpty())
        return;
    CadSession session(context.link, CadOperation::TextUpdate);
    if (!session.connected())
        return;
    cad::DocumentPtr document =
        sourceDrawing(session, context.work.records.textSource, context.messages);
    if (!document)
        return session.finish();
    document->StartUndoMark();
    try {
        runUpdate(context, *document);
    } catch (const std::exception&) {
        context.messages.inform(QStringLiteral("エラーのため、更新を中止しました．"));
    }
    restoreAfterUpdate(context, *document);
    session.finish();
}

} // namespace kalvex
