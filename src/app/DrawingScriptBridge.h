#pragma once

#include <memory>

#include "drawing/cad/EntityPicker.h"
#include "drawingwindow/DrawingWindow.h"
#include "script/ScriptDrawing.h"

namespace kalvex {

// What a play script does to the drawing, carried out on the built-in drawing window: picks
// come from the script instead of the user, layers are locked and unlocked, the window is
// closed and opened, the drawing is saved and read back.
class DrawingScriptBridge : public script::ScriptDrawing {
public:
    void attach(drawing::DrawingWindow* window);

    void queuePick(const script::ScriptPick& pick) override;
    void setLayerLocked(const std::string& layer, bool locked) override;
    void setCadOpen(bool open) override;
    void save(const std::string& path) override;
    void openDrawing(const std::string& path) override;
    void activateDrawing(const std::string& which) override;
    void closeDrawing(const std::string& which) override;
    void saveAll() override;
    bool isActiveDrawing(const std::string& which) override;
    cad::CadPoint viewCentre() override;
    bool entityExists(const std::string& handle) override;
    std::string entityText(const std::string& handle) override;
    cad::CadPoint entityPoint(const std::string& handle) override;
    int countEntities(const std::string& type) override;

private:
    drawing::DrawingWindow& window() const;
    int tabNamed(const std::string& which) const;
    cad::EntityPtr entity(const std::string& handle) const;

    drawing::DrawingWindow* m_window = nullptr;
    std::shared_ptr<drawing::ScriptedPicker> m_picks = std::make_shared<drawing::ScriptedPicker>();
};

} // namespace kalvex
