#pragma once

#include <map>
#include <string>
#include <unordered_map>

#include "drawing/model/Drawing.h"
#include "drawing/view/EntityFields.h"
#include "drawing/view/SceneItems.h"

namespace kalvex::drawing {

struct LayerLook {
    QColor color;
    bool hidden = false; // off or frozen
    bool locked = false;
};

// Turns records of a drawing into what the drawing window paints. Block geometry is kept per
// block name in the block's own coordinates and placed for each INSERT.
class SceneBuilder {
public:
    explicit SceneBuilder(const Drawing& drawing);

    // Reads the layer table and forgets block geometry (after the layers or blocks changed).
    void reset();
    SceneEntry build(RecordId id);
    const std::map<std::string, LayerLook>& layers() const { return m_layers; }

private:
    struct Placement : ScenePlacement {
        QColor byBlock;
        int depth = 0;
    };
    void addRecord(RecordId id, const EntityFields& fields, const Placement& at,
                   std::vector<SceneShape>& out);
    void addInsert(RecordId id, const EntityFields& fields, const Placement& at,
                   const QColor& color, std::vector<SceneShape>& out);
    void addAttributes(RecordId insert, const Placement& at, std::vector<SceneShape>& out);
    bool addBlockReference(RecordId id, const EntityFields& fields, const Placement& at,
                           SceneEntry& entry);
    std::shared_ptr<const SceneBlock> sharedBlock(std::size_t index, const QColor& byBlock);
    std::vector<SceneShape> localShapes(RecordId id, const EntityFields& fields);
    static void place(SceneShape& shape, const Placement& at);
    QColor colorOf(const EntityFields& fields, const Placement& at);
    const LayerLook& layerOf(std::string_view rawName);

    const Drawing& m_drawing;
    std::map<std::string, LayerLook> m_layers;          // by case-folded name
    std::unordered_map<std::string, std::size_t> m_blocks; // block index by case-folded name
    std::unordered_map<std::string, const LayerLook*> m_layerOfRaw;    // by the file's bytes
    // Block geometry by block index and the colour BYBLOCK entities take.
    std::map<std::pair<std::size_t, QRgb>, std::shared_ptr<const SceneBlock>> m_sharedBlocks;
    LayerLook m_defaultLayer;
};

} // namespace kalvex::drawing
