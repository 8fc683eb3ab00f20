#pragma once

#include <memory>
#include <optional>

#include <QMainWindow>

#include "cadlink/CadLink.h"
#include "cadlink/MessageFilter.h"
#include "grid/TUndoCells.h"
#include "platform/ErrorReport.h"
#include "platform/Ports.h"
#include "shell/FormSettings.h"
#include "shell/TextFileCodec.h"
#include "workstate/WorkState.h"

class QComboBox;
class QLabel;
class QTabWidget;
class QTimer;

namespace kalvex {

class AttrGridHandlers;
class AttrGridPage;
class FileOpener;
class GridCommands;
class SearchHandlers;
class SearchPage;
class TextTabController;
class TextTabPage;
struct TransformDialogs;

// The tool's one always-on-top window: three tabs, a status bar of two panels and the status
// timer. It owns the work state the tabs share and the start-up and shut-down steps.
class TOrvikMainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 330;
    static constexpr int kClientHeight = 320;
    static constexpr int kStatusPanelWidths[2] = {150, 100};

    TOrvikMainForm(Ports& ports, CadLink& link, QWidget* parent = nullptr);
    ~TOrvikMainForm() override;

    WorkState& work() { return m_work; }
    ErrorReport& errorReport() { return m_errors; }
    TextTabPage& textTab() { return *m_textTab; }
    AttrGridPage& attrGridTab() { return *m_attrGridTab; }
    SearchPage& searchTab() { return *m_searchTab; }
    QTabWidget& pageControl() { return *PageControl1; }
    QLabel& statusPanel(int index) { return *m_statusPanels[index]; }
    TransformDialogs& transformDialogs() { return *m_dialogs; }
    SearchHandlers& searchHandlers() { return *m_searchHandlers; }
    AttrGridHandlers& attrGridHandlers() { return *m_attrGridHandlers; }
    // Replaces the program that opens the tag list files for editing.
    void setFileOpener(std::unique_ptr<FileOpener> opener);
    TextTabController& textController() { return *m_textController; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createWindow();
    void createStatusBar();
    void connectHandlers();

    void FormCreate();
    void FormCloseQuery();
    void FormDestroy();
    void FormResize();
    void PageControl1Change();
    void SpeedButton3Click();
    void SpeedButton5Click();
    void SpeedButton12Click();
    void connectSearchTab();
    void connectTextTab();
    void connectAttrGridTab();
    void connectTagListItems();
    FormSettings currentSettings() const;
    void Timer1Timer();

    void clearStartTexts();
    FormSettings readSettings() const;
    void applySettings(const FormSettings& settings);
    void placeWindow(const FormSettings& settings);
    void applySearchInputCase();
    void loadTagLists(const FormSettings& settings);

    WorkState m_work;
    Ports& m_ports;
    ErrorReport m_errors;
    CadLink& m_link;
    TMessageFilter m_messageFilter;
    TUndoCells FUndoCells;
    std::optional<TextEncoding> m_tagListEncoding; // how the tag list file was read, if it was

    QTabWidget* PageControl1;
    TextTabPage* m_textTab;
    AttrGridPage* m_attrGridTab;
    SearchPage* m_searchTab;
    QLabel* m_statusPanels[2];
    QTimer* Timer1;
    std::unique_ptr<TransformDialogs> m_dialogs;
    std::unique_ptr<SearchHandlers> m_searchHandlers;
    std::unique_ptr<TextTabController> m_textController;
    std::unique_ptr<AttrGridHandlers> m_attrGridHandlers;
    std::unique_ptr<GridCommands> m_gridCommands;
    std::unique_ptr<FileOpener> m_fileOpener;
};

} // namespace kalvex
