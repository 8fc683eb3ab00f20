#pragma once

#include <QPointF>
#include <cstdint>
#include <string_view>
#include <vector>

#include "drawing/model/Drawing.h"
#include "drawingwindow/render/Geometry.h"

namespace kalvex::drawing {

enum class EntityPart { Main, Embedded };

// The pairs of one entity in file order with their values, application groups ("102 {")
// left out: the main part (up to extended data or an embedded object), or the embedded
// object (the MTEXT of a multi-line attribute). Kinds whose codes repeat (vertices, knots,
// boundary paths) are read by walking them.
class EntityTags {
public:
    EntityTags(const Drawing& drawing, RecordId id, EntityPart part = EntityPart::Main);

    std::size_t size() const { return m_pairs.size(); }
    bool empty() const { return m_pairs.empty(); }
    std::int16_t code(std::size_t i) const { return m_pairs[i].code; }
    std::string_view text(std::size_t i) const { return m_pairs[i].value; }
    double real(std::size_t i) const;
    int integer(std::size_t i) const;
    // The first pair with this code at or after `from`; size() when there is none.
    std::size_t find(std::int16_t code, std::size_t from = 0) const;
    double realOf(std::int16_t code, double fallback = 0.0) const;
    int integerOf(std::int16_t code, int fallback = 0) const;
    std::string_view textOf(std::int16_t code) const;
    // The point whose X is pair i; its Y is the next pair of code + 10 before another X.
    QPointF point(std::size_t i) const;
    QPointF pointOf(std::int16_t xCode) const;
    Vector3 vectorOf(std::int16_t xCode, Vector3 fallback) const;
    // The extrusion direction (210/220/230), each value defaulting to +Z's.
    Vector3 extrusion() const { return {realOf(210), realOf(220), realOf(230, 1.0)}; }

private:
    struct Pair {
        std::int16_t code;
        std::string_view value;
    };
    std::vector<Pair> m_pairs;
};

// A position in an entity's pairs, for readers that consume them in order.
class TagCursor {
public:
    explicit TagCursor(const EntityTags& tags, std::size_t from = 0) : m_tags(tags), m_at(from) {}
    bool atEnd() const { return m_at >= m_tags.size(); }
    std::int16_t code() const { return atEnd() ? -1 : m_tags.code(m_at); }
    // The value of the current pair if it has this code (then moves on), else the fallback.
    double take(std::int16_t code, double fallback = 0.0);
    int takeInt(std::int16_t code, int fallback = 0);
    QPointF takePoint(std::int16_t xCode);
    // Moves to the next pair with this code; false when none is left.
    bool seek(std::int16_t code);
    void skip() { ++m_at; }
    std::size_t position() const { return m_at; }

private:
    const EntityTags& m_tags;
    std::size_t m_at;
};

} // namespace kalvex::drawing
