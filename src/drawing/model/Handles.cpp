#include "drawing/model/Handles.h"

#include <charconv>

#include "drawing/tags/GroupCodeTypes.h"

namespace kalvex::drawing {

std::optional<std::uint64_t> parseHandle(std::string_view text) {
    text = dxf::trimSpaces(text);
    if (text.empty() || text.size() > 16)
        return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || value == 0)
        return std::nullopt;
    return value;
}

std::string formatHandle(std::uint64_t handle) {
    char buffer[20];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
    std::string text(buffer, end);
    for (char& c : text)
        if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace kalvex::drawing
