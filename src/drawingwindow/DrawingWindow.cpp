#include "drawingwindow/DrawingWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>

#include "drawingwindow/LayerLocking.h"

namespace kalvex::drawing {

namespace {

// Picks through the window for as long as it exists.
class WindowPicker : public EntityPicker {
public:
    explicit WindowPicker(DrawingWindow* window) : m_window(window) {}
    std::optional<std::vector<std::string>> pick(const cad::SelectionFilter& filter) override {
        return m_window ? m_window->pickEntities(filter) : std::nullopt;
    }

private:
    QPointer<DrawingWindow> m_window;
};

constexpr int kLayerPanelWidth = 140;
constexpr int kNarrowestLayerPanel = 100;
constexpr int kWidestLayerPanel = 600;

bool sameFile(const QString& a, const QString& b) {
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

DrawingWindow::DrawingWindow(MessagePort& messages, const QString& cadWindowTitle, QWidget* parent)
    : QMainWindow(parent), m_messages(messages) {
    setObjectName(QStringLiteral("DrawingWindow"));
    // The tool looks for the CAD by this title, whatever the caption shows.
    setProperty("cadWindowTitle", cadWindowTitle);
    m_picker = std::make_shared<WindowPicker>(this);
    buildTabs();
    buildMenus();
    m_undrawn = new QLabel(this);
    m_undrawn->setObjectName(QStringLiteral("UndrawnObjects"));
    statusBar()->addWidget(m_undrawn, 1);
    resize(960, 680);
    updateCaption();
}

DrawingWindow::~DrawingWindow() {
    while (m_tabs->count() > 0)
        delete m_tabs->widget(0);
}

// The drawings on tabs in the middle; each one's layer panel in the dock, the active one shown.
void DrawingWindow::buildTabs() {
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("DrawingTabs"));
    m_tabs->setTabsClosable(true);
    m_tabs->setDocumentMode(true);
    setCentralWidget(m_tabs);
    m_layerDock = new QDockWidget(QStringLiteral("画層 (チェック = ロック)"), this);
    m_layerDock->setObjectName(QStringLiteral("LayerDock"));
    m_layerPanels = new QStackedWidget(m_layerDock);
    // The user widens the panel by its edge to read long layer names.
    m_layerPanels->setMinimumWidth(kNarrowestLayerPanel);
    m_layerPanels->setMaximumWidth(kWidestLayerPanel);
    m_layerDock->setWidget(m_layerPanels);
    m_layerDock->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::RightDockWidgetArea, m_layerDock);
    // The drawing gets the room; most layer names need little.
    setLayerPanelWidth(kLayerPanelWidth);
    QObject::connect(m_tabs, &QTabWidget::currentChanged, this, &DrawingWindow::tabActivated);
    QObject::connect(m_tabs, &QTabWidget::tabCloseRequested, this,
                     [this](int index) { closeTab(index); });
}

int DrawingWindow::layerPanelWidth() const {
    return m_layerDock->width();
}

void DrawingWindow::setLayerPanelWidth(int width) {
    resizeDocks({m_layerDock}, {std::clamp(width, kNarrowestLayerPanel, kWidestLayerPanel)},
                Qt::Horizontal);
}

void DrawingWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("開く(&O)..."), QKeySequence::Open, this,
                    &DrawingWindow::openFromDialog);
    file->addAction(QStringLiteral("上書き保存(&S)"), QKeySequence::Save, this,
                    [this] { saveCurrent(); });
    file->addAction(QStringLiteral("名前を付けて保存(&A)..."), QKeySequence::SaveAs, this,
                    &DrawingWindow::saveAsFromDialog);
    file->addAction(QStringLiteral("すべて保存(&L)"), this, [this] { saveAll(); });
    file->addAction(QStringLiteral("再読み込み(&R)"), QKeySequence::Refresh, this,
                    &DrawingWindow::reload)
        ->setObjectName(QStringLiteral("ReloadItem"));
    file->addSeparator();
    file->addAction(QStringLiteral("図面を閉じる(&W)"), QKeySequence::Close, this,
                    [this] { closeTab(activeTab()); });
    file->addAction(QStringLiteral("閉じる(&C)"), this, &QWidget::close);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    // The items scripts choose are named.
    edit->addAction(QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z), this,
                    &DrawingWindow::undo)
        ->setObjectName(QStringLiteral("UndoItem"));
    edit->addAction(QStringLiteral("やり直し(&R)"), QKeySequence(Qt::CTRL | Qt::Key_Y), this,
                    &DrawingWindow::redo)
        ->setObjectName(QStringLiteral("RedoItem"));
    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->addAction(QStringLiteral("全体表示(&E)"), QKeySequence(Qt::Key_Home), this, [this] {
        if (DrawingCanvas* c = canvas())
            c->zoomExtents();
    });
}

DrawingTab* DrawingWindow::drawingAt(int index) const {
    return qobject_cast<DrawingTab*>(m_tabs->widget(index));
}

DrawingTab* DrawingWindow::activeDrawing() const {
    return drawingAt(m_tabs->currentIndex());
}

DrawingTab* DrawingWindow::addTab() {
    auto* tab = new DrawingTab(m_messages);
    tab->setPicker(m_pickerOverride ? m_pickerOverride : m_picker);
    tab->setApplicationWindow(QtWindowSystem::handleOf(this));
    m_layerPanels->addWidget(tab->layerPanel());
    QObject::connect(tab, &DrawingTab::titleChanged, this, [this, tab] {
        m_tabs->setTabText(m_tabs->indexOf(tab), tab->title());
        updateCaption();
    });
    QObject::connect(tab, &DrawingTab::notesChanged, this, &DrawingWindow::showSceneNotes);
    QObject::connect(tab, &DrawingTab::activationRequested, this,
                     [this, tab] { activateTab(m_tabs->indexOf(tab)); });
    m_tabs->addTab(tab, tab->title());
    return tab;
}

bool DrawingWindow::openFile(const QString& path) {
    if (const int open = tabOfFile(path); open >= 0) {
        activateTab(open);
        return true;
    }
    DrawingTab* tab = addTab();
    if (!tab->load(path)) {
        delete tab;
        return false;
    }
    activateTab(m_tabs->indexOf(tab));
    return true;
}

void DrawingWindow::showDrawing(std::shared_ptr<Drawing> drawing, const QString& path) {
    DrawingTab* tab = activeDrawing() ? activeDrawing() : addTab();
    tab->showDrawing(std::move(drawing), path);
}

int DrawingWindow::tabCount() const {
    return m_tabs->count();
}

int DrawingWindow::activeTab() const {
    return m_tabs->currentIndex();
}

int DrawingWindow::tabOfFile(const QString& path) const {
    for (int index = 0; index < m_tabs->count(); ++index) {
        if (sameFile(drawingAt(index)->filePath(), path))
            return index;
    }
    return -1;
}

QString DrawingWindow::fileOfTab(int index) const {
    const DrawingTab* tab = drawingAt(index);
    return tab ? tab->filePath() : QString();
}

void DrawingWindow::activateTab(int index) {
    if (index >= 0 && index < m_tabs->count())
        m_tabs->setCurrentIndex(index);
}

// A selection running in the drawing being left ends as Escape would end it.
void DrawingWindow::tabActivated() {
    for (int index = 0; index < m_tabs->count(); ++index) {
        if (index != m_tabs->currentIndex())
            drawingAt(index)->canvas()->cancelPick();
    }
    if (DrawingTab* tab = activeDrawing())
        m_layerPanels->setCurrentWidget(tab->layerPanel());
    updateCaption();
    showSceneNotes();
}

// The status line lists the kinds of entities the active drawing holds but are not drawn.
void DrawingWindow::showSceneNotes() {
    const DrawingTab* tab = activeDrawing();
    const QString kinds = tab ? tab->undrawnKinds() : QString();
    m_undrawn->setText(kinds.isEmpty() ? QString()
                                       : QStringLiteral("描画しないオブジェクト: %1").arg(kinds));
}

bool DrawingWindow::closeTab(int index) {
    DrawingTab* tab = drawingAt(index);
    if (!tab)
        return false;
    activateTab(index);
    if (!tab->confirmDiscard())
        return false;
    tab->canvas()->cancelPick();
    delete tab;
    updateCaption();
    return true;
}

bool DrawingWindow::saveAll() {
    bool allSaved = true;
    for (int index = 0; index < m_tabs->count(); ++index) {
        DrawingTab* tab = drawingAt(index);
        if (tab->isModified() && !tab->filePath().isEmpty())
            allSaved = tab->saveCurrent() == SaveResult::Saved && allSaved;
    }
    return allSaved;
}

bool DrawingWindow::saveTo(const QString& path) {
    return activeDrawing() && activeDrawing()->saveTo(path);
}

DrawingWindow::SaveResult DrawingWindow::saveCurrent() {
    return activeDrawing() ? activeDrawing()->saveCurrent() : SaveResult::Failed;
}

bool DrawingWindow::isModified() const {
    return activeDrawing() && activeDrawing()->isModified();
}

QString DrawingWindow::filePath() const {
    return activeDrawing() ? activeDrawing()->filePath() : QString();
}

std::shared_ptr<CadModel> DrawingWindow::model() const {
    return activeDrawing() ? activeDrawing()->model() : nullptr;
}

DrawingCanvas* DrawingWindow::canvas() const {
    return activeDrawing() ? activeDrawing()->canvas() : nullptr;
}

void DrawingWindow::undo() {
    if (DrawingTab* tab = activeDrawing())
        tab->undo();
}

void DrawingWindow::redo() {
    if (DrawingTab* tab = activeDrawing())
        tab->redo();
}

void DrawingWindow::setLayerLocked(const std::string& layer, bool locked) {
    const auto active = model();
    const auto id = active ? findLayer(active->drawing(), layer) : std::nullopt;
    if (!id)
        throw std::runtime_error("the drawing has no layer " + layer);
    drawing::setLayerLocked(active->drawing(), *id, locked);
}

std::shared_ptr<CadModel> DrawingWindow::modelWithKey(const std::string& key) const {
    for (int index = 0; index < m_tabs->count(); ++index) {
        const auto candidate = drawingAt(index)->model();
        if (candidate && candidate->key() == key)
            return candidate;
    }
    return nullptr;
}

cad::ApplicationPtr DrawingWindow::connect() {
    DrawingTab* tab = activeDrawing();
    if (!tab)
        return nullptr;
    QPointer<DrawingWindow> self(this);
    return tab->connect(
        [self](const std::string& key) { return self ? self->modelWithKey(key) : nullptr; });
}

void DrawingWindow::setPicker(std::shared_ptr<EntityPicker> picker) {
    m_pickerOverride = std::move(picker);
    for (int index = 0; index < m_tabs->count(); ++index)
        drawingAt(index)->setPicker(m_pickerOverride ? m_pickerOverride : m_picker);
}

void DrawingWindow::setFileDialogs(FileDialogPort* dialogs) {
    m_fileDialogs = dialogs ? dialogs : &m_qtFileDialogs;
}

void DrawingWindow::updateCaption() {
    const DrawingTab* tab = activeDrawing();
    setWindowTitle((tab ? tab->title() : QStringLiteral("(図面なし)")) +
                   QStringLiteral(" — Kalvex 図面"));
}

std::optional<std::vector<std::string>>
DrawingWindow::pickEntities(const cad::SelectionFilter& filter) {
    const auto active = model();
    if (!active)
        return std::nullopt;
    activeDrawing()->applyChanges(); // pick from what the drawing holds now
    raise();
    activateWindow();
    const auto ids = canvas()->pick([&](RecordId id) { return active->matchesFilter(id, filter); });
    if (!ids)
        return std::nullopt;
    std::vector<std::string> handles;
    for (RecordId id : *ids)
        handles.push_back(active->drawing().handleText(id));
    return handles;
}

void DrawingWindow::showScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                                    PenColor color) {
    DrawingCanvas* target = canvas();
    if (!target)
        return;
    const double ratio = screen() ? screen()->devicePixelRatio() : 1.0;
    std::vector<QPointF> local;
    for (const ScreenPoint& p : points)
        local.push_back(target->mapFromGlobal(QPointF(p.x / ratio, p.y / ratio)));
    target->showMarker(local, penWidth, QColor(color.red, color.green, color.blue));
}

// Every drawing with changes asks in turn; Cancel keeps the window and the drawings open.
void DrawingWindow::closeEvent(QCloseEvent* event) {
    for (int index = 0; index < m_tabs->count(); ++index) {
        DrawingTab* tab = drawingAt(index);
        if (tab->isModified())
            activateTab(index);
        if (!tab->confirmDiscard()) {
            event->ignore();
            return;
        }
    }
    for (int index = 0; index < m_tabs->count(); ++index)
        drawingAt(index)->canvas()->cancelPick();
    event->accept();
    emit closed();
}

void DrawingWindow::reload() {
    DrawingTab* tab = activeDrawing();
    if (tab && !tab->filePath().isEmpty() && tab->confirmDiscard())
        tab->reload();
}

// Several files may be chosen at once; each opens on a tab of its own.
void DrawingWindow::openFromDialog() {
    const QStringList paths =
        m_fileDialogs->askOpenFiles(this, QStringLiteral("図面を開く"),
                                    QFileInfo(filePath()).path(), QStringLiteral("DXF (*.dxf)"));
    for (const QString& path : paths)
        openFile(path);
}

void DrawingWindow::saveAsFromDialog() {
    if (!activeDrawing())
        return;
    const QString path = m_fileDialogs->askSaveFile(this, QStringLiteral("名前を付けて保存"),
                                                    filePath(), QStringLiteral("DXF (*.dxf)"));
    if (!path.isEmpty())
        saveTo(path);
}

} // namespace kalvex::drawing
