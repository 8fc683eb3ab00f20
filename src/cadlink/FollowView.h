#pragma once

#include "cadlink/Application.h"
#include "cadlink/CadLink.h"

namespace kalvex {

// Moves the CAD view so that the point lies in the middle of the drawing area at the current
// view height, and paints a red arrowhead on the screen pointing at it. Never fails: when the
// CAD does not answer or its windows are not as expected, nothing (more) happens.
void FollowView(CadLink& link, cad::Application& app, const cad::CadPoint& point, int penWidth,
                double markerRatio);

inline constexpr int kFollowPenWidth = 3;
inline constexpr double kFollowMarkerRatio = 0.05;
inline constexpr PenColor kMarkerColor{255, 100, 100};

} // namespace kalvex
