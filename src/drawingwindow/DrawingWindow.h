#pragma once

#include <QLabel>
#include <QMainWindow>
#include <memory>
#include <string>

#include "cadlink/Application.h"
#include "drawing/cad/CadModel.h"
#include "drawingwindow/DrawingCanvas.h"
#include "drawingwindow/DrawingTab.h"
#include "platform/MessagePort.h"
#include "qtplatform/QtFileDialogPort.h"
#include "qtplatform/QtWindowSystem.h"

class QDockWidget;
class QStackedWidget;
class QTabWidget;

namespace kalvex::drawing {

// The window of the built-in drawing engine, standing in for the CAD beside the tool: it shows
// the open drawings on tabs, lets the user pick in the active one, follows the tool's zoom
// requests and keeps each drawing's undo history. The active tab is the CAD's active
// document. While it is shown the tool finds it under the CAD's window title.
class DrawingWindow : public QMainWindow, public ScreenMarkerSurface {
    Q_OBJECT
public:
    using SaveResult = DrawingTab::SaveResult;

    // `cadWindowTitle` is the title the tool looks for; the caption shows the drawing's name.
    DrawingWindow(MessagePort& messages, const QString& cadWindowTitle, QWidget* parent = nullptr);
    ~DrawingWindow() override;

    // Opens a DXF file on a tab of its own and makes it active; a file already open is made
    // active. A file that cannot be read is reported and nothing changes.
    bool openFile(const QString& path);
    // Shows a drawing made in memory on the active tab (a first tab when there is none);
    // `path` is where Save writes it.
    void showDrawing(std::shared_ptr<Drawing> drawing, const QString& path);

    // The tabs, counted from 0; -1 when none is active or no tab shows that file.
    int tabCount() const;
    int activeTab() const;
    int tabOfFile(const QString& path) const;
    QString fileOfTab(int index) const;
    void activateTab(int index);
    // Closes a tab after asking about its unsaved changes; false when the user cancelled.
    bool closeTab(int index);
    // Saves every changed drawing that has a file; false when one was not saved.
    bool saveAll();

    // The active drawing.
    bool saveTo(const QString& path);
    SaveResult saveCurrent();
    bool isModified() const;
    QString filePath() const;
    std::shared_ptr<CadModel> model() const;
    DrawingCanvas* canvas() const;
    QWidget* documentWindow() const { return activeDrawing(); }
    void undo();
    void redo();
    void setLayerLocked(const std::string& layer, bool locked);
    // The width of the layer panel, which the user may change by dragging its edge.
    int layerPanelWidth() const;
    void setLayerPanelWidth(int width);

    // A connection to the CAD: changes made through it are one undo step of each drawing they
    // touch. Null without a drawing.
    cad::ApplicationPtr connect();
    // Where picks come from instead of the user (scripts); null for the user.
    void setPicker(std::shared_ptr<EntityPicker> picker);
    // Where the open and save-as dialogs come from instead of Qt's own (tests); null for Qt's.
    void setFileDialogs(FileDialogPort* dialogs);

    std::optional<std::vector<std::string>> pickEntities(const cad::SelectionFilter& filter);
    void showScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                         PenColor color) override;

signals:
    // The user closed the window, after it asked about unsaved changes.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    DrawingTab* activeDrawing() const;
    DrawingTab* drawingAt(int index) const;
    DrawingTab* addTab();
    std::shared_ptr<CadModel> modelWithKey(const std::string& key) const;
    void buildTabs();
    void buildMenus();
    void tabActivated();
    void showSceneNotes();
    void updateCaption();
    void reload();
    void openFromDialog();
    void saveAsFromDialog();

    MessagePort& m_messages;
    QTabWidget* m_tabs = nullptr;
    QDockWidget* m_layerDock = nullptr;
    QStackedWidget* m_layerPanels = nullptr;
    std::shared_ptr<EntityPicker> m_picker;
    std::shared_ptr<EntityPicker> m_pickerOverride;
    QtFileDialogPort m_qtFileDialogs;
    FileDialogPort* m_fileDialogs = &m_qtFileDialogs;
    QLabel* m_undrawn = nullptr; // the kinds the active drawing holds but are not drawn
};

} // namespace kalvex::drawing
