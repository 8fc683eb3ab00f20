#include "com/ComApplication.h"

#include <objbase.h>

#include <string>

#include "com/ComCollections.h"
#include "com/ComEntities.h"
#include "com/ComError.h"
#include "com/Dispatch.h"

namespace kalvex::com {

const CLSID kApplicationClass = {
    0x449354E9, 0xCDD8, 0x4A11, {0xBD, 0x82, 0x0D, 0x4A, 0x3C, 0x21, 0xE7, 0xD2}};
const IID kApplicationInterface = {
    0xAFAB189D, 0x226A, 0x4047, {0xB9, 0x8F, 0xCD, 0x75, 0xCE, 0x56, 0xDD, 0xE4}};

namespace {

class ComDocument final : public cad::Document {
public:
    explicit ComDocument(ComRef<IDispatch> object)
        : m_document(std::move(object), Interface::Document) {}

    std::shared_ptr<cad::Layers> GetLayers() override {
        return layersOf(objectOf(m_document.get("Layers").get()));
    }
    std::shared_ptr<cad::SelectionSets> GetSelectionSets() override {
        return selectionSetsOf(objectOf(m_document.get("SelectionSets").get()));
    }
    std::shared_ptr<cad::Blocks> GetBlocks() override {
        return blocksOf(objectOf(m_document.get("Blocks").get()));
    }
    cad::EntityPtr HandleToObject(const std::string& handle) override {
        return entityOf(objectOf(m_document.call("HandleToObject", {variantOf(handle)}).get()));
    }
    double GetVariable(const std::string& name) override {
        return doubleOf(m_document.call("GetVariable", {variantOf(name)}).get());
    }
    WindowHandle Hwnd() override { return windowHandleOf(m_document.get("HWND").get()); }
    void Regen(int viewports) override { m_document.call("Regen", {variantOf(viewports)}); }
    void StartUndoMark() override { m_document.call("StartUndoMark"); }
    // The drawing's own window tells it apart from every other drawing the CAD holds open, for
    // as long as it stays open. The CAD's handles are counters of each drawing and repeat from
    // one drawing to the next, so records written back into another drawing than the one they
    // came from would change whatever entities happen to share their handles there.
    std::string Key() override { return "window " + std::to_string(Hwnd()); }

private:
    DispatchObject m_document;
};

// DocumentWithKey stays the interface's own: the active drawing when it has the key, else none.
// Records of a drawing that is open but not active are not written: the tool never switches
// the CAD's active drawing, which the user chose and which the CAD's view and picking follow.
class ComApplication final : public cad::Application {
public:
    explicit ComApplication(ComRef<IDispatch> object)
        : m_application(std::move(object), Interface::Application) {}

    WindowHandle Hwnd() override { return windowHandleOf(m_application.get("HWND").get()); }
    cad::DocumentPtr ActiveDocument() override {
        return std::make_shared<ComDocument>(objectOf(m_application.get("ActiveDocument").get()));
    }
    void ZoomWindow(const cad::CadPoint& lowerLeft, const cad::CadPoint& upperRight) override {
        m_application.call("ZoomWindow", {variantOf(lowerLeft), variantOf(upperRight)});
    }

private:
    DispatchObject m_application;
};

} // namespace

cad::ApplicationPtr createApplication() {
    ComRef<IUnknown> application;
    HRESULT result =
        CoCreateInstance(kApplicationClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         kApplicationInterface, reinterpret_cast<void**>(application.put()));
    if (FAILED(result))
        throwCadError(result, nullptr, "the creation of the application object");
    // The application interface is dual: its members are reached through IDispatch.
    ComRef<IDispatch> dispatch;
    result = application->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put()));
    if (FAILED(result))
        throwCadError(result, nullptr, "the application object's IDispatch");
    return std::make_shared<ComApplication>(std::move(dispatch));
}

} // namespace kalvex::com
