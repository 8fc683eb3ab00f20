#include "drawing/cad/EntityPicker.h"

namespace kalvex::drawing {

std::optional<std::vector<std::string>> ScriptedPicker::pick(const cad::SelectionFilter&) {
    if (m_script.empty())
        return std::nullopt;
    Step step = std::move(m_script.front());
    m_script.pop_front();
    if (step.outcome == PickOutcome::Cancelled)
        return std::nullopt;
    return std::optional<std::vector<std::string>>(std::move(step.handles));
}

} // namespace kalvex::drawing
