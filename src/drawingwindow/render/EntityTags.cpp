#include "drawingwindow/render/EntityTags.h"

#include <charconv>
#include <cmath>

#include "drawing/entities/EntityFields.h"

namespace kalvex::drawing {

namespace {

constexpr std::string_view kEmbeddedObject = "Embedded Object";

} // namespace

EntityTags::EntityTags(const Drawing& drawing, RecordId id, EntityPart part) {
    const dxf::TagList& tags = drawing.slot(id).tags;
    bool inGroup = false;
    bool taking = part == EntityPart::Main;
    for (std::size_t i = 1; i < tags.size(); ++i) {
        const std::int16_t code = tags[i].code;
        const std::string_view value = drawing.value(tags[i]);
        if (code >= 1000)
            break;
        if (code == 101) {
            if (!taking && trimmedNumber(value) == kEmbeddedObject) {
                taking = true;
                continue;
            }
            break;
        }
        if (code == 102) {
            inGroup = !inGroup && value.find('{') != std::string_view::npos;
            continue;
        }
        if (!inGroup && taking)
            m_pairs.push_back({code, value});
    }
}

double EntityTags::real(std::size_t i) const {
    const std::string_view value = trimmedNumber(m_pairs[i].value);
    double result = 0.0;
    std::from_chars(value.data(), value.data() + value.size(), result);
    return std::isfinite(result) ? result : 0.0;
}

int EntityTags::integer(std::size_t i) const {
    const std::string_view value = trimmedNumber(m_pairs[i].value);
    int result = 0;
    std::from_chars(value.data(), value.data() + value.size(), result);
    return result;
}

std::size_t EntityTags::find(std::int16_t code, std::size_t from) const {
    for (std::size_t i = from; i < m_pairs.size(); ++i)
        if (m_pairs[i].code == code)
            return i;
    return m_pairs.size();
}

double EntityTags::realOf(std::int16_t code, double fallback) const {
    const std::size_t i = find(code);
    return i < size() ? real(i) : fallback;
}

int EntityTags::integerOf(std::int16_t code, int fallback) const {
    const std::size_t i = find(code);
    return i < size() ? integer(i) : fallback;
}

std::string_view EntityTags::textOf(std::int16_t code) const {
    const std::size_t i = find(code);
    return i < size() ? m_pairs[i].value : std::string_view();
}

QPointF EntityTags::point(std::size_t i) const {
    const std::int16_t xCode = m_pairs[i].code;
    for (std::size_t j = i + 1; j < m_pairs.size() && m_pairs[j].code != xCode; ++j)
        if (m_pairs[j].code == xCode + 10)
            return {real(i), real(j)};
    return {real(i), 0.0};
}

QPointF EntityTags::pointOf(std::int16_t xCode) const {
    const std::size_t i = find(xCode);
    return i < size() ? point(i) : QPointF();
}

Vector3 EntityTags::vectorOf(std::int16_t xCode, Vector3 fallback) const {
    const std::size_t i = find(xCode);
    if (i >= size())
        return fallback;
    return {real(i), realOf(static_cast<std::int16_t>(xCode + 10), 0.0),
            realOf(static_cast<std::int16_t>(xCode + 20), 0.0)};
}

double TagCursor::take(std::int16_t code, double fallback) {
    if (code != this->code())
        return fallback;
    return m_tags.real(m_at++);
}

int TagCursor::takeInt(std::int16_t code, int fallback) {
    if (code != this->code())
        return fallback;
    return m_tags.integer(m_at++);
}

QPointF TagCursor::takePoint(std::int16_t xCode) {
    const double x = take(xCode);
    const double y = take(static_cast<std::int16_t>(xCode + 10));
    take(static_cast<std::int16_t>(xCode + 20));
    return {x, y};
}

bool TagCursor::seek(std::int16_t code) {
    while (!atEnd() && this->code() != code)
        ++m_at;
    return !atEnd();
}

} // namespace kalvex::drawing
