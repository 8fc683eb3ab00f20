#include "drawing/cad/ModelSelectionSets.h"

#include <algorithm>

#include "drawing/cad/FilterMatcher.h"
#include "drawing/cad/ModelCollections.h"

namespace kalvex::drawing {

void ModelSelectionSet::enter() const {
    if (m_data->deleted)
        throw cad::CadError("The selection set \"" + m_data->name + "\" has been deleted.");
}

std::string ModelSelectionSet::Name() const {
    enter();
    return m_data->name;
}

int ModelSelectionSet::Count() const {
    enter();
    return static_cast<int>(m_data->items.size());
}

cad::EntityPtr ModelSelectionSet::Item(int index) const {
    enter();
    requireIndex(index, m_data->items.size(), "selection set");
    const RecordId id = m_data->items[static_cast<std::size_t>(index)];
    m_model->requireLive(id);
    return m_model->entity(id);
}

void ModelSelectionSet::Clear() {
    enter();
    m_data->items.clear();
    m_data->members.clear();
}

void ModelSelectionSet::Delete() {
    enter();
    m_data->deleted = true;
    m_data->items.clear();
    m_data->members.clear();
    auto& sets = m_model->selectionSets();
    sets.erase(std::remove(sets.begin(), sets.end(), m_data), sets.end());
}

void ModelSelectionSet::add(RecordId id, const FilterMatcher& filter) {
    const Drawing& drawing = m_model->drawing();
    if (drawing.slot(id).parent != kNoRecord)
        id = drawing.slot(id).parent; // picking an attribute picks its block reference
    if (drawing.slot(id).erased || !filter.matches(drawing, id))
        return;
    std::vector<bool>& members = m_data->members;
    if (members.size() <= id)
        members.resize(std::max<std::size_t>(drawing.recordCount(), std::size_t{id} + 1));
    if (members[id])
        return;
    members[id] = true;
    m_data->items.push_back(id);
}

void ModelSelectionSet::SelectOnScreen(const cad::SelectionFilter& filter) {
    enter();
    EntityPicker* picker = m_model->picker();
    const FilterMatcher matcher(filter);
    const auto picked = picker ? picker->pick(filter) : std::nullopt;
    if (!picked)
        throw cad::CadError("The selection was cancelled.");
    for (const std::string& handle : *picked)
        if (const auto id = m_model->drawing().findHandle(handle))
            add(*id, matcher);
}

void ModelSelectionSet::Select(Mode mode, const cad::SelectionFilter& filter) {
    enter();
    if (mode != Mode::All)
        throw cad::CadError("Only selection mode 5 (all) is supported.");
    const FilterMatcher matcher(filter);
    for (RecordId id : m_model->drawing().modelSpace())
        add(id, matcher);
}

int ModelSelectionSets::Count() const {
    return static_cast<int>(m_model->selectionSets().size());
}

cad::SelectionSetPtr ModelSelectionSets::Item(int index) const {
    auto& sets = m_model->selectionSets();
    requireIndex(index, sets.size(), "selection sets");
    return std::make_shared<ModelSelectionSet>(m_model, sets[static_cast<std::size_t>(index)]);
}

cad::SelectionSetPtr ModelSelectionSets::Add(const std::string& name) {
    auto& sets = m_model->selectionSets();
    // Names differing only in case are distinct sets; other programs may leave such sets behind.
    for (const auto& set : sets)
        if (set->name == name)
            throw cad::CadError("A selection set named \"" + name + "\" exists already.");
    sets.push_back(std::make_shared<SelectionSetData>(SelectionSetData{name, {}, false}));
    return std::make_shared<ModelSelectionSet>(m_model, sets.back());
}

} // namespace kalvex::drawing
