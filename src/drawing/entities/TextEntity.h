#pragma once

#include <string>
#include <utility>

#include "cadlink/CadPoint.h"
#include "drawing/entities/RecordView.h"

namespace kalvex::drawing {

class RecordEditor;

// A TEXT, ATTRIB or ATTDEF: the records that hold one line of text. They share the codes of
// the text (1), tag (2), prompt (3, ATTDEF), alignment (72 and 73 or 74), insertion point
// (10) and alignment point (11).
class TextEntity {
public:
    TextEntity(Drawing& drawing, RecordId id) : m_drawing(drawing), m_id(id) {}

    // An attribute spanning several lines keeps its text in an embedded MTEXT part; the text
    // is then that part's content (its 3 pairs followed by its 1 pair), as the CAD shows it.
    std::string textString() const;
    std::string tagString() const { return view().text(2); }
    std::string promptString() const { return view().text(3); }
    int alignment() const;
    cad::CadPoint insertionPoint() const { return view().point(10); }
    // A record that lacks code 11 is placed by its insertion point alone.
    cad::CadPoint alignmentPoint() const;
    std::string layer() const { return view().layer(); }

    void setTextString(const std::string& text);
    void setAlignment(int alignment);
    // A text that is not aligned left keeps the offset between its two points: moving one
    // moves the other by the same amount.
    void setInsertionPoint(const cad::CadPoint& point);
    void setAlignmentPoint(const cad::CadPoint& point);

private:
    RecordView view() const { return RecordView(m_drawing, m_id); }
    std::int16_t verticalCode() const;
    // The pairs [begin, end) of the embedded MTEXT part; empty when there is none.
    std::pair<std::size_t, std::size_t> embeddedPart() const;
    void setEmbeddedText(RecordEditor& editor, const std::string& text) const;
    enum class Anchor { Insertion, Alignment };
    void moveTo(Anchor anchor, const cad::CadPoint& point);

    Drawing& m_drawing;
    RecordId m_id;
};

} // namespace kalvex::drawing
