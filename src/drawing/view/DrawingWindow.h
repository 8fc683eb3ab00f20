#pragma once

#include <QLabel>
#include <QMainWindow>
#include <memory>
#include <set>
#include <string>

#include "cadlink/Application.h"
#include "drawing/cad/CadModel.h"
#include "drawing/view/DrawingCanvas.h"
#include "drawing/view/LayerPanel.h"
#include "drawing/view/Scene.h"
#include "platform/MessagePort.h"
#include "platform/QtWindowSystem.h"

namespace kalvex::drawing {

// The window of the built-in drawing engine, standing in for the CAD beside the tool: it shows
// the drawing, lets the user pick in it, follows the tool's zoom requests and keeps the undo
// history. While it is shown the tool finds it under the CAD's window title.
class DrawingWindow : public QMainWindow, public ScreenMarkerSurface {
    Q_OBJECT
public:
    // `cadWindowTitle` is the title the tool looks for; the caption shows the drawing's name.
    DrawingWindow(MessagePort& messages, const QString& cadWindowTitle, QWidget* parent = nullptr);
    ~DrawingWindow() override;

    // Loads a DXF file. A file that cannot be read is reported and the current drawing stays.
    bool openFile(const QString& path);
    bool saveTo(const QString& path);
    // Shows a drawing made in memory; `path` is where Save writes it.
    void showDrawing(std::shared_ptr<Drawing> drawing, const QString& path);
    bool isModified() const { return m_modified; }
    QString filePath() const { return m_path; }

    std::shared_ptr<CadModel> model() const { return m_model; }
    DrawingCanvas* canvas() const { return m_canvas; }
    QWidget* documentWindow() const { return m_document; }
    // A connection to the CAD: changes made through it are one undo step. Null without a drawing.
    cad::ApplicationPtr connect();
    // Where picks come from instead of the user (scripts); null for the user.
    void setPicker(std::shared_ptr<EntityPicker> picker);
    void setLayerLocked(const std::string& layer, bool locked);

    std::optional<std::vector<std::string>> pickEntities(const cad::SelectionFilter& filter);
    void showScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                         PenColor color) override;

    void undo();
    void redo();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildDocumentArea();
    void attachModel(std::shared_ptr<CadModel> model);
    void recordChanged(RecordId id);
    void syncScene();
    void showSceneNotes();
    void updateCaption();
    void openFromDialog();
    void saveAsFromDialog();
    bool confirmDiscard();

    MessagePort& m_messages;
    std::shared_ptr<CadModel> m_model;
    std::unique_ptr<Scene> m_scene;
    std::shared_ptr<EntityPicker> m_picker;
    std::shared_ptr<EntityPicker> m_pickerOverride;
    QWidget* m_document = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_coordinates = nullptr;
    QLabel* m_undrawn = nullptr;
    std::set<std::string> m_toldBlocks; // self-referencing blocks the user was told of
    DrawingCanvas* m_canvas = nullptr;
    LayerPanel* m_layers = nullptr;
    QString m_path;
    bool m_modified = false;
    bool m_syncPending = false;
    bool m_layersChanged = false;
};

} // namespace kalvex::drawing
