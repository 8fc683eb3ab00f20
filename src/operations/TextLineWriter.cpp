#include "operations/TextLineWriter.h"

#include "cadlink/CadError.h"
#include "operations/LineText.h"

namespace kalvex {

TextLineWriter::TextLineWriter(const std::vector<Orvik>& records, cad::Document& document)
    : m_records(records), m_document(document) {}

LineResult TextLineWriter::writeLine(const TextPtr& text, Orvik& record, const std::string& line) {
    if (isBlankLine(line)) {
        deleteText(*text, record);
        return LineResult::Deleted;
    }
    writeIfDifferent(*text, line);
    m_template = text;
    return LineResult::Written;
}

bool TextLineWriter::haveTemplate() {
    return m_template || findTemplate();
}

bool TextLineWriter::findTemplate() {
    if (!FindTemplateText(m_records, m_document, m_template))
        return false;
    if (!m_template)
        throw cad::CadError("The template TEXT cannot be opened.");
    return true;
}

void TextLineWriter::useAsTemplate(const TextPtr& text) {
    m_template = text;
}

TextPtr TextLineWriter::copyTemplate() const {
    return cad::entityAs<cad::Text>(m_template->Copy());
}

bool FindTemplateText(const std::vector<Orvik>& records, cad::Document& document,
                      TextPtr& templateText) {
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        if (record->sHnd.empty())
            continue;
        try {
            templateText = cad::entityAs<cad::Text>(document.HandleToObject(record->sHnd));
        } catch (const cad::CadError&) {
            // The caller finds the template it had before, or none.
        }
        return true;
    }
    return false;
}

TextPtr openText(cad::Document& document, const std::string& handle) {
    try {
        return cad::entityAs<cad::Text>(document.HandleToObject(handle));
    } catch (const cad::CadError&) {
        return nullptr;
    }
}

void deleteText(cad::Text& text, Orvik& record) {
    text.Delete();
    record.sHnd.clear();
}

void attachText(Orvik& record, const cad::Text& text) {
    record.sHnd = text.Handle();
    record.txtAli = text.Alignment();
    record.lay = text.Layer();
}

void placeText(cad::Text& text, int alignment, const cad::CadPoint& point) {
    if (alignment != 0)
        text.SetTextAlignmentPoint(point);
    else
        text.SetInsertionPoint(point);
}

void placeText(cad::Text& text, const cad::CadPoint& point) {
    placeText(text, text.Alignment(), point);
}

cad::CadPoint placingPoint(const cad::Text& text) {
    return text.Alignment() != 0 ? text.TextAlignmentPoint() : text.InsertionPoint();
}

} // namespace kalvex
