#include "drawing/cad/SessionApplication.h"

#include <algorithm>

namespace kalvex::drawing {

SessionApplication::SessionApplication(std::shared_ptr<CadModel> model,
                                       std::function<void()> viewChanged, ModelLookup otherDrawings)
    : m_model(std::move(model)), m_app(m_model->application()),
      m_viewChanged(std::move(viewChanged)), m_otherDrawings(std::move(otherDrawings)) {
    m_model->drawing().undoLog().startGroup();
}

SessionApplication::~SessionApplication() {
    m_model->drawing().undoLog().endGroup();
    for (const auto& other : m_othersWritten)
        other->drawing().undoLog().endGroup();
}

// Changes made in another drawing are one undo step of that drawing, as in the active one.
cad::DocumentPtr SessionApplication::DocumentWithKey(const std::string& key) {
    if (key.empty() || key == m_model->key())
        return m_app->ActiveDocument();
    const std::shared_ptr<CadModel> other = m_otherDrawings ? m_otherDrawings(key) : nullptr;
    if (!other)
        return nullptr;
    if (std::find(m_othersWritten.begin(), m_othersWritten.end(), other) == m_othersWritten.end()) {
        other->drawing().undoLog().startGroup();
        m_othersWritten.push_back(other);
    }
    return other->application()->ActiveDocument();
}

} // namespace kalvex::drawing
