#include "drawing/cad/FilterMatcher.h"

#include "cadlink/CadError.h"
#include "drawing/entities/RecordView.h"

namespace kalvex::drawing {

FilterMatcher::FilterMatcher(const cad::SelectionFilter& filter) {
    if (filter.codes.size() != filter.values.size())
        throw cad::CadError("The selection filter's codes and values differ in number.");
    for (std::size_t i = 0; i < filter.codes.size(); ++i) {
        const std::int16_t code = filter.codes[i];
        const LetterCase letterCase = code == 1 ? LetterCase::Sensitive : LetterCase::Insensitive;
        m_conditions.push_back({code, WildcardPattern(filter.values[i], letterCase)});
    }
}

bool FilterMatcher::matches(const Drawing& drawing, RecordId id) const {
    const RecordView record(drawing, id);
    for (const Condition& condition : m_conditions) {
        if (condition.code == 0) {
            if (!condition.pattern.matches(drawing.typeName(id)))
                return false;
            continue;
        }
        if (!record.raw(condition.code) || !condition.pattern.matches(record.text(condition.code)))
            return false;
    }
    return true;
}

} // namespace kalvex::drawing
