#pragma once

#include <QString>
#include <string>

#include "drawingwindow/SceneItems.h"

namespace kalvex::drawing {

// A TEXT or ATTRIB string as it is shown: the %% control codes for diameter, degree and
// plus/minus become their signs, the underline and overline switches are dropped.
QString displayText(const std::string& utf8);

// The advance of a string in units of the text height, as the fonts the drawing window uses
// draw it: full-width characters take 1.35 heights, Latin letters about three quarters.
double estimatedWidth(const QString& text);

// Where the text box lies relative to the anchor for the DXF horizontal (72) and vertical
// (73/74) alignment codes.
QPointF textBoxOrigin(double width, double height, int horizontal, int vertical);

} // namespace kalvex::drawing
