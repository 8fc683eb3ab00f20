#include "drawing/cad/ViewState.h"

#include <algorithm>
#include <cmath>

namespace kalvex::drawing {

void ViewState::setHeight(double height) {
    if (std::isfinite(height) && height > 0)
        m_height = height;
}

void ViewState::setAspect(double aspect) {
    if (std::isfinite(aspect) && aspect > 0)
        m_aspect = aspect;
}

void ViewState::zoomWindow(const cad::CadPoint& lowerLeft, const cad::CadPoint& upperRight) {
    const double x0 = lowerLeft.at(0), y0 = lowerLeft.at(1);
    const double x1 = upperRight.at(0), y1 = upperRight.at(1);
    const double width = std::abs(x1 - x0);
    const double height = std::abs(y1 - y0);
    setCenter((x0 + x1) / 2, (y0 + y1) / 2);
    // A window of no size keeps the scale and only moves the view.
    setHeight(std::max(height, width / m_aspect));
}

} // namespace kalvex::drawing
