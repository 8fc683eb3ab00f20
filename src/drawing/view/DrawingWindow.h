#pragma once

#include <QLabel>
#include <QMainWindow>
#include <memory>

#include "cadlink/Application.h"
#include "drawing/cad/CadModel.h"
#include "drawing/view/DrawingCanvas.h"
#include "drawing/view/LayerPanel.h"
#include "drawing/view/Scene.h"
#include "drawing/view/WatchedFile.h"
#include "platform/FileDialogPort.h"
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

    enum class SaveResult { Saved, Cancelled, Failed };

    // Loads a DXF file. A file that cannot be read is reported and the current drawing stays.
    bool openFile(const QString& path);
    bool saveTo(const QString& path);
    // Saves over the file the drawing came from (the menu's 上書き保存). When another program
    // changed that file since, the user chooses between overwriting it, reading it again
    // (the changes made here are dropped) and cancelling.
    SaveResult saveCurrent();
    // Shows a drawing made in memory; `path` is where Save writes it.
    void showDrawing(std::shared_ptr<Drawing> drawing, const QString& path);
    bool isModified() const { return m_modified; }
    QString filePath() const { return m_file.path(); }
    // Where the open and save-as dialogs come from instead of Qt's own (tests); null for Qt's.
    void setFileDialogs(FileDialogPort* dialogs);

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

signals:
    // The user closed the window, after it asked about unsaved changes.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildDocumentArea();
    void attachModel(std::shared_ptr<CadModel> model);
    void recordChanged(RecordId id);
    void syncScene();
    void updateCaption();
    void showViewState();
    void tellChangedOnDisk();
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
    DrawingCanvas* m_canvas = nullptr;
    LayerPanel* m_layers = nullptr;
    WatchedFile m_file;
    QtFileDialogPort m_qtFileDialogs;
    FileDialogPort* m_fileDialogs = &m_qtFileDialogs;
    bool m_modified = false;
    bool m_syncPending = false;
    bool m_layersChanged = false;
};

} // namespace kalvex::drawing
