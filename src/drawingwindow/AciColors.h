#pragma once

#include <QColor>

namespace kalvex::drawing {

// The colour of an AutoCAD colour index (1..255) as CAD programs show it on a dark background.
// Index 7 is white there; anything outside 1..255 is white too.
QColor aciColor(int index);

} // namespace kalvex::drawing
