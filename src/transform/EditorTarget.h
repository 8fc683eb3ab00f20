#pragma once

#include <chrono>

#include "transform/SlicedRun.h"
#include "workstate/WorkState.h"

class QPlainTextEdit;
class QWidget;

namespace kalvex {

// The whole-text undo snapshot of the editor: with true the editor text is stored, with false
// it is put back; either way the Undo button's state follows the flag.
class UndoSnapshot {
public:
    virtual ~UndoSnapshot() = default;
    virtual void UndoMark(bool flag) = 0;
};

// What the editor commands work on: the TEXT tab's editor, its abort button, the shared work
// state (run flag) and the undo snapshot.
struct EditorTarget {
    QPlainTextEdit& SynEdit1;
    QWidget* SpeedButton5;
    WorkState& state;
    UndoSnapshot& undo;
    std::chrono::milliseconds eventSlice = kEventSlice;
};

} // namespace kalvex
