#include "texttab/TextAlignment.h"

#include <cmath>

#include <QLabel>
#include <QPushButton>

#include "cadlink/HandOff.h"
#include "texttab/EditorLines.h"
#include "texttab/LineEditor.h"
#include "texttab/Spacing.h"
#include "texttab/TextTabPage.h"
#include "workstate/RunFlag.h"
#include "workstate/SourceDrawing.h"

namespace kalvex {

namespace {

constexpr double kLeastSpacing = 0.01;

} // namespace

TextAlignmentRun::TextAlignmentRun(TextTabContext& context, cad::Document& document)
    : m_context(context), m_document(document), m_records(context.records()),
      m_used(UsedLineCount(*context.page.SynEdit1)), m_writer(m_records, document) {}

void TextAlignmentRun::run() {
    if (m_records.size() <= 1)
        return;
    m_dX = readSpacing(*m_context.page.Edit1);
    m_dY = readSpacing(*m_context.page.Edit2);
    if (std::abs(m_dX) > kLeastSpacing || std::abs(m_dY) > kLeastSpacing) {
        alignRecords();
        appendLines();
    }
    trim();
}

cad::CadPoint TextAlignmentRun::alignedPoint(std::size_t i, double z) const {
    const double steps = static_cast<double>(i);
    return cad::CadPoint(m_x0 + steps * m_dX, m_y0 + steps * m_dY, z);
}

void TextAlignmentRun::alignRecords() {
    m_x0 = m_records[0].insPt.x();
    m_y0 = m_records[0].insPt.y();
    const std::size_t n = m_records.size();
    for (std::size_t i = 0; i < n; ++i) {
        m_context.page.Label2->setText(
            QStringLiteral("%1 / %2").arg(i + 1).arg(totalLineCount(*m_context.page.SynEdit1)));
        alignRecord(i);
    }
}

void TextAlignmentRun::alignRecord(std::size_t i) {
    Orvik& record = m_records[i];
    const QString line = editorLine(*m_context.page.SynEdit1, static_cast<int>(i));
    if (record.sHnd.empty()) {
        fillPlaceholder(i, line);
        return;
    }
    if (static_cast<int>(i) >= m_used)
        return;
    record.insPt = alignedPoint(i, record.insPt.z());
    alignText(record, line);
}

// A TEXT that cannot be opened any more is passed over, so that no other TEXT is moved, written
// or deleted in its place. The record's own alignment code tells which point moves it.
void TextAlignmentRun::alignText(Orvik& record, const QString& line) {
    TextPtr text = openText(m_document, record.sHnd);
    if (!text)
        return;
    placeText(*text, record.txtAli, record.insPt);
    if (m_writer.writeLine(text, record, line) == LineResult::Written)
        text->Update();
}

void TextAlignmentRun::fillPlaceholder(std::size_t i, const QString& line) {
    if (!m_writer.haveTemplate())
        return;
    Orvik& record = m_records[i];
    TextPtr copy = m_writer.copyTemplate();
    attachText(record, *copy);
    const cad::CadPoint from = placingPoint(*copy);
    record.insPt = alignedPoint(i, from.z());
    placeCopy(record, copy, line);
}

// A copy that gets a line is written and placed; one for a blank line is deleted again.
void TextAlignmentRun::placeCopy(Orvik& record, TextPtr copy, const QString& line) {
    if (isBlankLine(line)) {
        deleteText(*copy, record);
        return;
    }
    record.text = line.toStdString();
    copy->SetTextString(record.text);
    placeText(*copy, record.insPt);
    copy->Update();
}

void TextAlignmentRun::appendLines() {
    if (m_used <= static_cast<int>(m_records.size()) || !m_writer.haveTemplate())
        return;
    for (int i = static_cast<int>(m_records.size()); i < m_used; ++i) {
        TextPtr copy = m_writer.copyTemplate();
        Orvik record;
        attachText(record, *copy);
        record.insPt = alignedPoint(static_cast<std::size_t>(i), 0.0);
        placeCopy(record, copy, editorLine(*m_context.page.SynEdit1, i));
        m_records.push_back(record);
    }
}

void TextAlignmentRun::trim() {
    if (m_used >= static_cast<int>(m_records.size()))
        return;
    for (std::size_t i = static_cast<std::size_t>(m_used); i < m_records.size(); ++i) {
        Orvik& record = m_records[i];
        if (record.sHnd.empty())
            continue;
        TextPtr text = openText(m_document, record.sHnd);
        if (!text)
            continue;
        record.sHnd.clear();
        text->Delete();
    }
    m_document.Regen(0);
}

void SpeedButton6Click(TextTabContext& context) {
    CadSession session(context.link, CadOperation::GridUpdateOrAlign);
    if (!session.connected())
        return;
    cad::DocumentPtr document =
        sourceDrawing(session, context.work.records.textSource, context.messages);
    if (!document)
        return session.finish();
    document->StartUndoMark();
    TextTabPage& page = context.page;
    try {
        RunFlagScope run(context.work.runFlag, page.SpeedButton5);
        page.Label2->show();
        page.SpeedButton3->hide();
        TextAlignmentRun(context, *document).run();
    } catch (const std::exception&) {
        context.messages.inform(QStringLiteral("エラーのため、更新処理を中止しました．"));
    }
    page.Label2->hide();
    page.SpeedButton3->show();
    session.finish();
}

} // namespace kalvex
