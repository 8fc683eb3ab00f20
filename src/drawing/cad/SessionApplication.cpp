#include "drawing/cad/SessionApplication.h"

namespace kalvex::drawing {

SessionApplication::SessionApplication(std::shared_ptr<CadModel> model,
                                       std::function<void()> viewChanged)
    : m_model(std::move(model)), m_app(m_model->application()),
      m_viewChanged(std::move(viewChanged)) {
    m_model->drawing().undoLog().startGroup();
}

SessionApplication::~SessionApplication() {
    m_model->drawing().undoLog().endGroup();
}

} // namespace kalvex::drawing
