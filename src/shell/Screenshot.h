#pragma once

#include <QImage>
#include <QString>

namespace kalvex {

// One picture of every visible top-level window side by side, each under a strip that
// carries its title (the window frame is not part of a widget's picture).
QImage pictureOfWindows();

// Once the windows are shown and painted, writes their picture to the file and ends the
// event loop: exit code 0 when the file was written, 1 otherwise.
void takeScreenshotWhenPainted(const QString& file);

} // namespace kalvex
