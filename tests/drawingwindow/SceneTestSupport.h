#pragma once

#include <string>

#include "drawing/DxfTestSupport.h"
#include "drawing/dxf/DxfFile.h"
#include "drawingwindow/SceneBuilder.h"

namespace kalvex::drawing::test {

// A drawing of the given header variables, table records (after a LAYER table with layer
// "0"), block definitions and model-space entities, each given as its pairs.
inline std::shared_ptr<Drawing> sceneDrawing(const Pairs& entities, const Pairs& blocks = {},
                                             const Pairs& tables = {}, const Pairs& header = {}) {
    Pairs all{{"0", "SECTION"}, {"2", "HEADER"}, {"9", "$ACADVER"}, {"1", "AC1015"}};
    all.insert(all.end(), header.begin(), header.end());
    const Pairs middle{{"0", "ENDSEC"}, {"0", "SECTION"}, {"2", "TABLES"}, {"0", "TABLE"},
                       {"2", "LAYER"},  {"0", "LAYER"},   {"2", "0"},      {"70", "0"},
                       {"62", "7"},     {"0", "ENDTAB"}};
    all.insert(all.end(), middle.begin(), middle.end());
    all.insert(all.end(), tables.begin(), tables.end());
    all.insert(all.end(), {{"0", "ENDSEC"}, {"0", "SECTION"}, {"2", "BLOCKS"}});
    all.insert(all.end(), blocks.begin(), blocks.end());
    all.insert(all.end(), {{"0", "ENDSEC"}, {"0", "SECTION"}, {"2", "ENTITIES"}});
    all.insert(all.end(), entities.begin(), entities.end());
    all.insert(all.end(), {{"0", "ENDSEC"}, {"0", "EOF"}});
    return parseDxf(dxfOf(all), "scene.dxf");
}

// A block definition holding the given entities, its base point at the origin.
inline Pairs blockOf(const std::string& name, const Pairs& entities) {
    Pairs pairs{{"0", "BLOCK"}, {"8", "0"},  {"2", name}, {"70", "0"},
                {"10", "0"},    {"20", "0"}, {"30", "0"}};
    pairs.insert(pairs.end(), entities.begin(), entities.end());
    pairs.insert(pairs.end(), {{"0", "ENDBLK"}, {"8", "0"}});
    return pairs;
}

inline Pairs lineOf(double x1, double y1, double x2, double y2, const Pairs& extra = {}) {
    Pairs pairs{{"0", "LINE"}, {"8", "0"}};
    pairs.insert(pairs.end(), extra.begin(), extra.end());
    pairs.insert(pairs.end(), {{"10", std::to_string(x1)},
                               {"20", std::to_string(y1)},
                               {"11", std::to_string(x2)},
                               {"21", std::to_string(y2)}});
    return pairs;
}

inline Pairs insertOf(const std::string& block, double x, double y, const Pairs& extra = {}) {
    Pairs pairs{{"0", "INSERT"},
                {"8", "0"},
                {"2", block},
                {"10", std::to_string(x)},
                {"20", std::to_string(y)}};
    pairs.insert(pairs.end(), extra.begin(), extra.end());
    return pairs;
}

inline Pairs joined(std::initializer_list<Pairs> parts) {
    Pairs all;
    for (const Pairs& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The scene entry of the model-space entity at this position, with every shape it draws in
// its shapes: a block reference's block placed ahead of its attributes.
inline SceneEntry entryOf(const Drawing& drawing, SceneBuilder& builder, std::size_t index = 0) {
    SceneEntry entry = builder.build(drawing.modelSpace().at(index));
    entry.shapes = drawnShapes(entry);
    entry.block.reset();
    return entry;
}

} // namespace kalvex::drawing::test
