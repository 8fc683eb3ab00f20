#pragma once

#include <functional>
#include <string>

#include "cadlink/CadLink.h"

namespace kalvex {

// The title of the CAD main window; while such a window exists the CAD counts as running.
inline const std::string kCadWindowTitle = "nanoCAD 5";
// The key code of Escape as synthetic key events carry it.
inline constexpr int kVirtualKeyEscape = 27;

// Obtains a fresh application reference for one operation. False (and `app` untouched) when
// no CAD window exists; false with `app` cleared when the application object cannot be made.
bool ConnectCad(CadLink& link, cad::ApplicationPtr& app);

void RestoreCadWindow(CadLink& link, cad::Application& app);
void ActivateCad(CadLink& link, cad::Application& app);
void CancelCadCommand(CadLink& link, cad::Application& app);
void MinimiseTool(CadLink& link);
void RestoreTool(CadLink& link);
void ReturnFocusToTool(CadLink& link, WindowHandle toolWindow);

int ReadMonitorScale(WindowSystem& windows);

} // namespace kalvex
