#include "drawing/entities/TextEntity.h"

#include <cmath>

#include "drawing/entities/RecordEditor.h"
#include "drawing/entities/TextAlignment.h"
#include "drawing/tags/TagLookup.h"

namespace kalvex::drawing {

std::int16_t TextEntity::verticalCode() const {
    return m_drawing.slot(m_id).kind == RecordKind::Text ? 73 : 74;
}

std::pair<std::size_t, std::size_t> TextEntity::embeddedPart() const {
    if (m_drawing.slot(m_id).kind == RecordKind::Text)
        return {0, 0};
    const dxf::TagList& tags = m_drawing.slot(m_id).tags;
    std::size_t begin = dxf::mainPartEnd(tags);
    if (begin == tags.size() || tags[begin].code != 101)
        return {0, 0};
    std::size_t end = begin + 1;
    while (end < tags.size() && tags[end].code < 1000)
        ++end;
    return {begin + 1, end};
}

std::string TextEntity::textString() const {
    const auto [begin, end] = embeddedPart();
    if (begin == end)
        return view().text(1);
    const dxf::TagList& tags = m_drawing.slot(m_id).tags;
    std::string chunks;
    std::string last;
    for (std::size_t i = begin; i < end; ++i) {
        if (tags[i].code == 3)
            chunks += m_drawing.pool().value(tags[i]);
        else if (tags[i].code == 1 && last.empty())
            last = m_drawing.pool().value(tags[i]);
    }
    return m_drawing.codec().decode(chunks + last);
}

void TextEntity::setEmbeddedText(RecordEditor& editor, const std::string& text) const {
    auto [begin, end] = embeddedPart();
    // The whole text goes into the 1 pair; the 3 pairs that held the front of the old one go.
    for (std::size_t i = end; i-- > begin;)
        if (editor.tags()[i].code == 3) {
            editor.eraseAt(i);
            --end;
        }
    if (const auto index = dxf::findCode(editor.tags(), 1, begin, end))
        editor.setTextAt(*index, text);
}

int TextEntity::alignment() const {
    const RecordView record = view();
    return alignmentFromCodes({record.integer(72), record.integer(verticalCode())});
}

void TextEntity::setTextString(const std::string& text) {
    if (textString() == text)
        return;
    RecordEditor editor(m_drawing, m_id);
    editor.setText(1, text, editor.mainEnd());
    if (embeddedPart().first != embeddedPart().second)
        setEmbeddedText(editor, text);
    editor.commit();
}

void TextEntity::setAlignment(int alignment) {
    const AlignmentCodes codes = codesFromAlignment(alignment);
    const RecordView record = view();
    RecordEditor editor(m_drawing, m_id);
    // The horizontal code and the alignment point belong with the text value; the vertical
    // code closes the record (for TEXT it sits in the second AcDbText subclass). A code that
    // already holds the number keeps its spelling.
    if (record.integer(72) != codes.horizontal)
        editor.setRaw(72, std::to_string(codes.horizontal), editor.afterCode(1));
    if (record.integer(verticalCode()) != codes.vertical)
        editor.setRaw(verticalCode(), std::to_string(codes.vertical), editor.mainEnd());
    // A text that was aligned left is placed by its insertion point alone; whatever code 11
    // held meant nothing until now, so the text starts out anchored where it stands.
    if (alignment != 0 && this->alignment() == 0)
        editor.setPoint(11, insertionPoint(), editor.afterCode(72));
    editor.commit();
}

namespace {

// A drawing holds numbers only; NaN or infinity would make the file unreadable elsewhere.
void requireFinite(const cad::CadPoint& point) {
    for (int axis = 0; axis < 3; ++axis)
        if (!std::isfinite(point.at(axis)))
            throw cad::CadError("The point has a coordinate that is not a finite number.");
}

// `other` moved by the offset from `from` to `to`.
cad::CadPoint shifted(const cad::CadPoint& other, const cad::CadPoint& from,
                      const cad::CadPoint& to) {
    return {other.x() + to.x() - from.x(), other.y() + to.y() - from.y(),
            other.z() + to.z() - from.z()};
}

// The insertion point goes where CAD programs write it when the record lacks it, the alignment
// point after the horizontal alignment code.
void setPointOf(RecordEditor& editor, std::int16_t xCode, const cad::CadPoint& point) {
    editor.setPoint(xCode, point, xCode == 10 ? editor.mainEnd() : editor.afterCode(72));
}

} // namespace

cad::CadPoint TextEntity::alignmentPoint() const {
    return view().raw(11) ? view().point(11) : insertionPoint();
}

void TextEntity::setInsertionPoint(const cad::CadPoint& point) {
    moveTo(Anchor::Insertion, point);
}

void TextEntity::setAlignmentPoint(const cad::CadPoint& point) {
    moveTo(Anchor::Alignment, point);
}

// A text aligned other than left is placed by its alignment point, and readers that place it
// by the insertion point (or by both, for "aligned" and "fit", whose two points are the ends
// of the baseline) must find it at the same place: both points move by the same offset.
void TextEntity::moveTo(Anchor anchor, const cad::CadPoint& point) {
    requireFinite(point);
    const bool byInsertion = anchor == Anchor::Insertion;
    RecordEditor editor(m_drawing, m_id);
    if (alignment() != 0) {
        const cad::CadPoint from = byInsertion ? insertionPoint() : alignmentPoint();
        const cad::CadPoint other = byInsertion ? alignmentPoint() : insertionPoint();
        setPointOf(editor, byInsertion ? 11 : 10, shifted(other, from, point));
    }
    setPointOf(editor, byInsertion ? 10 : 11, point);
    editor.commit();
}

} // namespace kalvex::drawing
