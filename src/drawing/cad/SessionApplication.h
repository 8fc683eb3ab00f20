#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cadlink/Application.h"
#include "drawing/cad/CadModel.h"

namespace kalvex::drawing {

// The application as one connection of the tool sees it: everything changed through it, from
// the connection to its release, is one step of the drawing's undo history.
class SessionApplication : public cad::Application {
public:
    // Finds another open drawing by its key; null when none has it.
    using ModelLookup = std::function<std::shared_ptr<CadModel>(const std::string& key)>;

    // `viewChanged` is told when the tool moves the view; `otherDrawings` finds the drawings
    // besides the active one that the connection may write into.
    SessionApplication(std::shared_ptr<CadModel> model, std::function<void()> viewChanged = {},
                       ModelLookup otherDrawings = {});
    ~SessionApplication() override;

    WindowHandle Hwnd() override { return m_app->Hwnd(); }
    cad::DocumentPtr ActiveDocument() override { return m_app->ActiveDocument(); }
    cad::DocumentPtr DocumentWithKey(const std::string& key) override;
    void ZoomWindow(const cad::CadPoint& lowerLeft, const cad::CadPoint& upperRight) override {
        m_app->ZoomWindow(lowerLeft, upperRight);
        if (m_viewChanged)
            m_viewChanged();
    }

private:
    std::shared_ptr<CadModel> m_model;
    cad::ApplicationPtr m_app;
    std::function<void()> m_viewChanged;
    ModelLookup m_otherDrawings;
    std::vector<std::shared_ptr<CadModel>> m_othersWritten; // each with an undo group open
};

} // namespace kalvex::drawing
