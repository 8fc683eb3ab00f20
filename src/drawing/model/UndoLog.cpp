#include "drawing/model/UndoLog.h"

namespace kalvex::drawing {

void UndoLog::record(RecordChange change) {
    if (!m_keepsImages) {
        m_saved = kNoSavedStep;
        return;
    }
    if (m_done < m_groups.size()) {
        m_groups.resize(m_done); // a new change drops what could have been redone
        m_groupOpen = false;
        if (m_saved != kNoSavedStep && m_saved > m_done)
            m_saved = kNoSavedStep;
    }
    const bool join = m_groupOpen && (m_inGroup || m_compoundDepth > 0);
    if (!join) {
        m_groups.emplace_back();
        ++m_done;
        m_groupOpen = true;
    }
    m_groups.back().push_back(std::move(change));
}

void UndoLog::beginCompound() {
    if (m_compoundDepth++ == 0 && !m_inGroup)
        m_groupOpen = false;
}

void UndoLog::endCompound() {
    if (--m_compoundDepth == 0 && !m_inGroup)
        m_groupOpen = false;
}

void UndoLog::undone() {
    --m_done;
    endGroup();
}

void UndoLog::redone() {
    ++m_done;
    endGroup();
}

} // namespace kalvex::drawing
