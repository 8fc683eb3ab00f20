#pragma once

#include "cadlink/Application.h"
#include "cadlink/Document.h"
#include "drawing/cad/CadModel.h"

namespace kalvex::drawing {

class ModelApplication : public cad::Application {
public:
    explicit ModelApplication(std::shared_ptr<CadModel> model) : m_model(std::move(model)) {}
    WindowHandle Hwnd() override;
    cad::DocumentPtr ActiveDocument() override;
    void ZoomWindow(const cad::CadPoint& lowerLeft, const cad::CadPoint& upperRight) override;

private:
    std::shared_ptr<CadModel> m_model;
};

class ModelDocument : public cad::Document {
public:
    explicit ModelDocument(std::shared_ptr<CadModel> model) : m_model(std::move(model)) {}
    // The drawing behind the document, for callers of the built-in engine that read and write
    // its records without an interface object per entity.
    const std::shared_ptr<CadModel>& model() const { return m_model; }
    std::shared_ptr<cad::Layers> GetLayers() override;
    std::shared_ptr<cad::SelectionSets> GetSelectionSets() override;
    std::shared_ptr<cad::Blocks> GetBlocks() override;
    cad::EntityPtr HandleToObject(const std::string& handle) override;
    double GetVariable(const std::string& name) override;
    WindowHandle Hwnd() override;
    void Regen(int viewports) override;
    void StartUndoMark() override;
    std::string Key() override;
    void Activate() override;

private:
    std::shared_ptr<CadModel> m_model;
};

} // namespace kalvex::drawing
