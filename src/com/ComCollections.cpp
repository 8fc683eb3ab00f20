#include "com/ComCollections.h"

#include <utility>

#include "com/ComEntities.h"
#include "com/Dispatch.h"

namespace kalvex::com {

namespace {

int countOf(const DispatchObject& collection) {
    return static_cast<int>(integerOf(collection.get("Count").get()));
}

ComRef<IDispatch> itemOf(const DispatchObject& collection, int index) {
    return objectOf(collection.get("Item", {variantOf(index)}).get());
}

class ComLayer final : public cad::Layer {
public:
    explicit ComLayer(ComRef<IDispatch> object) : m_layer(std::move(object), Interface::Layer) {}
    std::string Name() const override { return stringOf(m_layer.get("Name").get()); }
    bool Lock() const override { return boolOf(m_layer.get("Lock").get()); }

private:
    DispatchObject m_layer;
};

// A collection of the drawing whose items the tool only counts and reads by index.
template <class Collection, class Element> class ComCollection final : public Collection {
public:
    ComCollection(ComRef<IDispatch> object, Interface names)
        : m_collection(std::move(object), names) {}
    int Count() const override { return countOf(m_collection); }
    auto Item(int index) const -> decltype(std::declval<Collection>().Item(0)) override {
        return std::make_shared<Element>(itemOf(m_collection, index));
    }

private:
    DispatchObject m_collection;
};

class ComSelectionSet final : public cad::SelectionSet {
public:
    explicit ComSelectionSet(ComRef<IDispatch> object)
        : m_set(std::move(object), Interface::SelectionSet) {}
    std::string Name() const override { return stringOf(m_set.get("Name").get()); }
    int Count() const override { return countOf(m_set); }
    cad::EntityPtr Item(int index) const override { return entityOf(itemOf(m_set, index)); }
    void Clear() override { m_set.call("Clear"); }
    void Delete() override { m_set.call("Delete"); }
    void SelectOnScreen(const cad::SelectionFilter& filter) override {
        m_set.call("SelectOnScreen", {filterCodesOf(filter), filterValuesOf(filter)});
    }
    void Select(Mode mode, const cad::SelectionFilter& filter) override {
        // Selecting all takes no corner points.
        m_set.call("Select", {variantOf(static_cast<int>(mode)), missingArgument(),
                              missingArgument(), filterCodesOf(filter), filterValuesOf(filter)});
    }

private:
    DispatchObject m_set;
};

class ComSelectionSets final : public cad::SelectionSets {
public:
    explicit ComSelectionSets(ComRef<IDispatch> object)
        : m_sets(std::move(object), Interface::SelectionSets) {}
    int Count() const override { return countOf(m_sets); }
    cad::SelectionSetPtr Item(int index) const override {
        return std::make_shared<ComSelectionSet>(itemOf(m_sets, index));
    }
    cad::SelectionSetPtr Add(const std::string& name) override {
        return std::make_shared<ComSelectionSet>(
            objectOf(m_sets.call("Add", {variantOf(name)}).get()));
    }

private:
    DispatchObject m_sets;
};

class ComBlockItem final : public cad::BlockItem {
public:
    explicit ComBlockItem(ComRef<IDispatch> object)
        : m_item(std::move(object), Interface::BlockItem) {}
    std::string EntityName() const override { return stringOf(m_item.get("EntityName").get()); }
    std::string TagString() const override { return stringOf(m_item.get("TagString").get()); }
    std::string PromptString() const override { return stringOf(m_item.get("PromptString").get()); }

private:
    DispatchObject m_item;
};

class ComBlock final : public cad::Block {
public:
    explicit ComBlock(ComRef<IDispatch> object) : m_block(std::move(object), Interface::Block) {}
    std::string Name() const override { return stringOf(m_block.get("Name").get()); }
    int Count() const override { return countOf(m_block); }
    std::shared_ptr<cad::BlockItem> Item(int index) const override {
        return std::make_shared<ComBlockItem>(itemOf(m_block, index));
    }

private:
    DispatchObject m_block;
};

} // namespace

std::shared_ptr<cad::Layers> layersOf(ComRef<IDispatch> object) {
    return std::make_shared<ComCollection<cad::Layers, ComLayer>>(std::move(object),
                                                                  Interface::Layers);
}

std::shared_ptr<cad::SelectionSets> selectionSetsOf(ComRef<IDispatch> object) {
    return std::make_shared<ComSelectionSets>(std::move(object));
}

std::shared_ptr<cad::Blocks> blocksOf(ComRef<IDispatch> object) {
    return std::make_shared<ComCollection<cad::Blocks, ComBlock>>(std::move(object),
                                                                  Interface::Blocks);
}

} // namespace kalvex::com
