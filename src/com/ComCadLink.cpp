#include "com/ComCadLink.h"

#include "com/ComApplication.h"

namespace kalvex::com {

ComCadLink::ComCadLink()
    : m_link{.windows = m_windows, .waiter = m_waiter, .createApplication = createApplication} {}

std::unique_ptr<ComCadLink> openComCadLink() {
    return std::make_unique<ComCadLink>();
}

} // namespace kalvex::com
