#include "drawing/entities/TextEntity.h"

#include "drawing/entities/RecordEditor.h"
#include "drawing/entities/TextAlignment.h"

namespace kalvex::drawing {

std::int16_t TextEntity::verticalCode() const {
    return m_drawing.slot(m_id).kind == RecordKind::Text ? 73 : 74;
}

int TextEntity::alignment() const {
    const RecordView record = view();
    return alignmentFromCodes({record.integer(72), record.integer(verticalCode())});
}

void TextEntity::setTextString(const std::string& text) {
    RecordEditor editor(m_drawing, m_id);
    editor.setText(1, text, editor.mainEnd());
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
    if (alignment != 0 && !view().raw(11))
        editor.setPoint(11, insertionPoint(), editor.afterCode(72));
    editor.commit();
}

void TextEntity::setInsertionPoint(const cad::CadPoint& point) {
    RecordEditor editor(m_drawing, m_id);
    editor.setPoint(10, point, editor.mainEnd());
    editor.commit();
}

void TextEntity::setAlignmentPoint(const cad::CadPoint& point) {
    RecordEditor editor(m_drawing, m_id);
    editor.setPoint(11, point, editor.afterCode(72));
    editor.commit();
}

} // namespace kalvex::drawing
