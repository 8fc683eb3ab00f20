#include "drawingwindow/Scene.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "drawing/entities/RecordView.h"
#include "drawingwindow/SceneInk.h"

namespace kalvex::drawing {

namespace {
// Entities added beyond the extents the index was made for are kept in a list every query
// reads; past this many (or a share of the scene) the index is made again over new extents.
constexpr std::size_t kOutsideLimit = 1024;
// Entries built again before the strings are kept anew, however few entries there are.
constexpr std::size_t kLeastBuiltAgain = 1024;

// As QRectF::intersects for the normalised rectangles of the scene, inline for the millions of
// tests a paint of a whole drawing makes.
bool meets(const QRectF& a, const QRectF& b) {
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() &&
           b.top() < a.bottom();
}

float roundedDown(double v) {
    const auto f = static_cast<float>(v);
    return f > v ? std::nextafter(f, -std::numeric_limits<float>::infinity()) : f;
}

float roundedUp(double v) {
    const auto f = static_cast<float>(v);
    return f < v ? std::nextafter(f, std::numeric_limits<float>::infinity()) : f;
}

} // namespace

Scene::Scene(const Drawing& drawing) : m_drawing(drawing), m_builder(drawing) {
    // The entries never leave the scene, which holds the builder: their strings can be kept
    // in the builder's store.
    m_builder.keepStringsInStore(true);
    rebuild();
}

void Scene::rebuild() {
    m_entries.clear(); // before the builder forgets their strings
    m_builder.reset();
    m_builtAgain = 0;
    m_entryOfRecord.assign(m_drawing.recordCount(), -1);
    m_extents = QRectF();
    const std::vector<RecordId> modelSpace = m_drawing.modelSpace();
    m_entries.reserve(modelSpace.size());
    for (RecordId id : modelSpace) {
        m_entryOfRecord[id] = static_cast<std::int32_t>(m_entries.size());
        m_entries.push_back(m_builder.build(id));
        if (m_entries.back().live)
            m_extents |= m_entries.back().bounds;
    }
    reindex();
    m_changed.clear();
    m_rebuildAll = false;
}

// The index spans the entities' bounds; the few whose ink reaches beyond go to its outside list.
void Scene::reindex() {
    m_ink.assign(m_entries.size(), InkBox());
    m_maskingEntries = 0;
    m_unbounded.clear();
    m_extraPiecesOf.clear();
    m_extraPieces.clear();
    m_freeExtraPieces.clear();
    m_index.reset(m_extents, m_entries.size());
    m_extraIndex.reset(m_extents, 0);
    // Every entry placed first and the index filled in once, each cell's room made once.
    m_placing = true;
    for (std::uint32_t i = 0; i < m_entries.size(); ++i)
        indexEntry(i, nullptr);
    m_placing = false;
    m_index.fill();
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
        m_changed.clear();
        return;
    }
    if (slot.section == Section::Entities)
        m_changed.push_back(topLevelOf(id));
}

SceneChanges Scene::sync() {
    SceneChanges changes;
    if (m_rebuildAll) {
        rebuild();
        changes.everything = true;
        return changes;
    }
    // In record order, so that entities added together keep the drawing's order.
    std::sort(m_changed.begin(), m_changed.end());
    m_changed.erase(std::unique(m_changed.begin(), m_changed.end()), m_changed.end());
    for (RecordId id : m_changed) {
        if (id < m_entryOfRecord.size() && m_entryOfRecord[id] >= 0)
            updateEntry(static_cast<std::uint32_t>(m_entryOfRecord[id]), changes);
        else if (isModelSpaceEntity(id))
            addEntry(id, changes);
    }
    m_changed.clear();
    // An entry built again leaves its old strings in the store: once as many entries were
    // built again as there are, the store holds mostly strings no entry uses.
    if (m_builtAgain > std::max(kLeastBuiltAgain, m_entries.size()))
        keepStringsAnew();
    const std::size_t outside = m_index.outsideCount() + m_extraIndex.outsideCount();
    if (outside > std::max(kOutsideLimit, m_entries.size() / 16))
        reindex();
    return changes;
}

void Scene::addEntry(RecordId id, SceneChanges& changes) {
    if (m_entryOfRecord.size() <= id)
        m_entryOfRecord.resize(m_drawing.recordCount(), -1);
    const auto index = static_cast<std::uint32_t>(m_entries.size());
    m_entryOfRecord[id] = static_cast<std::int32_t>(index);
    m_entries.push_back(m_builder.build(id));
    m_ink.emplace_back();
    if (m_entries.back().live)
        m_extents |= m_entries.back().bounds;
    indexEntry(index, &changes);
}

// Every entry's strings copied into a new store, which replaces the old one: nothing else
// holds strings of the store between two syncs.
void Scene::keepStringsAnew() {
    SceneStrings fresh;
    for (SceneEntry& entry : m_entries)
        for (SceneShape& shape : entry.shapes)
            shape.text.text = fresh.keep(shape.text.text);
    std::swap(m_builder.strings(), fresh);
    m_builtAgain = 0;
}

void Scene::updateEntry(std::uint32_t index, SceneChanges& changes) {
    ++m_builtAgain;
    unindexEntry(index, changes);
    SceneEntry& entry = m_entries[index];
    entry = m_builder.build(entry.id);
    if (entry.live)
        m_extents |= entry.bounds;
    indexEntry(index, &changes);
}

// A ray or construction line crosses every view: its entry is not indexed but listed, and a
// change of it repaints everything.
void Scene::indexEntry(std::uint32_t index, SceneChanges* changes) {
    const SceneEntry& entry = m_entries[index];
    if (!entry.live)
        return;
    if (entry.masks)
        ++m_maskingEntries;
    if (entry.unbounded) {
        m_unbounded.push_back(index);
        if (changes)
            changes->everything = true;
        return;
    }
    std::vector<QRectF>& pieces = m_pieces;
    inkPieces(entry, pieces);
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (changes)
            changes->areas.push_back(pieces[k]);
        if (k == 0) {
            m_ink[index] = InkBox::around(pieces[0]);
            if (m_placing)
                m_index.place(index, pieces[0]);
            else
                m_index.insert(index, pieces[0]);
        } else {
            addPiece(index, pieces[k]);
        }
    }
}

void Scene::addPiece(std::uint32_t index, const QRectF& ink) {
    std::uint32_t extra = static_cast<std::uint32_t>(m_extraPieces.size());
    if (m_freeExtraPieces.empty()) {
        m_extraPieces.push_back({index, ink});
    } else {
        extra = m_freeExtraPieces.back();
        m_freeExtraPieces.pop_back();
        m_extraPieces[extra] = {index, ink};
    }
    m_extraPiecesOf[index].push_back(extra);
    m_extraIndex.insert(extra, ink);
}

void Scene::unindexEntry(std::uint32_t index, SceneChanges& changes) {
    if (m_entries[index].live && m_entries[index].masks)
        --m_maskingEntries;
    const auto listed = std::find(m_unbounded.begin(), m_unbounded.end(), index);
    if (listed != m_unbounded.end()) {
        m_unbounded.erase(listed);
        changes.everything = true;
    }
    if (!m_index.contains(index))
        return;
    m_index.remove(index);
    changes.areas.push_back(m_ink[index].rect());
    const auto extras = m_extraPiecesOf.find(index);
    if (extras == m_extraPiecesOf.end())
        return;
    for (std::uint32_t extra : extras->second) {
        m_extraIndex.remove(extra);
        changes.areas.push_back(m_extraPieces[extra].ink);
        m_freeExtraPieces.push_back(extra);
    }
    m_extraPiecesOf.erase(extras);
}

Scene::InkBox Scene::InkBox::around(const QRectF& r) {
    return {roundedDown(r.left()), roundedDown(r.top()), roundedUp(r.right()),
            roundedUp(r.bottom())};
}

bool Scene::firstVisit(std::uint32_t index) const {
    if (m_visitStamp.size() < m_entries.size())
        m_visitStamp.resize(m_entries.size(), 0);
    if (m_visitStamp[index] == m_visitNumber)
        return false;
    m_visitStamp[index] = m_visitNumber;
    return true;
}

void Scene::visit(const QRectF& area, const std::function<void(const SceneEntry&)>& visit) const {
    // An entry indexed in more than one piece may be met more than once.
    const bool once = !m_extraPiecesOf.empty();
    if (once && ++m_visitNumber == 0) {
        std::fill(m_visitStamp.begin(), m_visitStamp.end(), 0);
        m_visitNumber = 1;
    }
    if (area.contains(m_extents)) {
        visitAll(visit);
        return;
    }
    m_index.query(area, [&](std::uint32_t index) {
        const InkBox& ink = m_ink[index];
        const bool inArea = ink.left < area.right() && area.left() < ink.right &&
                            ink.top < area.bottom() && area.top() < ink.bottom;
        if (inArea && (!once || firstVisit(index)))
            visit(m_entries[index]);
    });
    m_extraIndex.query(area, [&](std::uint32_t extra) {
        const Piece& piece = m_extraPieces[extra];
        if (meets(piece.ink, area) && firstVisit(piece.entry))
            visit(m_entries[piece.entry]);
    });
    for (std::uint32_t index : m_unbounded)
        visit(m_entries[index]);
}

// A view of the whole drawing meets every entry: they are taken in their order, which reads
// memory front to back instead of in the index's order, each once through its first piece.
void Scene::visitAll(const std::function<void(const SceneEntry&)>& visit) const {
    for (std::uint32_t index = 0; index < m_entries.size(); ++index) {
        if (m_index.contains(index))
            visit(m_entries[index]);
    }
    for (std::uint32_t index : m_unbounded)
        visit(m_entries[index]);
}

} // namespace kalvex::drawing
