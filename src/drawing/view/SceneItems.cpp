#include "drawing/view/SceneItems.h"

#include <cmath>

namespace kalvex::drawing {

std::vector<QPointF> textCorners(const SceneText& text) {
    const double radians = text.rotation * M_PI / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const QPointF o = text.boxOrigin;
    const QPointF local[4] = {o, o + QPointF(text.width, 0), o + QPointF(text.width, text.height),
                              o + QPointF(0, text.height)};
    std::vector<QPointF> corners;
    for (const QPointF& p : local)
        corners.push_back(text.anchor + QPointF(p.x() * c - p.y() * s, p.x() * s + p.y() * c));
    return corners;
}

} // namespace kalvex::drawing
