#pragma once

#include <functional>
#include <unordered_map>

#include "drawingwindow/SceneBuilder.h"
#include "drawingwindow/SpatialIndex.h"

namespace kalvex::drawing {

// What a sync asks the view to paint again.
struct SceneChanges {
    bool everything = false;
    std::vector<QRectF> areas; // in drawing units: where changed entities were and are now
    bool isEmpty() const { return !everything && areas.empty(); }
};

// What the drawing window shows of model space: one entry per top-level entity, indexed by
// where its ink lies. Changes reported by the drawing are collected and applied on the next
// sync, which tells where the picture changed.
class Scene {
public:
    explicit Scene(const Drawing& drawing);

    void rebuild();
    void markChanged(RecordId id);
    bool hasChanges() const { return m_rebuildAll || !m_changed.empty(); }
    SceneChanges sync();

    QRectF extents() const { return m_extents; }
    // Whether some live entry holds a wipeout: only then must entries paint in drawing order.
    bool anyMasks() const { return m_maskingEntries > 0; }
    std::size_t size() const { return m_entries.size(); }
    // Valid while the scene lives and until it is built again (its texts' strings are kept
    // in the scene's store; an entry built again leaves its old strings there until then).
    const SceneEntry& entry(std::uint32_t index) const { return m_entries[index]; }
    // What building met that the user is told of (kinds not drawn, blocks inserting themselves).
    const SceneNotes& notes() const { return m_builder.notes(); }
    // Room taken by the strings of the entries' texts, in bytes.
    std::size_t stringBytes() { return m_builder.strings().bytes(); }
    // The live entries whose ink may meet the area, each once, and those holding rays or
    // construction lines, which meet every area.
    void visit(const QRectF& area, const std::function<void(const SceneEntry&)>& visit) const;

private:
    struct Piece {
        std::uint32_t entry = 0;
        QRectF ink;
    };
    // An ink box in single precision rounded outwards: half the memory of a QRectF, for every
    // entity of the drawing.
    struct InkBox {
        float left = 0, top = 0, right = 0, bottom = 0;
        static InkBox around(const QRectF& r);
        QRectF rect() const { return QRectF(QPointF(left, top), QPointF(right, bottom)); }
    };

    void addEntry(RecordId id, SceneChanges& changes);
    void updateEntry(std::uint32_t index, SceneChanges& changes);
    void indexEntry(std::uint32_t index, SceneChanges* changes);
    void unindexEntry(std::uint32_t index, SceneChanges& changes);
    void addPiece(std::uint32_t index, const QRectF& ink);
    void reindex();
    void keepStringsAnew();
    bool firstVisit(std::uint32_t index) const;
    void visitAll(const std::function<void(const SceneEntry&)>& visit) const;
    RecordId topLevelOf(RecordId id) const;
    bool isModelSpaceEntity(RecordId id) const;

    const Drawing& m_drawing;
    SceneBuilder m_builder;
    std::vector<SceneEntry> m_entries;
    std::vector<std::int32_t> m_entryOfRecord; // -1: the record has no entry
    // By entry: where its ink lies, or its first piece when its shapes lie far apart; the
    // other pieces are indexed apart, by their number in m_extraPieces.
    std::vector<InkBox> m_ink;
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> m_extraPiecesOf;
    std::vector<Piece> m_extraPieces;
    std::vector<std::uint32_t> m_freeExtraPieces;
    SpatialIndex m_index;
    SpatialIndex m_extraIndex;
    std::vector<std::uint32_t> m_unbounded; // live entries holding rays or construction lines
    QRectF m_extents;
    std::vector<RecordId> m_changed; // top-level records, possibly repeated
    bool m_rebuildAll = false;
    std::size_t m_builtAgain = 0;     // entries built again since their strings were last kept
    std::size_t m_maskingEntries = 0; // indexed entries holding a wipeout
    std::vector<QRectF> m_pieces;     // the ink pieces of the entry being indexed
    bool m_placing = false;           // entries are placed in the index, filled in at the end
    mutable std::vector<std::uint32_t> m_visitStamp;
    mutable std::uint32_t m_visitNumber = 0;
};

} // namespace kalvex::drawing
