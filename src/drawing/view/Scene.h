#pragma once

#include <functional>
#include <unordered_set>

#include "drawing/view/SceneBuilder.h"
#include "drawing/view/SpatialGrid.h"

namespace kalvex::drawing {

// What the drawing window shows of model space: one entry per top-level entity, indexed by
// position. Changes reported by the drawing are collected and applied on the next sync, so
// a bulk write of many entities costs one pass.
class Scene {
public:
    explicit Scene(const Drawing& drawing);

    void rebuild();
    void markChanged(RecordId id);
    // Applies the collected changes; true when anything is to be redrawn.
    bool sync();

    QRectF extents() const { return m_extents; }
    std::size_t size() const { return m_entries.size(); }
    const SceneEntry& entry(std::uint32_t index) const { return m_entries[index]; }
    // What building met that the user is told of (kinds not drawn, blocks inserting themselves).
    const SceneNotes& notes() const { return m_builder.notes(); }
    // The live entries whose bounds meet the area, and those holding rays or construction
    // lines, which meet every area.
    void visit(const QRectF& area, const std::function<void(const SceneEntry&)>& visit) const;

private:
    void addEntry(RecordId id);
    void updateEntry(std::uint32_t index);
    void noteUnbounded(std::uint32_t index);
    RecordId topLevelOf(RecordId id) const;
    bool isModelSpaceEntity(RecordId id) const;

    const Drawing& m_drawing;
    SceneBuilder m_builder;
    std::vector<SceneEntry> m_entries;
    std::vector<std::int32_t> m_entryOfRecord; // -1: the record has no entry
    SpatialGrid m_grid;
    std::vector<std::uint32_t> m_unbounded; // entries holding rays or construction lines
    QRectF m_extents;
    std::unordered_set<RecordId> m_changed;
    bool m_rebuildAll = false;
};

} // namespace kalvex::drawing
