#include "drawing/view/DrawingWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "drawing/DxfFile.h"
#include "drawing/cad/SessionApplication.h"
#include "drawing/view/LayerLocking.h"

namespace kalvex::drawing {

namespace {

constexpr int kStripHeight = 24;

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

QLabel* strip(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedHeight(kStripHeight);
    label->setContentsMargins(8, 0, 8, 0);
    label->setStyleSheet(QStringLiteral("background:#1b2128;color:#c8d2dc;"));
    return label;
}

// What was odd but readable in a file, one warning a line; a file with thousands of duplicate
// handles should not make a message box taller than the screen.
QString warningText(const std::vector<std::string>& warnings) {
    constexpr std::size_t kShown = 10;
    QStringList lines;
    for (std::size_t i = 0; i < warnings.size() && i < kShown; ++i)
        lines.append(QString::fromStdString(warnings[i]));
    if (warnings.size() > kShown)
        lines.append(QStringLiteral("... and %1 more").arg(warnings.size() - kShown));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

DrawingWindow::DrawingWindow(MessagePort& messages, const QString& cadWindowTitle, QWidget* parent)
    : QMainWindow(parent), m_messages(messages) {
    setObjectName(QStringLiteral("DrawingWindow"));
    // The tool looks for the CAD by this title, whatever the caption shows.
    setProperty("cadWindowTitle", cadWindowTitle);
    m_picker = std::make_shared<WindowPicker>(this);
    buildDocumentArea();
    buildMenus();
    auto* dock = new QDockWidget(QStringLiteral("画層 (チェック = ロック)"), this);
    dock->setObjectName(QStringLiteral("LayerDock"));
    m_layers = new LayerPanel(dock);
    dock->setWidget(m_layers);
    m_layers->setMinimumWidth(150);
    m_layers->setMaximumWidth(220);
    dock->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    QObject::connect(m_layers, &LayerPanel::lockToggled, this, [this](RecordId layer, bool locked) {
        if (m_model)
            drawing::setLayerLocked(m_model->drawing(), layer, locked);
    });
    m_undrawn = new QLabel(this);
    m_undrawn->setObjectName(QStringLiteral("UndrawnObjects"));
    statusBar()->addWidget(m_undrawn, 1);
    resize(960, 680);
    updateCaption();
}

DrawingWindow::~DrawingWindow() {
    if (m_model)
        m_model->drawing().setChangeListener(nullptr);
}

// The document window holds the prompt line first and below it the view frame, whose lower
// strip is as high as the prompt line: the drawing area is the frame less that strip.
void DrawingWindow::buildDocumentArea() {
    m_document = new QWidget(this);
    m_document->setObjectName(QStringLiteral("DocumentWindow"));
    auto* layout = new QVBoxLayout(m_document);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_prompt = strip(m_document, QStringLiteral("PromptLine"));
    layout->addWidget(m_prompt);
    auto* frame = new QWidget(m_document);
    frame->setObjectName(QStringLiteral("ViewFrame"));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setSpacing(0);
    m_canvas = new DrawingCanvas(frame);
    frameLayout->addWidget(m_canvas, 1);
    m_coordinates = strip(frame, QStringLiteral("CoordinateLine"));
    frameLayout->addWidget(m_coordinates);
    layout->addWidget(frame, 1);
    setCentralWidget(m_document);
    QObject::connect(m_canvas, &DrawingCanvas::promptChanged, m_prompt, &QLabel::setText);
    QObject::connect(m_canvas, &DrawingCanvas::viewMoved, this, [this] {
        const auto& view = m_model ? m_model->view() : ViewState();
        m_coordinates->setText(QStringLiteral("中心 %1, %2   高さ %3")
                                   .arg(view.centerX(), 0, 'f', 3)
                                   .arg(view.centerY(), 0, 'f', 3)
                                   .arg(view.height(), 0, 'f', 3));
    });
}

void DrawingWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("開く(&O)..."), QKeySequence::Open, this,
                    &DrawingWindow::openFromDialog);
    file->addAction(QStringLiteral("上書き保存(&S)"), QKeySequence::Save, this,
                    [this] { saveTo(m_path); });
    file->addAction(QStringLiteral("名前を付けて保存(&A)..."), QKeySequence::SaveAs, this,
                    &DrawingWindow::saveAsFromDialog);
    file->addAction(QStringLiteral("再読み込み(&R)"), QKeySequence::Refresh, this, [this] {
        if (!m_path.isEmpty() && confirmDiscard())
            openFile(m_path);
    });
    file->addSeparator();
    file->addAction(QStringLiteral("閉じる(&C)"), this, &QWidget::close);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->addAction(QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z), this,
                    &DrawingWindow::undo);
    edit->addAction(QStringLiteral("やり直し(&R)"), QKeySequence(Qt::CTRL | Qt::Key_Y), this,
                    &DrawingWindow::redo);
    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->addAction(QStringLiteral("全体表示(&E)"), QKeySequence(Qt::Key_Home), m_canvas,
                    &DrawingCanvas::zoomExtents);
}

bool DrawingWindow::openFile(const QString& path) {
    std::shared_ptr<Drawing> drawing;
    try {
        drawing = loadDxf(path.toStdString());
    } catch (const std::exception& e) {
        m_messages.show({QString::fromStdString(e.what()), MessageIcon::Error});
        return false;
    }
    m_path = path;
    attachModel(CadModel::create(drawing));
    m_canvas->zoomExtents();
    if (!drawing->warnings().empty())
        m_messages.show({warningText(drawing->warnings()), MessageIcon::Warning});
    return true;
}

void DrawingWindow::showDrawing(std::shared_ptr<Drawing> drawing, const QString& path) {
    m_path = path;
    attachModel(CadModel::create(std::move(drawing)));
    m_canvas->zoomExtents();
}

bool DrawingWindow::saveTo(const QString& path) {
    if (!m_model || path.isEmpty())
        return false;
    try {
        saveDxf(m_model->drawing(), path.toStdString());
    } catch (const std::exception& e) {
        m_messages.show({QString::fromStdString(e.what()), MessageIcon::Error});
        return false;
    }
    m_path = path;
    m_modified = false;
    updateCaption();
    return true;
}

void DrawingWindow::attachModel(std::shared_ptr<CadModel> model) {
    if (m_model)
        m_model->drawing().setChangeListener(nullptr);
    m_model = std::move(model);
    m_scene = std::make_unique<Scene>(m_model->drawing());
    m_model->setPicker(m_pickerOverride ? m_pickerOverride : m_picker);
    m_model->setApplicationWindow(QtWindowSystem::handleOf(this));
    m_model->setDocumentWindow(QtWindowSystem::handleOf(m_document));
    m_model->drawing().setChangeListener([this](RecordId id) { recordChanged(id); });
    m_canvas->setScene(m_scene.get(), &m_model->view());
    m_layers->showLayers(&m_model->drawing());
    m_modified = false;
    updateCaption();
    m_toldBlocks.clear();
    showSceneNotes();
}

// Kinds that are not drawn stay listed in the status line; a block that inserts itself is
// told once per drawing, as the picture lacks what it would repeat without end.
void DrawingWindow::showSceneNotes() {
    const SceneNotes& notes = m_scene->notes();
    QStringList kinds;
    for (const std::string& kind : notes.undrawnKinds)
        kinds << QString::fromStdString(kind);
    m_undrawn->setText(
        kinds.isEmpty()
            ? QString()
            : QStringLiteral("描画しないオブジェクト: %1").arg(kinds.join(QStringLiteral(", "))));
    for (const std::string& block : notes.selfReferencingBlocks) {
        if (!m_toldBlocks.insert(block).second)
            continue;
        m_messages.show({QStringLiteral("ブロック \"%1\" は自分自身を参照しています。"
                                        "その参照は展開せずに表示します。")
                             .arg(QString::fromStdString(block)),
                         MessageIcon::Warning});
    }
}

cad::ApplicationPtr DrawingWindow::connect() {
    if (!m_model)
        return nullptr;
    return std::make_shared<SessionApplication>(m_model, [this] { m_canvas->refresh(); });
}

void DrawingWindow::setPicker(std::shared_ptr<EntityPicker> picker) {
    m_pickerOverride = std::move(picker);
    if (m_model)
        m_model->setPicker(m_pickerOverride ? m_pickerOverride : m_picker);
}

void DrawingWindow::setLayerLocked(const std::string& layer, bool locked) {
    const auto id = m_model ? findLayer(m_model->drawing(), layer) : std::nullopt;
    if (!id)
        throw std::runtime_error("the drawing has no layer " + layer);
    drawing::setLayerLocked(m_model->drawing(), *id, locked);
}

void DrawingWindow::recordChanged(RecordId id) {
    m_scene->markChanged(id);
    if (m_model->drawing().slot(id).kind == RecordKind::Layer)
        m_layersChanged = true;
    if (!m_modified) {
        m_modified = true;
        updateCaption();
    }
    if (m_syncPending)
        return;
    m_syncPending = true;
    QTimer::singleShot(0, this, &DrawingWindow::syncScene);
}

void DrawingWindow::syncScene() {
    m_syncPending = false;
    if (!m_scene || !m_scene->sync())
        return;
    m_canvas->refresh();
    showSceneNotes();
    if (m_layersChanged)
        m_layers->showLayers(&m_model->drawing());
    m_layersChanged = false;
}

void DrawingWindow::updateCaption() {
    const QString name =
        m_path.isEmpty() ? QStringLiteral("(図面なし)") : QFileInfo(m_path).fileName();
    setWindowTitle(name + (m_modified ? QStringLiteral(" *") : QString()) +
                   QStringLiteral(" — Kalvex 図面"));
}

std::optional<std::vector<std::string>>
DrawingWindow::pickEntities(const cad::SelectionFilter& filter) {
    if (!m_model)
        return std::nullopt;
    raise();
    activateWindow();
    const auto model = m_model;
    const auto ids = m_canvas->pick([&](RecordId id) { return model->matchesFilter(id, filter); });
    if (!ids)
        return std::nullopt;
    std::vector<std::string> handles;
    for (RecordId id : *ids)
        handles.push_back(model->drawing().handleText(id));
    return handles;
}

void DrawingWindow::showScreenLines(const std::vector<ScreenPoint>& points, int penWidth,
                                    PenColor color) {
    const double ratio = screen() ? screen()->devicePixelRatio() : 1.0;
    std::vector<QPointF> local;
    for (const ScreenPoint& p : points)
        local.push_back(m_canvas->mapFromGlobal(QPointF(p.x / ratio, p.y / ratio)));
    m_canvas->showMarker(local, penWidth, QColor(color.red, color.green, color.blue));
}

void DrawingWindow::undo() {
    if (m_model)
        m_model->drawing().undo();
}

void DrawingWindow::redo() {
    if (m_model)
        m_model->drawing().redo();
}

bool DrawingWindow::confirmDiscard() {
    if (!m_modified)
        return true;
    const MessageAnswer answer =
        m_messages.show({QStringLiteral("図面 %1 は変更されています。保存しますか?")
                             .arg(QFileInfo(m_path).fileName()),
                         MessageIcon::Question, MessageButtons::YesNoCancel});
    if (answer == MessageAnswer::Cancel)
        return false;
    return answer == MessageAnswer::No || saveTo(m_path);
}

void DrawingWindow::closeEvent(QCloseEvent* event) {
    if (!confirmDiscard()) {
        event->ignore();
        return;
    }
    m_canvas->cancelPick();
    event->accept();
}

void DrawingWindow::openFromDialog() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("図面を開く"), QFileInfo(m_path).path(),
                                     QStringLiteral("DXF (*.dxf)"));
    if (!path.isEmpty() && confirmDiscard())
        openFile(path);
}

void DrawingWindow::saveAsFromDialog() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("名前を付けて保存"),
                                                      m_path, QStringLiteral("DXF (*.dxf)"));
    if (!path.isEmpty())
        saveTo(path);
}

} // namespace kalvex::drawing
