// Wrappers of the application, the document and its collections: layers, selection sets and
// block definitions.
#include "kit/FaultyObjects.h"

namespace kalvex::testing {
namespace {

class FaultyApplication final : public Faulty<cad::Application> {
public:
    using Faulty::Faulty;
    WindowHandle Hwnd() override { return pass("Hwnd", &cad::Application::Hwnd); }
    cad::DocumentPtr ActiveDocument() override {
        return pass("ActiveDocument", &cad::Application::ActiveDocument);
    }
    void ZoomWindow(const cad::CadPoint& lowerLeft, const cad::CadPoint& upperRight) override {
        pass("ZoomWindow", &cad::Application::ZoomWindow, lowerLeft, upperRight);
    }
    cad::DocumentPtr DocumentWithKey(const std::string& key) override {
        return pass("DocumentWithKey", &cad::Application::DocumentWithKey, key);
    }
};

class FaultyDocument final : public Faulty<cad::Document> {
public:
    using Faulty::Faulty;
    using D = cad::Document;
    std::shared_ptr<cad::Layers> GetLayers() override { return pass("GetLayers", &D::GetLayers); }
    std::shared_ptr<cad::SelectionSets> GetSelectionSets() override {
        return pass("GetSelectionSets", &D::GetSelectionSets);
    }
    std::shared_ptr<cad::Blocks> GetBlocks() override { return pass("GetBlocks", &D::GetBlocks); }
    cad::EntityPtr HandleToObject(const std::string& handle) override {
        return passOn(handle, "HandleToObject", &D::HandleToObject, handle);
    }
    double GetVariable(const std::string& name) override {
        return pass("GetVariable", &D::GetVariable, name);
    }
    WindowHandle Hwnd() override { return pass("DocumentHwnd", &D::Hwnd); }
    void Regen(int viewports) override { pass("Regen", &D::Regen, viewports); }
    void StartUndoMark() override { pass("StartUndoMark", &D::StartUndoMark); }
    std::string Key() override { return pass("Key", &D::Key); }
};

class FaultyLayer final : public Faulty<cad::Layer> {
public:
    using Faulty::Faulty;
    std::string Name() const override { return pass("LayerName", &cad::Layer::Name); }
    bool Lock() const override { return pass("Lock", &cad::Layer::Lock); }
};

class FaultyLayers final : public Faulty<cad::Layers> {
public:
    using Faulty::Faulty;
    int Count() const override { return pass("LayersCount", &cad::Layers::Count); }
    std::shared_ptr<cad::Layer> Item(int index) const override {
        return pass("LayersItem", &cad::Layers::Item, index);
    }
};

class FaultySelectionSet final : public Faulty<cad::SelectionSet> {
public:
    using Faulty::Faulty;
    using S = cad::SelectionSet;
    std::string Name() const override { return pass("SelectionSetName", &S::Name); }
    int Count() const override { return pass("SelectionSetCount", &S::Count); }
    cad::EntityPtr Item(int index) const override {
        return pass("SelectionSetItem", &S::Item, index);
    }
    void Clear() override { pass("Clear", &S::Clear); }
    void Delete() override { pass("SelectionSetDelete", &S::Delete); }
    void SelectOnScreen(const cad::SelectionFilter& filter) override {
        pass("SelectOnScreen", &S::SelectOnScreen, filter);
    }
    void Select(Mode mode, const cad::SelectionFilter& filter) override {
        pass("Select", &S::Select, mode, filter);
    }
};

class FaultySelectionSets final : public Faulty<cad::SelectionSets> {
public:
    using Faulty::Faulty;
    using S = cad::SelectionSets;
    int Count() const override { return pass("SelectionSetsCount", &S::Count); }
    cad::SelectionSetPtr Item(int index) const override {
        return pass("SelectionSetsItem", &S::Item, index);
    }
    cad::SelectionSetPtr Add(const std::string& name) override {
        return pass("Add", &S::Add, name);
    }
};

class FaultyBlockItem final : public Faulty<cad::BlockItem> {
public:
    using Faulty::Faulty;
    using I = cad::BlockItem;
    std::string EntityName() const override { return pass("EntityName", &I::EntityName); }
    std::string TagString() const override { return pass("TagString", &I::TagString); }
    std::string PromptString() const override { return pass("PromptString", &I::PromptString); }
};

class FaultyBlock final : public Faulty<cad::Block> {
public:
    using Faulty::Faulty;
    std::string Name() const override { return pass("BlockName", &cad::Block::Name); }
    int Count() const override { return pass("BlockCount", &cad::Block::Count); }
    std::shared_ptr<cad::BlockItem> Item(int index) const override {
        return pass("BlockItem", &cad::Block::Item, index);
    }
};

class FaultyBlocks final : public Faulty<cad::Blocks> {
public:
    using Faulty::Faulty;
    int Count() const override { return pass("BlocksCount", &cad::Blocks::Count); }
    std::shared_ptr<cad::Block> Item(int index) const override {
        return pass("BlocksItem", &cad::Blocks::Item, index);
    }
};

} // namespace

cad::ApplicationPtr withFaults(cad::ApplicationPtr application,
                               std::shared_ptr<FaultInjector> faults) {
    return wrapIn<FaultyApplication>(std::move(application), faults);
}

cad::DocumentPtr wrapped(cad::DocumentPtr document, const FaultsPtr& faults) {
    return wrapIn<FaultyDocument>(std::move(document), faults);
}

std::shared_ptr<cad::Layers> wrapped(std::shared_ptr<cad::Layers> layers, const FaultsPtr& faults) {
    return wrapIn<FaultyLayers>(std::move(layers), faults);
}

std::shared_ptr<cad::Layer> wrapped(std::shared_ptr<cad::Layer> layer, const FaultsPtr& faults) {
    return wrapIn<FaultyLayer>(std::move(layer), faults);
}

std::shared_ptr<cad::SelectionSets> wrapped(std::shared_ptr<cad::SelectionSets> sets,
                                            const FaultsPtr& faults) {
    return wrapIn<FaultySelectionSets>(std::move(sets), faults);
}

cad::SelectionSetPtr wrapped(cad::SelectionSetPtr set, const FaultsPtr& faults) {
    return wrapIn<FaultySelectionSet>(std::move(set), faults);
}

std::shared_ptr<cad::Blocks> wrapped(std::shared_ptr<cad::Blocks> blocks, const FaultsPtr& faults) {
    return wrapIn<FaultyBlocks>(std::move(blocks), faults);
}

std::shared_ptr<cad::Block> wrapped(std::shared_ptr<cad::Block> block, const FaultsPtr& faults) {
    return wrapIn<FaultyBlock>(std::move(block), faults);
}

std::shared_ptr<cad::BlockItem> wrapped(std::shared_ptr<cad::BlockItem> item,
                                        const FaultsPtr& faults) {
    return wrapIn<FaultyBlockItem>(std::move(item), faults);
}

} // namespace kalvex::testing
