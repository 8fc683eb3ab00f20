#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>

#include "drawing/cad/ViewState.h"

namespace kalvex::drawing {

// Maps between drawing units (Y up) and the pixels of a widget (Y down) for a view given by
// its centre and height.
struct ViewTransform {
    QPointF centre;
    double scale = 1.0; // pixels per drawing unit
    QSize size;

    static ViewTransform of(const ViewState& view, QSize size) {
        const double height = view.height() > 0 ? view.height() : 1.0;
        return {{view.centerX(), view.centerY()}, std::max(1, size.height()) / height, size};
    }
    QPointF toScreen(const QPointF& p) const {
        return {(p.x() - centre.x()) * scale + size.width() / 2.0,
                size.height() / 2.0 - (p.y() - centre.y()) * scale};
    }
    QPointF toWorld(const QPointF& s) const {
        return {centre.x() + (s.x() - size.width() / 2.0) / scale,
                centre.y() - (s.y() - size.height() / 2.0) / scale};
    }
    QRectF visibleArea() const {
        return QRectF(toWorld(QPointF(0, size.height())), toWorld(QPointF(size.width(), 0)))
            .normalized();
    }
    friend bool operator==(const ViewTransform&, const ViewTransform&) = default;
};

} // namespace kalvex::drawing
