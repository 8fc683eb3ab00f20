#pragma once

#include "cadlink/SelectionSet.h"
#include "drawing/cad/CadModel.h"

namespace kalvex::drawing {

class FilterMatcher;

class ModelSelectionSet : public cad::SelectionSet {
public:
    ModelSelectionSet(std::shared_ptr<CadModel> model, std::shared_ptr<SelectionSetData> data)
        : m_model(std::move(model)), m_data(std::move(data)) {}
    std::string Name() const override;
    int Count() const override;
    cad::EntityPtr Item(int index) const override;
    void Clear() override;
    void Delete() override;
    void SelectOnScreen(const cad::SelectionFilter& filter) override;
    void Select(Mode mode, const cad::SelectionFilter& filter) override;

private:
    void enter() const; // the set must not have been deleted
    void add(RecordId id, const FilterMatcher& filter);

    std::shared_ptr<CadModel> m_model;
    std::shared_ptr<SelectionSetData> m_data;
};

class ModelSelectionSets : public cad::SelectionSets {
public:
    explicit ModelSelectionSets(std::shared_ptr<CadModel> model) : m_model(std::move(model)) {}
    int Count() const override;
    cad::SelectionSetPtr Item(int index) const override;
    cad::SelectionSetPtr Add(const std::string& name) override;

private:
    std::shared_ptr<CadModel> m_model;
};

} // namespace kalvex::drawing
