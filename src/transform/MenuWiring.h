#pragma once

class QMenu;

namespace kalvex {

class EditorCommands;
class ErrorReport;
class GridCommands;

// Connects the items of the editor's popup menu (found by their item names) to the commands,
// each through the top-level error report, and the menu's opening to the enabling of items.
void connectEditorMenu(QMenu& PopupMenu1, EditorCommands& commands, ErrorReport& errors);

// The same for the transformation items of the attribute grid's popup menu.
void connectGridMenu(QMenu& PopupMenu2, GridCommands& commands, ErrorReport& errors);

} // namespace kalvex
