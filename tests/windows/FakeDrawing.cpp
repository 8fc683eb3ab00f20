#include "FakeDrawing.h"

#include <algorithm>
#include <cstdio>

namespace kalvex::fake {

namespace {

// The CAD's wildcards as far as the tool uses them: "*" for any run, "?" for one character.
bool wildcardMatch(const char* pattern, const char* text) {
    if (*pattern == '\0')
        return *text == '\0';
    if (*pattern == '*')
        return wildcardMatch(pattern + 1, text) || (*text && wildcardMatch(pattern, text + 1));
    if (*text && (*pattern == '?' || *pattern == *text))
        return wildcardMatch(pattern + 1, text + 1);
    return false;
}

} // namespace

KindNames namesOf(Kind kind) {
    switch (kind) {
    case Kind::Text:
        return {"TEXT", "AcDbText"};
    case Kind::Insert:
        return {"INSERT", "AcDbBlockReference"};
    case Kind::Attribute:
        return {"ATTRIB", "AcDbAttribute"};
    case Kind::Line:
        return {"LINE", "AcDbLine"};
    }
    return {"", ""};
}

Drawing::Drawing() {
    m_layers.push_back({"0", false});
}

std::string Drawing::nextHandle() {
    char text[16];
    std::snprintf(text, sizeof text, "%X", m_nextHandle++);
    return text;
}

std::string Drawing::addText(const std::string& text, const Point& at, const std::string& layer) {
    Entity entity;
    entity.handle = nextHandle();
    entity.text = text;
    entity.insertion = at;
    entity.alignmentPoint = at;
    entity.layer = layer;
    entity.objectId = 0x7000 + m_nextHandle;
    m_entities[entity.handle] = entity;
    m_order.push_back(entity.handle);
    return entity.handle;
}

std::string Drawing::addInsert(const std::string& block, const Point& at,
                               const std::vector<std::pair<std::string, std::string>>& attributes,
                               const std::string& layer) {
    Entity insert;
    insert.handle = nextHandle();
    insert.kind = Kind::Insert;
    insert.blockName = block;
    insert.insertion = at;
    insert.layer = layer;
    insert.objectId = 0x7000 + m_nextHandle;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        Entity attribute;
        attribute.handle = nextHandle();
        attribute.kind = Kind::Attribute;
        attribute.tag = attributes[i].first;
        attribute.text = attributes[i].second;
        attribute.insertion = {at.x, at.y - 5.0 * double(i + 1), 0};
        attribute.alignmentPoint = attribute.insertion;
        attribute.layer = layer;
        attribute.objectId = 0x7000 + m_nextHandle;
        insert.attributes.push_back(attribute.handle);
        m_entities[attribute.handle] = attribute;
    }
    m_entities[insert.handle] = insert;
    m_order.push_back(insert.handle);
    return insert.handle;
}

void Drawing::addLayer(const std::string& name, bool locked) {
    m_layers.push_back({name, locked});
}

void Drawing::erase(const std::string& handle) {
    m_entities.at(handle).erased = true;
}

bool Drawing::has(const std::string& handle) const {
    const auto found = m_entities.find(handle);
    return found != m_entities.end() && !found->second.erased;
}

Entity& Drawing::entity(const std::string& handle) {
    const auto found = m_entities.find(handle);
    if (found == m_entities.end())
        throw Refusal("Unknown handle " + handle + ".");
    if (found->second.erased)
        throw Refusal("The object " + handle + " has been erased.");
    return found->second;
}

Entity& Drawing::entityForChange(const std::string& handle) {
    Entity& changed = entity(handle);
    for (const Layer& layer : m_layers)
        if (layer.name == changed.layer && layer.locked)
            throw Refusal("The object is on a locked layer: " + layer.name);
    return changed;
}

std::string Drawing::copy(const std::string& handle) {
    Entity copied = entityForChange(handle);
    copied.handle = nextHandle();
    copied.objectId = 0x7000 + m_nextHandle;
    copied.updates = 0;
    m_entities[copied.handle] = copied;
    m_order.push_back(copied.handle);
    return copied.handle;
}

SelectionSet& Drawing::selectionSet(const std::string& name) {
    for (SelectionSet& set : m_sets)
        if (set.name == name)
            return set;
    throw Refusal("The selection set " + name + " has been deleted.");
}

void Drawing::deleteSelectionSet(const std::string& name) {
    std::erase_if(m_sets, [&name](const SelectionSet& set) { return set.name == name; });
}

bool Drawing::matches(const Entity& entity, const Filter& filter) const {
    for (std::size_t i = 0; i < filter.codes.size(); ++i) {
        const char* pattern = filter.values[i].c_str();
        const bool ok = filter.codes[i] == 0 ? wildcardMatch(pattern, namesOf(entity.kind).typeName)
                        : filter.codes[i] == 1 ? wildcardMatch(pattern, entity.text.c_str())
                        : filter.codes[i] == 2 ? wildcardMatch(pattern, entity.blockName.c_str())
                                               : false;
        if (!ok)
            return false;
    }
    return true;
}

void Drawing::pickOnScreen(const std::string& set, const Filter& filter) {
    m_lastFilter = filter;
    if (m_picks.empty())
        throw Refusal("The user cancelled the selection.");
    const std::vector<std::string> picked = m_picks.front();
    m_picks.erase(m_picks.begin());
    SelectionSet& target = selectionSet(set);
    for (const std::string& handle : picked)
        if (has(handle) && matches(m_entities.at(handle), filter))
            target.handles.push_back(handle);
}

void Drawing::selectAll(const std::string& set, const Filter& filter) {
    m_lastFilter = filter;
    SelectionSet& target = selectionSet(set);
    for (const std::string& handle : m_order)
        if (has(handle) && matches(m_entities.at(handle), filter))
            target.handles.push_back(handle);
}

} // namespace kalvex::fake
