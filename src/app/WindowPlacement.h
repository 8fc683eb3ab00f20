#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace kalvex {

// Rectangles here are window frames (title bar and borders included) in screen coordinates.

// The drawing window's frame on a first start: all of the screen beside the tool on the side
// with more room, a small gap away from it, over the whole height of the screen.
QRect frameBesideTool(const QRect& available, const QRect& toolFrame);
// A remembered frame moved, and shrunk where needed, to lie within the screen.
QRect frameWithinScreen(const QRect& available, const QRect& frame);

// Waits until the window system shows the window, so that its frame is known.
void waitUntilShown(QWidget& window);
// Gives a top-level window the frame asked for. Before the window system has framed it, the
// frame's margins are taken to be `expectedMargins`; once it has, a wrong guess is corrected.
void showInFrame(QWidget& window, const QRect& frame, const QMargins& expectedMargins);
// The borders the window system puts around a shown window.
QMargins frameMarginsOf(const QWidget& window);

} // namespace kalvex
