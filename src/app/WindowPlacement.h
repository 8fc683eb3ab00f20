#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace kalvex {

// Rectangles here are window frames (title bar and borders included) in screen coordinates.

// The drawing window's frame on a first start: beside the tool on the side with more room,
// as wide as that side allows up to `preferred`, over the whole height of the screen.
QRect frameBesideTool(const QRect& available, const QRect& toolFrame, const QSize& preferred);
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
