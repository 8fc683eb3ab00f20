#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cadlink/CadPoint.h"
#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

// Reads values of one record by group code, from the main part of the record (before its
// extended data and any embedded object). Text comes back as UTF-8.
class RecordView {
public:
    RecordView(const Drawing& drawing, RecordId id) : m_drawing(drawing), m_id(id) {}

    RecordId id() const { return m_id; }
    const dxf::TagList& tags() const { return m_drawing.slot(m_id).tags; }
    std::optional<std::string_view> raw(std::int16_t code) const;
    std::string text(std::int16_t code) const; // empty when the record lacks the code
    int integer(std::int16_t code, int fallback = 0) const;
    double real(std::int16_t code, double fallback = 0.0) const;
    // The point whose X has this code (Y and Z follow at +10 and +20); Z defaults to 0.
    cad::CadPoint point(std::int16_t xCode) const;
    // An entity that names no layer lies on layer "0".
    std::string layer() const { return raw(8) ? text(8) : std::string("0"); }

    static std::optional<double> parseReal(std::string_view value);

private:
    const Drawing& m_drawing;
    RecordId m_id;
};

// Formats a coordinate as the shortest text that reads back as the same number.
std::string formatReal(double value);

} // namespace kalvex::drawing
