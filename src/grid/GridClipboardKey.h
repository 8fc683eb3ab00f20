#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <Qt>

#include "grid/TUndoCells.h"

namespace kalvex {

class ClipboardPort;
class MessagePort;
class StringGrid;

// What the range keys of a grid work with: the system clipboard, the message shown when it
// refuses a copy, and the grid's history with its batch counter.
struct GridClipboardContext {
    ClipboardPort& clipboard;
    MessagePort& messages;
    GridUndo undo;
};

// Delete, Ctrl+C, Ctrl+X and Ctrl+V on the grid's selected range, as TAB-separated text with
// every row ended by CR LF. A key it handles is consumed (set to 0). Delete on a single cell is
// left to the grid's own handling. Pasted fields beyond the grid's last column or row are
// dropped: they are neither shown nor saved in the history.
void GridClipboardKey(StringGrid& grid, int& key, Qt::KeyboardModifiers shift,
                      GridClipboardContext context);

// The clipboard text of a range: TAB between cells, CR LF after every row.
QString rangeText(const StringGrid& grid, const QRect& range);
// The rows of a clipboard text: each text before a CR LF; text after the last CR LF is no row.
QStringList clipboardRows(const QString& text);
// Pastes rows of TAB-separated fields at the range's top-left cell, repeating the block down
// the range in steps of its row count. Returns the number of cells written.
int pasteRows(StringGrid& grid, const QRect& range, const QStringList& rows, TUndoCells& undo);
// Empties every cell of the range, saving each first. Returns the number of cells cleared.
int clearRange(StringGrid& grid, const QRect& range, TUndoCells& undo);

inline constexpr char16_t kClipboardCopyFailed[] = u"クリップボードへのコピーに失敗しました．";

} // namespace kalvex
