#include "drawing/view/Scene.h"

#include <algorithm>

#include "drawing/entities/RecordView.h"

namespace kalvex::drawing {

namespace {
// Changes to more entities than this at once are cheaper to redo from scratch.
constexpr std::size_t kIncrementalLimit = 5000;
} // namespace

Scene::Scene(const Drawing& drawing) : m_drawing(drawing), m_builder(drawing) {
    rebuild();
}

void Scene::rebuild() {
    m_builder.reset();
    m_entries.clear();
    m_entryOfRecord.assign(m_drawing.recordCount(), -1);
    m_extents = QRectF();
    for (RecordId id : m_drawing.modelSpace()) {
        m_entryOfRecord[id] = static_cast<std::int32_t>(m_entries.size());
        m_entries.push_back(m_builder.build(id));
        if (m_entries.back().live)
            m_extents |= m_entries.back().bounds;
    }
    m_grid.reset(m_extents, m_entries.size());
    m_unbounded.clear();
    for (std::uint32_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].live)
            m_grid.insert(i, m_entries[i].bounds);
        noteUnbounded(i);
    }
    m_changed.clear();
    m_rebuildAll = false;
}

RecordId Scene::topLevelOf(RecordId id) const {
    const RecordSlot& slot = m_drawing.slot(id);
    return slot.parent != kNoRecord ? slot.parent : id;
}

bool Scene::isModelSpaceEntity(RecordId id) const {
    const RecordSlot& slot = m_drawing.slot(id);
    return slot.section == Section::Entities && slot.parent == kNoRecord &&
           slot.kind != RecordKind::SectionEnd && slot.kind != RecordKind::Seqend &&
           RecordView(m_drawing, id).integer(67) != 1;
}

void Scene::markChanged(RecordId id) {
    if (m_rebuildAll)
        return;
    const RecordSlot& slot = m_drawing.slot(id);
    // Layers and block definitions change how many entities look: start over.
    if (slot.kind == RecordKind::Layer || slot.section == Section::Blocks) {
        m_rebuildAll = true;
        return;
    }
    if (slot.section == Section::Entities)
        m_changed.insert(topLevelOf(id));
    if (m_changed.size() > kIncrementalLimit)
        m_rebuildAll = true;
}

bool Scene::sync() {
    if (m_rebuildAll) {
        rebuild();
        return true;
    }
    if (m_changed.empty())
        return false;
    for (RecordId id : m_changed) {
        if (id < m_entryOfRecord.size() && m_entryOfRecord[id] >= 0)
            updateEntry(static_cast<std::uint32_t>(m_entryOfRecord[id]));
        else if (isModelSpaceEntity(id))
            addEntry(id);
    }
    m_changed.clear();
    return true;
}

void Scene::addEntry(RecordId id) {
    if (m_entryOfRecord.size() <= id)
        m_entryOfRecord.resize(m_drawing.recordCount(), -1);
    const auto index = static_cast<std::uint32_t>(m_entries.size());
    m_entryOfRecord[id] = static_cast<std::int32_t>(index);
    m_entries.push_back(m_builder.build(id));
    if (m_entries.back().live)
        m_grid.insert(index, m_entries.back().bounds);
    noteUnbounded(index);
}

void Scene::noteUnbounded(std::uint32_t index) {
    const auto listed = std::find(m_unbounded.begin(), m_unbounded.end(), index);
    const bool unbounded = m_entries[index].unbounded;
    if (unbounded && listed == m_unbounded.end())
        m_unbounded.push_back(index);
    else if (!unbounded && listed != m_unbounded.end())
        m_unbounded.erase(listed);
}

void Scene::updateEntry(std::uint32_t index) {
    SceneEntry& entry = m_entries[index];
    if (entry.live)
        m_grid.remove(index, entry.bounds);
    entry = m_builder.build(entry.id);
    if (entry.live)
        m_grid.insert(index, entry.bounds);
    noteUnbounded(index);
}

void Scene::visit(const QRectF& area, const std::function<void(const SceneEntry&)>& visit) const {
    m_grid.query(area, [&](std::uint32_t index) {
        const SceneEntry& entry = m_entries[index];
        if (entry.live && entry.bounds.intersects(area))
            visit(entry);
    });
    for (std::uint32_t index : m_unbounded) {
        const SceneEntry& entry = m_entries[index];
        if (entry.live && !entry.bounds.intersects(area))
            visit(entry);
    }
}

} // namespace kalvex::drawing
