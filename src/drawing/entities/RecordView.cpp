#include "drawing/entities/RecordView.h"

#include <charconv>

#include "drawing/tags/GroupCodeTypes.h"
#include "drawing/tags/TagLookup.h"

namespace kalvex::drawing {

std::optional<std::string_view> RecordView::raw(std::int16_t code) const {
    const auto index = dxf::findInMain(tags(), code);
    if (!index)
        return std::nullopt;
    return m_drawing.value(tags()[*index]);
}

std::string RecordView::text(std::int16_t code) const {
    const auto value = raw(code);
    return value ? m_drawing.codec().decode(*value) : std::string();
}

int RecordView::integer(std::int16_t code, int fallback) const {
    const auto value = raw(code);
    if (!value)
        return fallback;
    const std::string_view digits = dxf::trimSpaces(*value);
    int number = fallback;
    const char* begin = digits.data() + (!digits.empty() && digits.front() == '+' ? 1 : 0);
    std::from_chars(begin, digits.data() + digits.size(), number);
    return number;
}

double RecordView::real(std::int16_t code, double fallback) const {
    const auto value = raw(code);
    return value ? parseReal(*value).value_or(fallback) : fallback;
}

std::optional<double> RecordView::parseReal(std::string_view value) {
    return dxf::parseReal(value);
}

cad::CadPoint RecordView::point(std::int16_t xCode) const {
    // The three coordinates are found in one pass over the main part, as findInMain() finds
    // one: a point is read for every TEXT a search or a fetch reads.
    const dxf::TagList& list = tags();
    std::optional<std::size_t> at[3];
    int missing = 3;
    bool inGroup = false;
    for (std::size_t i = 0; i < list.size() && missing > 0; ++i) {
        const std::int16_t found = list[i].code;
        if (i > 0 && (found == 101 || found >= 1000))
            break;
        if (found == 102) {
            inGroup = !inGroup;
            continue;
        }
        const int axis = (found - xCode) / 10;
        if (inGroup || found < xCode || (found - xCode) % 10 != 0 || axis > 2 || at[axis])
            continue;
        at[axis] = i;
        --missing;
    }
    double xyz[3] = {0, 0, 0};
    for (int axis = 0; axis < 3; ++axis)
        if (at[axis])
            xyz[axis] = parseReal(m_drawing.value(list[*at[axis]])).value_or(0.0);
    return cad::CadPoint(xyz[0], xyz[1], xyz[2]);
}

std::string formatReal(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, end);
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    return text;
}

} // namespace kalvex::drawing
