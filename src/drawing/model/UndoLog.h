#pragma once

#include <cstdint>
#include <vector>

#include "drawing/model/Record.h"

namespace kalvex::drawing {

// What a record looked like before or after a change.
struct RecordImage {
    dxf::TagList tags;
    bool erased = false;
};

// One change of a record. It keeps the image the record does not have now: the image before
// the change while the change is done, the image after it while it is undone. Undo and redo
// exchange it with the record's, so no image is ever copied.
//
// A change of one pair in place keeps that pair alone: `pairIndex` says which, `pair` holds the
// pair the record does not have now, and `other.tags` stays empty.
struct RecordChange {
    static constexpr std::uint32_t kWholeRecord = UINT32_MAX;

    RecordId record = kNoRecord;
    std::uint32_t pairIndex = kWholeRecord;
    dxf::Tag pair;
    RecordImage other;
};

// The history of changes in groups. Undoing a group exchanges the images of its changes in
// reverse order; redoing exchanges them again in order.
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
    // From now on changes are counted as steps but their images are dropped: nothing can be
    // undone, and the drawing no longer holds what was saved or loaded.
    void keepNoImages() {
        m_saved = atSavedStep() ? 0 : kNoSavedStep;
        m_groups.clear();
        m_done = 0;
        m_keepsImages = false;
    }

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_groups.size(); }
    // The group to undo or redo; the caller exchanges the images and then calls undone or
    // redone.
    std::vector<RecordChange>& groupToUndo() { return m_groups[m_done - 1]; }
    std::vector<RecordChange>& groupToRedo() { return m_groups[m_done]; }
    void undone();
    void redone();
    std::size_t groupCount() const { return m_done; }

    // The drawing was saved as it stands: undoing or redoing back to this step brings back
    // what the file holds. The next change starts a step of its own.
    void markSaved() {
        m_saved = m_done;
        m_groupOpen = false;
    }
    // The drawing holds what it held when it was last saved or loaded; false once the steps
    // leading back there have been dropped by a new change.
    bool atSavedStep() const { return m_saved == m_done; }

private:
    std::vector<std::vector<RecordChange>> m_groups;
    std::size_t m_done = 0;
    bool m_inGroup = false;   // a group was started
    bool m_groupOpen = false; // the last group takes further changes
    int m_compoundDepth = 0;
    bool m_keepsImages = true;
    static constexpr std::size_t kNoSavedStep = static_cast<std::size_t>(-1);
    std::size_t m_saved = 0; // m_done when last saved or loaded; kNoSavedStep when dropped
};

} // namespace kalvex::drawing
