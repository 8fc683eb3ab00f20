#pragma once

#include <vector>

#include "drawing/model/Record.h"

namespace kalvex::drawing {

// What a record looked like before or after a change.
struct RecordImage {
    dxf::TagList tags;
    bool erased = false;
};

struct RecordChange {
    RecordId record = kNoRecord;
    RecordImage before;
    RecordImage after;
};

// The history of changes as groups of before/after images. Undoing a group puts its before
// images back in reverse order; redoing puts the after images back in order.
class UndoLog {
public:
    // Changes made outside a group are one step each. After startGroup every change goes into
    // one new group until endGroup, the next startGroup, an undo or a redo.
    void startGroup() {
        m_inGroup = true;
        m_groupOpen = false;
    }
    void endGroup() { m_inGroup = m_groupOpen = false; }
    // The changes between these calls make one step (they nest); inside a started group they
    // simply belong to that group.
    void beginCompound();
    void endCompound();
    void record(RecordChange change);

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_groups.size(); }
    // The group to undo or redo; the caller puts the images back and then calls done.
    const std::vector<RecordChange>& groupToUndo() const { return m_groups[m_done - 1]; }
    const std::vector<RecordChange>& groupToRedo() const { return m_groups[m_done]; }
    void undone();
    void redone();
    std::size_t groupCount() const { return m_done; }

private:
    std::vector<std::vector<RecordChange>> m_groups;
    std::size_t m_done = 0;
    bool m_inGroup = false;   // a group was started
    bool m_groupOpen = false; // the last group takes further changes
    int m_compoundDepth = 0;
};

} // namespace kalvex::drawing
