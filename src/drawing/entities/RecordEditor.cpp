#include "drawing/entities/RecordEditor.h"

#include "drawing/entities/RecordView.h"
#include "drawing/tags/TagLookup.h"

namespace kalvex::drawing {

bool RecordEditor::setRaw(std::int16_t code, std::string_view bytes, std::size_t insertAt) {
    dxf::TagPool& pool = m_drawing.pool();
    if (const auto index = dxf::findInMain(m_tags, code)) {
        if (pool.value(m_tags[*index]) == bytes)
            return false;
        m_tags[*index] = pool.withValue(m_tags[*index], bytes);
    } else {
        insertAt = std::min(insertAt, m_tags.size());
        m_tags.insert(m_tags.begin() + static_cast<std::ptrdiff_t>(insertAt),
                      pool.make(code, bytes));
    }
    m_changed = true;
    return true;
}

bool RecordEditor::setText(std::int16_t code, std::string_view utf8, std::size_t insertAt) {
    if (const auto index = dxf::findInMain(m_tags, code)) {
        // A value that decodes to the same text keeps its bytes as they were.
        if (m_drawing.codec().decode(m_drawing.pool().value(m_tags[*index])) == utf8)
            return false;
    }
    return setRaw(code, m_drawing.codec().encode(utf8), insertAt);
}

bool RecordEditor::setPoint(std::int16_t xCode, const cad::CadPoint& point, std::size_t insertAt) {
    bool changed = false;
    for (int axis = 0; axis < 3; ++axis) {
        const auto code = static_cast<std::int16_t>(xCode + 10 * axis);
        const bool present = dxf::findInMain(m_tags, code).has_value();
        if (axis == 2 && !present && point.z() == 0.0)
            break; // a 2D point stays 2D
        const auto current = present ? RecordView::parseReal(m_drawing.pool().value(
                                           m_tags[*dxf::findInMain(m_tags, code)]))
                                     : std::optional<double>();
        if (current && *current == point.at(axis))
            continue;
        changed |= setRaw(code, formatReal(point.at(axis)), insertAt + axis);
    }
    return changed;
}

bool RecordEditor::setTextAt(std::size_t index, std::string_view utf8) {
    dxf::Tag& tag = m_tags.at(index);
    if (m_drawing.codec().decode(m_drawing.pool().value(tag)) == utf8)
        return false;
    tag = m_drawing.pool().withValue(tag, m_drawing.codec().encode(utf8));
    m_changed = true;
    return true;
}

void RecordEditor::eraseAt(std::size_t index) {
    m_tags.erase(m_tags.begin() + static_cast<std::ptrdiff_t>(index));
    m_changed = true;
}

std::size_t RecordEditor::afterCode(std::int16_t code) const {
    const auto index = dxf::findInMain(m_tags, code);
    return index ? *index + 1 : mainEnd();
}

std::size_t RecordEditor::mainEnd() const {
    return dxf::mainPartEnd(m_tags);
}

void RecordEditor::commit() {
    if (!m_changed)
        return;
    m_changed = false;
    const dxf::TagList& current = m_drawing.slot(m_id).tags;
    std::size_t changedPairs = 0;
    if (current.size() == m_tags.size())
        for (std::size_t i = 0; i < current.size(); ++i)
            changedPairs += current[i] != m_tags[i];
    // Pairs changed where they stand are changed one by one, so that undo keeps the old pairs
    // alone rather than an image of the whole record, unless that image is the smaller.
    const std::size_t pairsCost = changedPairs * sizeof(RecordChange);
    const std::size_t imageCost = sizeof(RecordChange) + m_tags.size() * sizeof(dxf::Tag);
    if (current.size() != m_tags.size() || pairsCost > imageCost) {
        m_drawing.setTags(m_id, m_tags);
        return;
    }
    const Drawing::CompoundChange step(m_drawing);
    for (std::size_t i = 0; i < m_tags.size(); ++i)
        if (current[i] != m_tags[i])
            m_drawing.setPair(m_id, i, m_tags[i]);
}

} // namespace kalvex::drawing
