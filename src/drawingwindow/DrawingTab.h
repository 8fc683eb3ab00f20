#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "cadlink/Application.h"
#include "drawing/cad/CadModel.h"
#include "drawingwindow/DrawingCanvas.h"
#include "drawingwindow/LayerPanel.h"
#include "drawingwindow/PromptLine.h"
#include "drawingwindow/Scene.h"
#include "drawingwindow/WatchedFile.h"
#include "platform/MessagePort.h"

namespace kalvex::drawing {

// One drawing of the drawing window, on a tab of its own: its model and scene, its canvas
// between the prompt line and the coordinate line, its layer panel, its file on disk, its
// undo history and its unsaved-changes mark.
class DrawingTab : public QWidget {
    Q_OBJECT
public:
    enum class SaveResult { Saved, Cancelled, Failed };
    // Finds another open drawing by its key, for a connection that writes into it.
    using ModelLookup = std::function<std::shared_ptr<CadModel>(const std::string& key)>;

    explicit DrawingTab(MessagePort& messages, QWidget* parent = nullptr);
    ~DrawingTab() override;

    // Loads a DXF file into this tab. A file that cannot be read is reported and the drawing
    // shown stays.
    bool load(const QString& path);
    // Reads the drawing's own file again in place of the drawing shown, which keeps its
    // identity (what the tool fetched from it still finds it) and its view; the notice of an
    // outside change goes. A file that cannot be read is reported and the drawing stays.
    bool reload();
    // Shows a drawing made in memory; `path` is where Save writes it.
    void showDrawing(std::shared_ptr<Drawing> drawing, const QString& path);
    bool saveTo(const QString& path);
    // Saves over the drawing's own file; when another program changed that file since, the
    // user chooses between overwriting it, reading it again and cancelling.
    SaveResult saveCurrent();
    // Asks about unsaved changes; false when the user cancelled.
    bool confirmDiscard();

    std::shared_ptr<CadModel> model() const { return m_model; }
    DrawingCanvas* canvas() const { return m_canvas; }
    LayerPanel* layerPanel() const { return m_layers; }
    QString filePath() const { return m_file.path(); }
    bool isModified() const { return m_modified; }
    // The file's name, or a stand-in for a drawing without a file, with the unsaved mark.
    QString title() const;

    cad::ApplicationPtr connect(const ModelLookup& otherDrawings);
    void setPicker(std::shared_ptr<EntityPicker> picker);
    void setApplicationWindow(WindowHandle window);
    void undo();
    void redo();
    // Brings the picture up to the drawing's changes now rather than at the next update.
    void applyChanges();

    // The kinds of entities the drawing holds but are not drawn, comma-separated.
    QString undrawnKinds() const;

signals:
    void titleChanged();
    void notesChanged();
    // The tool asked for this drawing to be the active one.
    void activationRequested();

private:
    void buildStrips();
    void attachModel(std::shared_ptr<CadModel> model);
    void recordChanged(RecordId id);
    void scheduleSync();
    void syncScene();
    void setModified(bool modified);
    void showViewState();
    void tellChangedOnDisk();
    void tellSelfReferencingBlocks();

    MessagePort& m_messages;
    std::shared_ptr<CadModel> m_model;
    std::unique_ptr<Scene> m_scene;
    std::shared_ptr<EntityPicker> m_picker;
    WindowHandle m_applicationWindow = 0;
    PromptLine* m_prompt = nullptr;
    QLabel* m_coordinates = nullptr;
    DrawingCanvas* m_canvas = nullptr;
    QPointer<LayerPanel> m_layers;
    WatchedFile m_file;
    bool m_modified = false;
    std::set<std::string> m_toldBlocks; // self-referencing blocks the user was told of
    // Changes reach the picture at most every so often during a long run of writes.
    QTimer m_syncTimer;
    QElapsedTimer m_sinceSync;
    bool m_layersChanged = false;
};

} // namespace kalvex::drawing
