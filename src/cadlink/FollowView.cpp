#include "cadlink/FollowView.h"

#include <cmath>

#include "cadlink/CadError.h"

namespace kalvex {

namespace {

struct DrawingArea {
    WindowRect frame; // B: the drawing area with the strip below it
    int width = 0;
    int height = 0;
};

// The first child of the document window is the strip, its next sibling the frame of the
// drawing area; the area is the frame less the strip's height.
bool measureDrawingArea(WindowSystem& windows, WindowHandle document, DrawingArea& area) {
    const WindowHandle strip = windows.firstChild(document);
    const WindowHandle frame = strip ? windows.nextSibling(strip) : 0;
    WindowRect stripRect;
    if (!frame || !windows.windowRect(strip, stripRect) || !windows.windowRect(frame, area.frame))
        return false;
    area.width = area.frame.width();
    area.height = area.frame.height() - stripRect.height();
    return area.height != 0;
}

void paintMarker(CadLink& link, const DrawingArea& area, int penWidth, double ratio) {
    const double scale = link.MonitorScalePercent / 100.0;
    const int cx = area.frame.left + area.width / 2;
    const int cy = area.frame.top + area.height / 2;
    const int a = static_cast<int>(area.width * ratio);
    const int b = static_cast<int>(area.width * ratio * 0.5);
    auto scaled = [scale](int x, int y) {
        return ScreenPoint{static_cast<int>(x * scale), static_cast<int>(y * scale)};
    };
    const ScreenPoint tip = scaled(cx, cy);
    link.windows.drawScreenLines({tip, scaled(cx - a, cy - b), scaled(cx - a, cy + b), tip},
                                 penWidth, kMarkerColor);
}

} // namespace

void FollowView(CadLink& link, cad::Application& app, const cad::CadPoint& point, int penWidth,
                double markerRatio) {
    try {
        const double x = point.x(), y = point.y();
        auto document = app.ActiveDocument();
        const double viewHeight = document->GetVariable("VIEWSIZE");
        DrawingArea area;
        if (!measureDrawingArea(link.windows, document->Hwnd(), area))
            return;
        const double viewWidth = viewHeight / area.height * area.width;
        app.ZoomWindow(cad::CadPoint(x - viewWidth / 2 * 0.9, y - viewHeight / 2, 0),
                       cad::CadPoint(x + viewWidth / 2 * 0.9, y + viewHeight / 2, 0));
        link.waiter.wait(100);
        if (area.width > 0 && area.height > 0)
            paintMarker(link, area, penWidth, markerRatio);
    } catch (const cad::CadError&) {
        // The view follow is a courtesy: a CAD that does not answer just stays where it is.
    }
}

} // namespace kalvex
