#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace kalvex::fake {

// A refusal of the fake CAD; its message reaches the caller as the exception's description.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Point {
    double x = 0;
    double y = 0;
    double z = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

enum class Kind { Text, Insert, Attribute, Line };

// A kind's type name in selection filters and its name as the CAD's objects give it.
struct KindNames {
    const char* typeName;
    const char* entityName;
};
KindNames namesOf(Kind kind);

struct Entity {
    std::string handle;
    Kind kind = Kind::Text;
    std::string layer = "0";
    std::string text; // TEXT and attribute
    std::string tag;  // attribute
    int alignment = 0;
    Point insertion;
    Point alignmentPoint;
    bool pointIsArray = true;            // false: the points come back as no array at all
    std::string blockName;               // block reference
    std::vector<std::string> attributes; // block reference: its attributes' handles
    std::int64_t objectId = 0;
    bool erased = false;
    int updates = 0;
};

struct Layer {
    std::string name;
    bool locked = false;
};

struct SelectionSet {
    std::string name;
    std::vector<std::string> handles;
};

struct BlockItem {
    std::string entityName;
    std::string tag;
    std::string prompt;
};

struct Block {
    std::string name;
    std::vector<BlockItem> items;
};

// The filter of the last on-screen pick or select-all, as the fake read it off the arrays.
struct Filter {
    std::vector<std::int16_t> codes;
    std::vector<std::string> values;
};

// The drawing of the fake CAD: layers with locks, TEXTs, block references with attributes,
// block definitions, selection sets, on-screen picks scripted in advance and the view.
class Drawing {
public:
    Drawing();

    std::string addText(const std::string& text, const Point& at, const std::string& layer = "0");
    std::string addInsert(const std::string& block, const Point& at,
                          const std::vector<std::pair<std::string, std::string>>& attributes,
                          const std::string& layer = "0");
    void addLayer(const std::string& name, bool locked);
    void addBlock(Block block) { m_blocks.push_back(std::move(block)); }
    // The next on-screen selection picks these, in this order, where the filter lets them.
    void queuePick(std::vector<std::string> handles) { m_picks.push_back(std::move(handles)); }
    bool pickQueued() const { return !m_picks.empty(); }
    // The user erases an entity while the tool holds it.
    void erase(const std::string& handle);

    // Reading and changing an entity refuses one that is unknown or erased; changing also one
    // on a locked layer.
    Entity& entity(const std::string& handle);
    Entity& entityForChange(const std::string& handle);
    std::string copy(const std::string& handle);
    bool has(const std::string& handle) const;
    const Entity& at(const std::string& handle) const { return m_entities.at(handle); }
    // The handles of the entities in the drawing, in drawing order (attributes are in their
    // block references).
    const std::vector<std::string>& drawingOrder() const { return m_order; }

    std::vector<Layer>& layers() { return m_layers; }
    std::vector<Block>& blocks() { return m_blocks; }
    std::vector<SelectionSet>& selectionSets() { return m_sets; }
    SelectionSet& selectionSet(const std::string& name);
    void deleteSelectionSet(const std::string& name);
    void pickOnScreen(const std::string& set, const Filter& filter);
    void selectAll(const std::string& set, const Filter& filter);
    const Filter& lastFilter() const { return m_lastFilter; }

    double viewHeight = 100;
    Point zoomLowerLeft;
    Point zoomUpperRight;
    int zooms = 0;
    int regens = 0;
    int undoMarks = 0;

private:
    bool matches(const Entity& entity, const Filter& filter) const;
    std::string nextHandle();

    std::map<std::string, Entity> m_entities;
    std::vector<std::string> m_order; // drawing order
    std::vector<Layer> m_layers;
    std::vector<Block> m_blocks;
    std::vector<SelectionSet> m_sets;
    std::vector<std::vector<std::string>> m_picks;
    Filter m_lastFilter;
    int m_nextHandle = 0x2A0;
};

} // namespace kalvex::fake
