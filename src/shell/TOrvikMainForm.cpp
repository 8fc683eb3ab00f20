#include "shell/TOrvikMainForm.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "attrgrid/AttrGridHandlers.h"
#include "attrgrid/AttrGridPage.h"
#include "attrgrid/GridPopupMenu.h"
#include "cadlink/Connection.h"
#include "qtplatform/QtWindowSystem.h"
#include "search/SearchHandlers.h"
#include "search/SearchPage.h"
#include "shell/FileOpener.h"
#include "shell/IniFile.h"
#include "shell/ProgramFiles.h"
#include "shell/TagListSelection.h"
#include "shell/TagLists.h"
#include "texttab/LineEditor.h"
#include "texttab/TextTabController.h"
#include "texttab/TextTabPage.h"
#include "transform/GridCommands.h"
#include "transform/MenuWiring.h"
#include "transform/TransformDialogs.h"
#include "widgets/Controls.h"
#include "widgets/StringGrid.h"
#include "workstate/RunFlag.h"

namespace kalvex {

namespace {

constexpr int kFormFontPixels = 12;
constexpr int kTimerInterval = 200;
constexpr int kFixedColumnWidth = 30;
constexpr char kTargetProgId[] = "nanoCAD.Application.5.0";

} // namespace

TOrvikMainForm::TOrvikMainForm(Ports& ports, CadLink& link, QWidget* parent)
    : QMainWindow(parent), m_ports(ports), m_errors(ports.messages), m_link(link) {
    createWindow();
    createStatusBar();
    connectHandlers();
    connectSearchTab();
    FormCreate();
    // The dialogs of the editing aids come after the window and stay hidden until used.
    m_dialogs = std::make_unique<TransformDialogs>(m_ports.messages);
    connectTextTab();
    connectAttrGridTab();
}

TOrvikMainForm::~TOrvikMainForm() {
    FormDestroy();
}

// Title bar with the system menu and minimise only; always on top of other windows. The size
// is fixed: window managers that offer maximising for any resizable window (openbox) then
// offer it here neither.
void TOrvikMainForm::createWindow() {
    setObjectName(QStringLiteral("TOrvikMainForm"));
    setWindowTitle(QStringLiteral("Kalvex 2.3C [ nanoCAD 5 ]"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFont(formFont(kFormFontPixels));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    m_textTab = new TextTabPage(PageControl1);
    m_attrGridTab = new AttrGridPage(PageControl1);
    m_searchTab = new SearchPage(PageControl1);
    PageControl1->addTab(m_textTab, QStringLiteral("TEXT, 属性編集"));
    PageControl1->addTab(m_attrGridTab, QStringLiteral(" 属性編集"));
    PageControl1->addTab(m_searchTab, QStringLiteral("TEXT 検索・編集"));
    setCentralWidget(PageControl1);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTimerInterval);
    Timer1->start();
    setFixedSize(kClientWidth, kClientHeight);
}

void TOrvikMainForm::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    for (int index = 0; index < 2; ++index) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusBar1.%1").arg(index));
        panel->setFixedWidth(kStatusPanelWidths[index]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        bar->addWidget(panel);
        m_statusPanels[index] = panel;
    }
}

void TOrvikMainForm::connectHandlers() {
    connect(PageControl1, &QTabWidget::currentChanged, this,
            m_errors.guarded([this] { PageControl1Change(); }));
    connect(m_textTab->SpeedButton3, &QPushButton::clicked, this,
            m_errors.guarded([this] { SpeedButton3Click(); }));
    connect(m_textTab->SpeedButton5, &QPushButton::clicked, this,
            m_errors.guarded([this] { SpeedButton5Click(); }));
    connect(m_attrGridTab->SpeedButton12, &QPushButton::clicked, this,
            m_errors.guarded([this] { SpeedButton12Click(); }));
}

void TOrvikMainForm::connectSearchTab() {
    m_searchHandlers = std::make_unique<SearchHandlers>(
        SearchContext{*m_searchTab, m_work, m_link, m_ports, m_errors, *m_statusPanels[0],
                      *m_statusPanels[1], [this] { return PageControl1->currentIndex() == 2; }});
}

void TOrvikMainForm::FormCreate() {
    m_work.TargetProgID = kTargetProgId;
    m_work.startCol = -1;
    m_work.startRow = -1;
    clearStartTexts();
    m_attrGridTab->StringGrid1->setColumnWidth(0, kFixedColumnWidth);
    PageControl1->setCurrentIndex(0);
    m_searchTab->fitGridColumn();
    m_link.toolWindow = QtWindowSystem::handleOf(this);
    m_link.MonitorScalePercent = ReadMonitorScale(m_link.windows);
    m_textTab->SynEdit1->clear();
    const FormSettings settings = readSettings();
    applySettings(settings);
    applySearchInputCase();
    loadTagLists(settings);
    m_messageFilter.RegisterFilter();
}

void TOrvikMainForm::clearStartTexts() {
    m_textTab->Edit1->clear();
    m_textTab->Edit2->clear();
    m_textTab->Label1->clear();
    m_textTab->Label2->clear();
    m_attrGridTab->Label5->clear();
    m_searchTab->Label6->clear();
}

FormSettings TOrvikMainForm::readSettings() const {
    return readFormSettings(IniFile::load(settingsFilePath()));
}

void TOrvikMainForm::applySettings(const FormSettings& settings) {
    placeWindow(settings);
    m_textTab->CheckBox1->setChecked(settings.Sort);
    m_attrGridTab->CheckBox2->setChecked(settings.Cursor);
    m_searchTab->CheckBox3->setChecked(settings.Sentou);
    m_searchTab->CheckBox4->setChecked(settings.UpperCase);
    m_searchTab->CheckBox5->setChecked(settings.Enter);
    m_attrGridTab->CheckBox6->setChecked(settings.ZoomCenter);
    m_attrGridTab->CheckBox7->setChecked(settings.AttEnter);
    m_searchTab->CheckBox8->setChecked(settings.AttEnterDown);
    m_textTab->CheckBox9->setChecked(settings.ZoomCenter2);
}

// A stored position is taken as it is, even partly off the screen; without one the window
// is centred on the screen.
void TOrvikMainForm::placeWindow(const FormSettings& settings) {
    const QRect available = screen()->geometry();
    const QSize size = frameGeometry().size();
    const int left =
        settings.Left.value_or(available.left() + (available.width() - size.width()) / 2);
    const int top =
        settings.Top.value_or(available.top() + (available.height() - size.height()) / 2);
    move(left, top);
}

void TOrvikMainForm::applySearchInputCase() {
    m_searchTab->setSearchInputCase(m_searchTab->CheckBox4->isChecked() ? InputCase::Upper
                                                                        : InputCase::Normal);
}

// A list file replaces the box's built-in entries, blank lines included.
void TOrvikMainForm::loadTagLists(const FormSettings& settings) {
    m_tagListEncoding = loadTagList(*m_textTab->ComboBox1, programFilePath(kTagListFile));
    loadTagList(*m_attrGridTab->ComboBox2, programFilePath(kTagSetListFile));
    selectStoredIndex(*m_textTab->ComboBox1, settings.AttTagIndex1);
    selectStoredIndex(*m_attrGridTab->ComboBox2, settings.AttTagIndex2);
}

void TOrvikMainForm::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    event->accept();
}

// Closing is never refused. A settings file that cannot be written is not reported; a tag
// list that cannot be written is, since the user's entries would be lost.
void TOrvikMainForm::FormCloseQuery() {
    const QString path = settingsFilePath();
    IniFile file = IniFile::load(path);
    writeFormSettings(file, currentSettings(), QString::fromStdString(m_work.TargetProgID));
    file.save(path);
    saveTagList(*m_textTab->ComboBox1, programFilePath(kTagListFile), m_tagListEncoding,
                m_ports.messages);
}

FormSettings TOrvikMainForm::currentSettings() const {
    FormSettings s;
    s.Left = x();
    s.Top = y();
    s.Sort = m_textTab->CheckBox1->isChecked();
    s.AttTag = m_textTab->ComboBox1->currentText();
    s.AttTagIndex2 = m_attrGridTab->ComboBox2->currentIndex();
    s.Cursor = m_attrGridTab->CheckBox2->isChecked();
    s.AttTagIndex1 = m_textTab->ComboBox1->currentIndex();
    s.Sentou = m_searchTab->CheckBox3->isChecked();
    s.UpperCase = m_searchTab->CheckBox4->isChecked();
    s.Enter = m_searchTab->CheckBox5->isChecked();
    s.ZoomCenter = m_attrGridTab->CheckBox6->isChecked();
    s.AttEnter = m_attrGridTab->CheckBox7->isChecked();
    s.AttEnterDown = m_searchTab->CheckBox8->isChecked();
    s.ZoomCenter2 = m_textTab->CheckBox9->isChecked();
    return s;
}

void TOrvikMainForm::FormDestroy() {
    m_messageFilter.RevokeFilter();
}

void TOrvikMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TOrvikMainForm::FormResize() {
    m_searchTab->fitGridColumn();
}

void TOrvikMainForm::PageControl1Change() {
    for (QLabel* panel : m_statusPanels)
        panel->clear();
}

void TOrvikMainForm::SpeedButton3Click() {
    m_textTab->SynEdit1->selectAll();
}

void TOrvikMainForm::SpeedButton5Click() {
    abortRun(m_work.runFlag);
    m_textTab->SpeedButton5->setEnabled(false);
}

void TOrvikMainForm::SpeedButton12Click() {
    abortRun(m_work.runFlag);
}

void TOrvikMainForm::connectTextTab() {
    const TextTabContext context{*m_textTab,        m_work,           m_link, m_ports.messages,
                                 m_statusPanels[0], m_statusPanels[1]};
    m_textController = std::make_unique<TextTabController>(context, m_errors, *m_dialogs, m_ports);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

// The timer stands still while a tick runs; on the other tabs it does nothing.
void TOrvikMainForm::Timer1Timer() {
    if (PageControl1->currentIndex() != 0)
        return;
    Timer1->stop();
    m_errors.run([this] { m_textController->Timer1Timer(); });
    Timer1->start();
}

void TOrvikMainForm::connectAttrGridTab() {
    m_attrGridHandlers = std::make_unique<AttrGridHandlers>(AttrGridContext{
        *m_attrGridTab, m_work, m_link, m_ports, m_errors, FUndoCells, *m_statusPanels[0],
        *m_statusPanels[1], *m_textTab->Label1, *m_textTab->Label2});
    m_gridCommands = std::make_unique<GridCommands>(
        GridTarget{*m_attrGridTab->StringGrid1, m_attrGridHandlers->cellUndo(), m_work}, *m_dialogs,
        m_ports);
    connectGridMenu(*m_attrGridTab->PopupMenu2, *m_gridCommands, m_errors);
    m_fileOpener = std::make_unique<DesktopFileOpener>();
    connectTagListItems();
}

void TOrvikMainForm::setFileOpener(std::unique_ptr<FileOpener> opener) {
    m_fileOpener = std::move(opener);
}

// The edit and reload items of both popup menus, each for its own list file and box.
void TOrvikMainForm::connectTagListItems() {
    struct Item {
        QWidget* menuOwner;
        const char* edit;
        const char* reload;
        QComboBox* box;
        QString file;
    };
    const Item items[] = {
        {m_attrGridTab, "AG1", "AG2", m_attrGridTab->ComboBox2, kTagSetListFile},
        {m_textTab, "AG3", "AG4", m_textTab->ComboBox1, kTagListFile},
    };
    for (const Item& item : items) {
        const QString file = item.file;
        QComboBox* box = item.box;
        if (auto* edit = item.menuOwner->findChild<QAction*>(QString::fromLatin1(item.edit)))
            connect(edit, &QAction::triggered, this, m_errors.guarded([this, file] {
                editTagList(programFilePath(file), *m_fileOpener, m_ports.messages);
            }));
        if (auto* reload = item.menuOwner->findChild<QAction*>(QString::fromLatin1(item.reload)))
            connect(reload, &QAction::triggered, this, m_errors.guarded([this, file, box] {
                reloadTagList(*box, programFilePath(file), m_ports.messages);
            }));
    }
}

} // namespace kalvex
