#pragma once

#include "cadlink/CadPoint.h"

namespace kalvex::drawing {

// The view of the drawing: its centre and height in drawing units, and the width-to-height
// ratio of the viewport showing it. A zoom window too wide for the viewport grows the
// height, so that VIEWSIZE always tells what the window shows.
class ViewState {
public:
    double height() const { return m_height; }
    double centerX() const { return m_centerX; }
    double centerY() const { return m_centerY; }
    double aspect() const { return m_aspect; }
    double width() const { return m_height * m_aspect; }

    void setCenter(double x, double y) {
        m_centerX = x;
        m_centerY = y;
    }
    void setHeight(double height);
    void setAspect(double aspect);
    // Throws CadError for a corner that is not an array of three numbers.
    void zoomWindow(const cad::CadPoint& lowerLeft, const cad::CadPoint& upperRight);

private:
    double m_centerX = 0.0;
    double m_centerY = 0.0;
    double m_height = 100.0;
    double m_aspect = 4.0 / 3.0;
};

} // namespace kalvex::drawing
