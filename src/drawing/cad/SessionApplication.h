#pragma once

#include <functional>
#include <memory>

#include "cadlink/Application.h"
#include "drawing/cad/CadModel.h"

namespace kalvex::drawing {

// The application as one connection of the tool sees it: everything changed through it, from
// the connection to its release, is one step of the drawing's undo history.
class SessionApplication : public cad::Application {
public:
    // `viewChanged` is told when the tool moves the view.
    SessionApplication(std::shared_ptr<CadModel> model, std::function<void()> viewChanged = {});
    ~SessionApplication() override;

    WindowHandle Hwnd() override { return m_app->Hwnd(); }
    cad::DocumentPtr ActiveDocument() override { return m_app->ActiveDocument(); }
    void ZoomWindow(const cad::CadPoint& lowerLeft, const cad::CadPoint& upperRight) override {
        m_app->ZoomWindow(lowerLeft, upperRight);
        if (m_viewChanged)
            m_viewChanged();
    }

private:
    std::shared_ptr<CadModel> m_model;
    cad::ApplicationPtr m_app;
    std::function<void()> m_viewChanged;
};

} // namespace kalvex::drawing
