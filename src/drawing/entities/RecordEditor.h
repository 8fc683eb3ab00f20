#pragma once

#include <string_view>

#include "cadlink/CadPoint.h"
#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

// Changes values of one record in place on a copy of its pairs; commit hands the result to
// the drawing's change calls: pair by pair when the record keeps its number of pairs, as one
// new image otherwise. A missing code is added where CAD programs put it.
class RecordEditor {
public:
    RecordEditor(Drawing& drawing, RecordId id)
        : m_drawing(drawing), m_id(id), m_tags(drawing.slot(id).tags) {}

    // Sets a value given as file bytes; true when the record changed.
    bool setRaw(std::int16_t code, std::string_view bytes, std::size_t insertAt);
    bool setText(std::int16_t code, std::string_view utf8, std::size_t insertAt);
    bool setPoint(std::int16_t xCode, const cad::CadPoint& point, std::size_t insertAt);
    // The same for the pair at a position, whatever part of the record it lies in.
    bool setTextAt(std::size_t index, std::string_view utf8);
    void eraseAt(std::size_t index);

    const dxf::TagList& tags() const { return m_tags; }
    // Positions for codes the record lacks.
    std::size_t afterCode(std::int16_t code) const;
    std::size_t mainEnd() const;
    void commit();

private:
    Drawing& m_drawing;
    RecordId m_id;
    dxf::TagList m_tags;
    bool m_changed = false;
};

} // namespace kalvex::drawing
