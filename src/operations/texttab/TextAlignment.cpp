#include "operations/texttab/TextAlignment.h"

#include <cmath>

#include "cadlink/CadError.h"
#include "operations/LineText.h"

namespace kalvex {

namespace {

constexpr double kLeastSpacing = 0.01;
const std::string kNoLine;

} // namespace

TextAlignmentRun::TextAlignmentRun(std::vector<Orvik>& records, const TextLines& input,
                                   cad::Document& document, RunWindow& window)
    : m_records(records), m_input(input), m_document(document), m_window(window),
      m_used(usedLineCount(input.lines)), m_writer(m_records, document) {}

const std::string& TextAlignmentRun::line(std::size_t k) const {
    return k < m_input.lines.size() ? m_input.lines[k] : kNoLine;
}

void TextAlignmentRun::run() {
    if (m_records.size() <= 1)
        return;
    if (std::abs(m_input.dX) > kLeastSpacing || std::abs(m_input.dY) > kLeastSpacing) {
        alignRecords();
        appendLines();
    }
    trim();
}

cad::CadPoint TextAlignmentRun::alignedPoint(std::size_t i, double z) const {
    const double steps = static_cast<double>(i);
    return cad::CadPoint(m_x0 + steps * m_input.dX, m_y0 + steps * m_input.dY, z);
}

void TextAlignmentRun::alignRecords() {
    m_x0 = m_records[0].insPt.x();
    m_y0 = m_records[0].insPt.y();
    const std::size_t n = m_records.size();
    for (std::size_t i = 0; i < n; ++i) {
        m_window.showProgress(std::to_string(i + 1) + " / " + std::to_string(m_input.lines.size()));
        alignRecord(i);
    }
}

void TextAlignmentRun::alignRecord(std::size_t i) {
    Orvik& record = m_records[i];
    if (record.sHnd.empty()) {
        fillPlaceholder(i, line(i));
        return;
    }
    if (static_cast<int>(i) >= m_used)
        return;
    record.insPt = alignedPoint(i, record.insPt.z());
    alignText(record, line(i));
}

// A TEXT that cannot be opened any more is passed over, so that no other TEXT is moved, written
// or deleted in its place. The record's own alignment code tells which point moves it.
void TextAlignmentRun::alignText(Orvik& record, const std::string& line) {
    TextPtr text = openText(m_document, record.sHnd);
    if (!text)
        return;
    placeText(*text, record.txtAli, record.insPt);
    if (m_writer.writeLine(text, record, line) == LineResult::Written)
        text->Update();
}

void TextAlignmentRun::fillPlaceholder(std::size_t i, const std::string& line) {
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
void TextAlignmentRun::placeCopy(Orvik& record, TextPtr copy, const std::string& line) {
    if (isBlankLine(line)) {
        deleteText(*copy, record);
        return;
    }
    record.text = line;
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
        placeCopy(record, copy, line(static_cast<std::size_t>(i)));
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

void AlignTexts(cad::Document& document, std::vector<Orvik>& records, const TextLines& input,
                RunWindow& window) {
    document.StartUndoMark();
    try {
        RunScope run(window);
        TextAlignmentRun(records, input, document, window).run();
    } catch (const cad::CadError&) {
        window.inform("エラーのため、更新処理を中止しました．");
    }
}

} // namespace kalvex
