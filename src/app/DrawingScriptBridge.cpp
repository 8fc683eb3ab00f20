#include "app/DrawingScriptBridge.h"

#include <stdexcept>

#include <QFileInfo>

#include "cadlink/AttributeReference.h"
#include "cadlink/Text.h"

namespace kalvex {

void DrawingScriptBridge::attach(drawing::DrawingWindow* window) {
    m_window = window;
    m_window->setPicker(m_picks);
}

drawing::DrawingWindow& DrawingScriptBridge::window() const {
    if (!m_window || !m_window->model())
        throw std::runtime_error("no drawing is open");
    return *m_window;
}

void DrawingScriptBridge::queuePick(const script::ScriptPick& pick) {
    if (pick.kind == script::ScriptPick::Kind::Cancel)
        m_picks->addCancel();
    else
        m_picks->addPick(pick.handles);
}

void DrawingScriptBridge::setLayerLocked(const std::string& layer, bool locked) {
    window().setLayerLocked(layer, locked);
}

void DrawingScriptBridge::setCadOpen(bool open) {
    // Hiding the window is closing it as far as the tool can tell, without the question
    // about unsaved changes.
    window().setVisible(open);
}

// A save the user's answer cancelled is no error: the script's checks tell what happened.
void DrawingScriptBridge::save(const std::string& path) {
    if (path.empty()) {
        if (window().saveCurrent() == drawing::DrawingWindow::SaveResult::Failed)
            throw std::runtime_error("the drawing could not be saved");
        return;
    }
    if (!window().saveTo(QString::fromStdString(path)))
        throw std::runtime_error("the drawing could not be saved to " + path);
}

void DrawingScriptBridge::openDrawing(const std::string& path) {
    // A file that cannot be read is reported by the window; the script checks the message.
    m_window->openFile(QString::fromStdString(path));
}

// A number counts the tabs from 1; anything else names a drawing's file, by its path or by
// its name alone.
int DrawingScriptBridge::tabNamed(const std::string& which) const {
    const QString text = QString::fromStdString(which);
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber && number >= 1 && number <= m_window->tabCount())
        return number - 1;
    if (!isNumber) {
        if (const int index = m_window->tabOfFile(text); index >= 0)
            return index;
        for (int index = 0; index < m_window->tabCount(); ++index) {
            if (QFileInfo(m_window->fileOfTab(index)).fileName() == text)
                return index;
        }
    }
    throw std::runtime_error("no open drawing is " + which);
}

void DrawingScriptBridge::activateDrawing(const std::string& which) {
    m_window->activateTab(tabNamed(which));
}

// Cancelled by the answer to the question about unsaved changes, the tab stays: no error.
void DrawingScriptBridge::closeDrawing(const std::string& which) {
    m_window->closeTab(tabNamed(which));
}

void DrawingScriptBridge::saveAll() {
    if (!m_window->saveAll())
        throw std::runtime_error("not every drawing could be saved");
}

bool DrawingScriptBridge::isActiveDrawing(const std::string& which) {
    return tabNamed(which) == m_window->activeTab();
}

cad::CadPoint DrawingScriptBridge::viewCentre() {
    const drawing::ViewState& view = window().model()->view();
    return cad::CadPoint(view.centerX(), view.centerY(), 0);
}

cad::EntityPtr DrawingScriptBridge::entity(const std::string& handle) const {
    return window().model()->application()->ActiveDocument()->HandleToObject(handle);
}

bool DrawingScriptBridge::entityExists(const std::string& handle) {
    try {
        return entity(handle) != nullptr;
    } catch (const cad::CadError&) {
        return false;
    }
}

std::string DrawingScriptBridge::entityText(const std::string& handle) {
    const cad::EntityPtr e = entity(handle);
    if (auto text = std::dynamic_pointer_cast<cad::Text>(e))
        return text->TextString();
    return cad::entityAs<cad::AttributeReference>(e)->TextString();
}

cad::CadPoint DrawingScriptBridge::entityPoint(const std::string& handle) {
    const cad::EntityPtr e = entity(handle);
    if (auto text = std::dynamic_pointer_cast<cad::Text>(e))
        return text->Alignment() == 0 ? text->InsertionPoint() : text->TextAlignmentPoint();
    auto attribute = cad::entityAs<cad::AttributeReference>(e);
    return attribute->Alignment() == 0 ? attribute->InsertionPoint()
                                       : attribute->TextAlignmentPoint();
}

int DrawingScriptBridge::countEntities(const std::string& type) {
    const drawing::Drawing& d = window().model()->drawing();
    int count = 0;
    for (drawing::RecordId id : d.modelSpace())
        count += d.typeName(id) == type ? 1 : 0;
    return count;
}

} // namespace kalvex
