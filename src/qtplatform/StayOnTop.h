#pragma once

class QWidget;

namespace kalvex {

// Switches a top-level window's always-on-top state in place. Changing the window flag the
// usual way makes Qt destroy the native window and create a new one, which flickers and looks
// like a new window to the window manager; here the shown window stays the one it was.
void setStaysOnTop(QWidget& window, bool onTop);

} // namespace kalvex
