#include "drawing/tags/TagPool.h"

#include <cstdio>
#include <stdexcept>

namespace kalvex::dxf {

std::string_view TagPool::bytes(const Tag& tag) const {
    return std::string_view(store(tag)).substr(tag.begin, tag.end - tag.begin);
}

std::string_view TagPool::value(const Tag& tag) const {
    return std::string_view(store(tag)).substr(tag.valueBegin(), tag.valueEnd() - tag.valueBegin());
}

std::string_view TagPool::codeLine(const Tag& tag) const {
    return std::string_view(store(tag)).substr(tag.begin, tag.codeLineLength);
}

std::string_view TagPool::lineEnd(const Tag& tag) const {
    return std::string_view(store(tag)).substr(tag.valueEnd(), tag.end - tag.valueEnd());
}

Tag TagPool::make(std::int16_t code, std::string_view value) {
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%3d", static_cast<int>(code));
    std::string line(buffer, static_cast<std::size_t>(length));
    line += m_lineEnd;
    return append(line, code, value, m_lineEnd);
}

Tag TagPool::withValue(const Tag& tag, std::string_view value) {
    const std::string line(codeLine(tag));
    std::string ending(lineEnd(tag));
    if (ending.empty())
        ending = m_lineEnd; // the file's last line had no line end; a changed value gets one
    return append(line, tag.code, value, ending);
}

Tag TagPool::append(std::string_view codeLine, std::int16_t code, std::string_view value,
                    std::string_view lineEnd) {
    if (m_side.size() + codeLine.size() + value.size() + lineEnd.size() > UINT32_MAX)
        throw std::length_error("The drawing has grown beyond 4 GB.");
    // The value may point into the side store itself, which the append below can move.
    const std::string valueCopy(value);
    Tag tag;
    tag.begin = static_cast<std::uint32_t>(m_side.size());
    tag.code = code;
    tag.codeLineLength = static_cast<std::uint8_t>(codeLine.size());
    tag.bits = static_cast<std::uint8_t>(Tag::kSideBit | lineEnd.size());
    m_side.append(codeLine).append(valueCopy).append(lineEnd);
    tag.end = static_cast<std::uint32_t>(m_side.size());
    return tag;
}

} // namespace kalvex::dxf
