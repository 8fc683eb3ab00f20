#include "operations/texttab/TextUpdate.h"

#include <cmath>

#include "cadlink/AttributeReference.h"
#include "cadlink/CadError.h"
#include "operations/LineText.h"

namespace kalvex {

namespace {

const std::string kInsert = "INSERT";
const std::string kNoLine;
constexpr std::chrono::milliseconds kProgressInterval{50};
constexpr double kLeastStep = 0.001;

bool isAttribute(const Orvik& record) {
    return record.parentType == kInsert;
}

// A record that only pads the list to the lines in use after a run that ended early: it has no
// entity and no position (a placeholder of a deleted or blank line keeps its position).
bool isPadding(const Orvik& record) {
    return record.sHnd.empty() && !isAttribute(record) && !record.insPt.isArray();
}

// Padding stands for lines that no run has placed yet. It is dropped before the next run, so
// that those lines are appended from the last placed record by the spacing instead of being
// copied to a place the record does not have.
void dropTrailingPadding(std::vector<Orvik>& records) {
    while (!records.empty() && isPadding(records.back()))
        records.pop_back();
}

// Gives a new copy of the template its line and its place. A copy that cannot be placed or
// written is deleted again within the same undo step before the error ends the run, so that a
// failed run leaves no stray TEXT behind.
template <class Fill> void fillCopy(cad::Text& copy, Fill fill) {
    try {
        fill();
    } catch (const cad::CadError&) {
        try {
            copy.Delete();
        } catch (const cad::CadError&) {
            // The copy is gone already; the first error is the one reported.
        }
        throw;
    }
}

} // namespace

TextUpdateRun::TextUpdateRun(std::vector<Orvik>& records, const TextLines& input,
                             cad::Document& document, RunWindow& window, RunScope& run)
    : m_records(records), m_input(input), m_document(document), m_window(window), m_run(run),
      m_used(usedLineCount(input.lines)), m_writer(m_records, document) {
    if (input.content == EditorContent::Texts)
        dropTrailingPadding(m_records);
}

void TextUpdateRun::run() {
    const bool finished = recordPass();
    if (finished && m_input.content == EditorContent::Texts)
        appendPass();
}

const std::string& TextUpdateRun::line(int k) const {
    return k < static_cast<int>(m_input.lines.size()) ? m_input.lines[static_cast<std::size_t>(k)]
                                                      : kNoLine;
}

// The progress is shown at most every few milliseconds: each new text lays the window out and
// repaints it, which would cost more than writing the TEXT itself.
void TextUpdateRun::showProgress(int number) {
    const auto now = std::chrono::steady_clock::now();
    if (m_lastProgress && now - *m_lastProgress < kProgressInterval)
        return;
    m_lastProgress = now;
    m_window.showProgress(std::to_string(number) + " / " + std::to_string(m_input.lines.size()));
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
    const bool hasLine = m_line < m_used;
    try {
        if (isAttribute(record))
            updateAttribute(record);
        else
            updateText(record);
    } catch (const cad::CadError&) {
    }
    if (hasLine)
        ++m_line;
}

void TextUpdateRun::updateText(Orvik& record) {
    TextPtr text = openText(m_document, record.sHnd);
    if (!text)
        return;
    m_writer.writeLine(text, record, m_line < m_used ? line(m_line) : kNoLine);
}

void TextUpdateRun::updateAttribute(Orvik& record) {
    if (m_line >= m_used)
        return;
    auto attribute = cad::entityAs<cad::AttributeReference>(m_document.HandleToObject(record.sHnd));
    writeIfDifferent(*attribute, line(m_line));
}

void TextUpdateRun::fillPlaceholder(Orvik& record) {
    if (!m_writer.haveTemplate())
        return;
    TextPtr copy = m_writer.copyTemplate();
    if (m_line >= m_used) {
        copy->Delete();
        return;
    }
    const std::string& current = line(m_line++);
    if (isBlankLine(current)) {
        copy->Delete();
        return;
    }
    fillCopy(*copy, [&] {
        writeIfDifferent(*copy, current);
        copy->SetAlignment(m_records.back().txtAli);
        placeText(*copy, record.insPt);
        record.lay = copy->Layer();
        record.sHnd = copy->Handle();
    });
}

void TextUpdateRun::appendPass() {
    if (!m_writer.findTemplate())
        return;
    if (static_cast<int>(m_input.lines.size()) <= m_line)
        return;
    if (std::abs(m_input.dX) < kLeastStep && std::abs(m_input.dY) < kLeastStep) {
        m_window.inform("dX, dY が 0 のため、追加を中止しました．");
        return;
    }
    const cad::CadPoint last = m_records.back().insPt;
    double x = last.x();
    double y = last.y();
    for (int j = m_line; j < m_used; ++j) {
        showProgress(j + 1);
        appendLine(j, x, y, last.z());
        if (!m_run.proceed())
            return;
    }
}

void TextUpdateRun::appendLine(int j, double& x, double& y, double z) {
    const std::string& current = line(j);
    x += m_input.dX;
    y += m_input.dY;
    Orvik record;
    if (isBlankLine(current)) {
        record.insPt = cad::CadPoint(x, y, z);
        m_records.push_back(record);
        return;
    }
    TextPtr copy = m_writer.copyTemplate();
    fillCopy(*copy, [&] {
        placeText(*copy, cad::CadPoint(x, y, z));
        copy->SetTextString(current);
        record.text = copy->TextString();
        attachText(record, *copy);
        record.insPt = placingPoint(*copy);
    });
    m_records.push_back(record);
    m_writer.useAsTemplate(copy);
}

void UpdateTexts(cad::Document& document, std::vector<Orvik>& records, const TextLines& input,
                 RunWindow& window) {
    document.StartUndoMark();
    try {
        RunScope run(window);
        TextUpdateRun(records, input, document, window, run).run();
    } catch (const cad::CadError&) {
        window.inform("エラーのため、更新を中止しました．");
    }
    if (input.content == EditorContent::Texts)
        records.resize(static_cast<std::size_t>(usedLineCount(input.lines)));
    document.Regen(0);
}

} // namespace kalvex
