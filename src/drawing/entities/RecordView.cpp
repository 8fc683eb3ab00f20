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
    return cad::CadPoint(real(xCode), real(static_cast<std::int16_t>(xCode + 10)),
                         real(static_cast<std::int16_t>(xCode + 20)));
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
