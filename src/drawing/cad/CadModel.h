#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "cadlink/Application.h"
#include "cadlink/SelectionFilter.h"
#include "drawing/cad/EntityPicker.h"
#include "drawing/cad/ViewState.h"
#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

struct SelectionSetData {
    std::string name;
    std::vector<RecordId> items; // in the order they were added
    bool deleted = false;
    // Marks the ids the set holds, for adding each only once: one bit a record of the drawing
    // (a sixteenth of a hash set's node for each id a search of every TEXT adds).
    std::vector<bool> members;
};

// A drawing opened as the CAD would hold it: the drawing itself plus what the CAD keeps
// beside it (the view, window handles, named selection sets, the on-screen picker). The CAD
// interface objects all share one CadModel.
class CadModel : public std::enable_shared_from_this<CadModel> {
public:
    static std::shared_ptr<CadModel> create(std::shared_ptr<Drawing> drawing);
    // The drawing read again from its file: it keeps the key of the one it replaces, so that
    // what the tool fetched from that drawing still finds it.
    static std::shared_ptr<CadModel> create(std::shared_ptr<Drawing> drawing, std::string key);

    // Tells this drawing apart from the others open in the process, as long as it lives.
    const std::string& key() const { return m_key; }

    Drawing& drawing() { return *m_drawing; }
    const Drawing& drawing() const { return *m_drawing; }
    std::shared_ptr<Drawing> sharedDrawing() const { return m_drawing; }

    // The application as the tool's connection hands it out.
    cad::ApplicationPtr application();

    ViewState& view() { return m_view; }
    WindowHandle applicationWindow() const { return m_applicationWindow; }
    void setApplicationWindow(WindowHandle window) { m_applicationWindow = window; }
    WindowHandle documentWindow() const { return m_documentWindow; }
    void setDocumentWindow(WindowHandle window) { m_documentWindow = window; }
    int regenCount() const { return m_regenCount; }
    void countRegen() { ++m_regenCount; }
    void setPicker(std::shared_ptr<EntityPicker> picker) { m_picker = std::move(picker); }
    EntityPicker* picker() const { return m_picker.get(); }
    std::vector<std::shared_ptr<SelectionSetData>>& selectionSets() { return m_selectionSets; }
    // What brings this drawing to the front among the open ones (its tab), as the CAD shows a
    // drawing it is told to activate.
    void setActivator(std::function<void()> activate) { m_activate = std::move(activate); }
    void activate() {
        if (m_activate)
            m_activate();
    }

    // Used by the interface objects.
    RecordId recordOfHandle(const std::string& handle) const; // throws CadError
    void requireLive(RecordId id) const;                      // throws for an erased entity
    void requireUnlocked(RecordId id);                        // throws for a locked layer
    bool isLayerLocked(const std::string& layerName);
    cad::EntityPtr entity(RecordId id);
    bool matchesFilter(RecordId id, const cad::SelectionFilter& filter) const;

private:
    CadModel(std::shared_ptr<Drawing> drawing, std::string key);

    std::shared_ptr<Drawing> m_drawing;
    std::string m_key;
    ViewState m_view;
    WindowHandle m_applicationWindow = 0;
    WindowHandle m_documentWindow = 0;
    int m_regenCount = 0;
    std::shared_ptr<EntityPicker> m_picker;
    std::function<void()> m_activate;
    std::vector<std::shared_ptr<SelectionSetData>> m_selectionSets;
    std::unordered_map<std::string, RecordId> m_layerByName; // case-folded name
    std::size_t m_indexedLayers = 0;
};

// Case-insensitive comparison of CAD names (layers, blocks, selection sets).
std::string foldCadName(const std::string& name);

} // namespace kalvex::drawing
