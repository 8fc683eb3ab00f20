#include "drawing/cad/ModelApplication.h"

#include "drawing/cad/ModelCollections.h"
#include "drawing/cad/ModelSelectionSets.h"

namespace kalvex::drawing {

WindowHandle ModelApplication::Hwnd() {
    return m_model->applicationWindow();
}

cad::DocumentPtr ModelApplication::ActiveDocument() {
    return std::make_shared<ModelDocument>(m_model);
}

void ModelApplication::ZoomWindow(const cad::CadPoint& lowerLeft, const cad::CadPoint& upperRight) {
    m_model->view().zoomWindow(lowerLeft, upperRight);
}

std::shared_ptr<cad::Layers> ModelDocument::GetLayers() {
    return std::make_shared<ModelLayers>(m_model);
}

std::shared_ptr<cad::SelectionSets> ModelDocument::GetSelectionSets() {
    return std::make_shared<ModelSelectionSets>(m_model);
}

std::shared_ptr<cad::Blocks> ModelDocument::GetBlocks() {
    return std::make_shared<ModelBlocks>(m_model);
}

cad::EntityPtr ModelDocument::HandleToObject(const std::string& handle) {
    return m_model->entity(m_model->recordOfHandle(handle));
}

double ModelDocument::GetVariable(const std::string& name) {
    if (foldCadName(name) == foldCadName("VIEWSIZE"))
        return m_model->view().height();
    throw cad::CadError("Unknown system variable \"" + name + "\".");
}

WindowHandle ModelDocument::Hwnd() {
    return m_model->documentWindow();
}

void ModelDocument::Regen(int) {
    m_model->countRegen();
}

std::string ModelDocument::Key() {
    return m_model->key();
}

void ModelDocument::Activate() {
    m_model->activate();
}

void ModelDocument::StartUndoMark() {
    m_model->drawing().undoLog().startGroup();
}

} // namespace kalvex::drawing
