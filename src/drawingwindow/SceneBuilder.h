#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "drawing/entities/EntityFields.h"
#include "drawing/model/Drawing.h"
#include "drawingwindow/SceneItems.h"
#include "drawingwindow/render/DrawingStyles.h"
#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

// What building the scene met that the user is told of once: kinds of entity that are not
// drawn, and blocks that insert themselves (directly or through other blocks).
struct SceneNotes {
    std::set<std::string> undrawnKinds;
    std::set<std::string> selfReferencingBlocks;
};

// Turns records of a drawing into what the drawing window paints. Block geometry is placed
// for each INSERT through an affine map; a block is never expanded inside itself, and the
// expansion of one top-level entity is capped: an INSERT beyond the cap shows as the box
// of its extents. A reference of model space shares its block's geometry with the other
// references that draw the block alike, made once.
class SceneBuilder {
public:
    explicit SceneBuilder(const Drawing& drawing);

    // Keeps the strings of the texts of the entries it builds in a store of its own rather
    // than in strings of their own: much less memory, but the entries are then valid only
    // while the builder lives and until reset(). Off unless asked for (the scene, which owns
    // both the builder and the entries, asks for it).
    void keepStringsInStore(bool keep) { m_entryStrings = keep; }
    // The store, for the scene to keep its entries' strings anew when those of entries
    // built again have piled up in it.
    SceneStrings& strings() { return m_strings; }

    // Reads the tables and forgets block geometry (after the layers or blocks changed), and
    // the strings kept in the store: the entries built with them must be dropped first.
    void reset();
    SceneEntry build(RecordId id);
    const std::map<std::string, LayerLook>& layers() const { return m_styles.layers(); }
    const SceneNotes& notes() const { return m_notes; }

    // Entities one top-level entity may expand to before its block references show as boxes,
    // and all of them together between two resets (a drawing of many references to huge
    // blocks shows the later ones as boxes rather than exhaust memory).
    static constexpr double kMaxExpandedEntities = 200000;
    static constexpr double kMaxExpandedInScene = 4000000;

private:
    struct Placement {
        QTransform map;     // block coordinates to world
        double scale = 1.0; // the map's linear scale, for linetype lengths
        QColor byBlock;
        float lineWeightByBlock = 0.0f;
        std::string lineTypeByBlock;
        const LayerLook* layer = nullptr; // the reference's layer, for entities on layer "0"
        int depth = 0;
    };
    struct Style {
        QColor color;
        float lineWeight = 0.0f;
        std::string lineType;
    };
    struct ArrayLayout {
        int columns = 1, rows = 1;
        double columnSpacing = 0, rowSpacing = 0;
    };

    void addRecord(RecordId id, const EntityFields& fields, const Placement& at,
                   std::vector<SceneShape>& out);
    void addShapes(RecordId id, const EntityFields& fields, const Placement& at, const Style& style,
                   std::vector<SceneShape>& out);
    void addShapesBy(ShapeReader reader, RecordId id, const EntityFields& fields,
                     const Placement& at, const Style& style, std::vector<SceneShape>& out);
    void addInsert(RecordId id, const EntityFields& fields, const Placement& at, const Style& style,
                   std::vector<SceneShape>& out);
    void addCell(RecordId id, const EntityFields& fields, std::size_t block, QPointF cell,
                 const Placement& at, const Style& style, std::vector<SceneShape>& out);
    void noteSelfReference(std::size_t block);
    void addDimension(RecordId id, const EntityFields& fields, const Placement& at,
                      const Style& style, std::vector<SceneShape>& out);
    // Tables and multileaders draw blocks of their own (SceneTables.cpp, SceneLeaders.cpp).
    void addTable(RecordId id, const Placement& at, const Style& style,
                  std::vector<SceneShape>& out);
    void addLeaderBlock(RecordId id, const EntityFields& fields, const Placement& at,
                        const Style& style, std::vector<SceneShape>& out);
    void expandBlock(std::size_t block, const Placement& inner, std::vector<SceneShape>& out);
    void addAttributes(RecordId insert, const Placement& owner, std::vector<SceneShape>& out);
    Placement ownerPlacement(const Placement& at, const Style& style, const EntityFields& f);
    bool addBlockReference(RecordId id, const EntityFields& fields, const Placement& at,
                           SceneEntry& entry);
    std::shared_ptr<const SceneBlock> sharedBlock(std::size_t block, const Placement& placed);
    void addBox(const QRectF& local, const QTransform& map, const Style& style,
                std::vector<SceneShape>& out);

    Placement innerPlacement(const Placement& at, const QTransform& local, const Style& style,
                             const EntityFields& fields);
    QTransform insertMap(const EntityFields& fields, std::size_t block, QPointF cellOffset) const;
    ArrayLayout arrayOf(RecordId insert, const EntityFields& fields) const;
    std::size_t blockIndex(std::string_view rawName) const;
    bool isOpen(std::size_t block) const;
    double blockCost(std::size_t block);
    QRectF blockExtents(std::size_t block);
    QRectF arrayExtents(std::size_t block, const ArrayLayout& array, const EntityFields& fields);
    QRectF itemExtents(RecordId item);
    QRectF readerExtents(ShapeReader reader, RecordId item, const EntityFields& fields);

    Style styleOf(const EntityFields& fields, const Placement& at);
    const LayerLook& layerOf(std::string_view rawName);
    const LayerLook& effectiveLayer(const EntityFields& fields, const Placement& at);
    std::shared_ptr<const LinePattern> patternFor(const std::string& lineType, double scale);
    void finishShape(SceneShape& shape, const Style& style, const Placement& at,
                     const std::shared_ptr<const LinePattern>& pattern);

    const Drawing& m_drawing;
    DrawingStyles m_styles;
    std::unordered_map<std::string, std::size_t> m_blocks; // block index by case-folded name
    std::unordered_map<std::string, const LayerLook*> m_layerOfRaw; // by the file's bytes
    LayerLook m_defaultLayer;
    std::map<std::pair<std::string, double>, std::shared_ptr<const LinePattern>> m_patterns;
    std::vector<double> m_blockCost; // -1 not known yet, -2 being counted
    std::vector<std::optional<QRectF>> m_blockExtents;
    std::vector<bool> m_extentsOpen;
    std::vector<std::size_t> m_open; // blocks being expanded, outermost first
    double m_budget = 0;
    double m_sceneBudget = kMaxExpandedInScene;
    SceneNotes m_notes;
    std::vector<SceneShape> m_readShapes; // what the entity being added reads to, then moved out
    // The strings of the texts of built entries, when kept in the store; m_entryStrings is
    // false while geometry to be shared is built.
    SceneStrings m_strings;
    bool m_entryStrings = false;
    // Block geometry in block coordinates by block and by what of the reference it takes on:
    // BYBLOCK colour, lineweight and linetype, the layer of its layer-0 entities, the scale
    // of linetypes and widths. Null for a block that cannot be shared (it holds rays).
    using SharedKey = std::tuple<std::size_t, QRgb, float, std::string, const LayerLook*, double>;
    std::map<SharedKey, std::shared_ptr<const SceneBlock>> m_sharedBlocks;
};

} // namespace kalvex::drawing
