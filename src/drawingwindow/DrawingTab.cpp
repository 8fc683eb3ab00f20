#include "drawingwindow/DrawingTab.h"

#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include "drawing/cad/SessionApplication.h"
#include "drawing/dxf/DxfFile.h"
#include "drawingwindow/LayerLocking.h"
#include "qtplatform/QtWindowSystem.h"

namespace kalvex::drawing {

namespace {

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

constexpr int kStripHeight = 24;
const QString kStripStyle = QStringLiteral("background:#1b2128;color:#c8d2dc;");
constexpr int kNarrowestCanvas = 120;
// The least time between two updates of the picture while the drawing keeps changing: about
// ten a second show a long tool operation's progress without paying for a picture per write.
constexpr qint64 kSyncInterval = 100; // milliseconds

QLabel* strip(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedHeight(kStripHeight);
    // A long prompt or coordinate text is cut, rather than keeping the window wide.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    label->setContentsMargins(8, 0, 8, 0);
    label->setStyleSheet(kStripStyle);
    return label;
}

} // namespace

DrawingTab::DrawingTab(MessagePort& messages, QWidget* parent)
    : QWidget(parent), m_messages(messages) {
    setObjectName(QStringLiteral("DocumentWindow"));
    buildStrips();
    m_layers = new LayerPanel;
    m_layers->setMinimumWidth(100);
    QObject::connect(m_layers, &LayerPanel::lockToggled, this, [this](RecordId layer, bool locked) {
        if (m_model)
            drawing::setLayerLocked(m_model->drawing(), layer, locked);
    });
    QObject::connect(&m_file, &WatchedFile::changedByOthers, this, &DrawingTab::tellChangedOnDisk);
    m_syncTimer.setSingleShot(true);
    QObject::connect(&m_syncTimer, &QTimer::timeout, this, &DrawingTab::syncScene);
}

DrawingTab::~DrawingTab() {
    if (m_model)
        m_model->drawing().setChangeListener(nullptr);
    delete m_layers;
}

// The prompt line first and below it the view frame, whose lower strip is as high as the
// prompt line: the drawing area is the frame less that strip.
void DrawingTab::buildStrips() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_prompt = new PromptLine(kStripHeight, this);
    m_prompt->setStyleSheet(kStripStyle);
    layout->addWidget(m_prompt);
    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("ViewFrame"));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setSpacing(0);
    m_canvas = new DrawingCanvas(frame);
    // Narrow enough to fit beside the tool on a small screen at a large scale.
    m_canvas->setMinimumWidth(kNarrowestCanvas);
    frameLayout->addWidget(m_canvas, 1);
    m_coordinates = strip(frame, QStringLiteral("CoordinateLine"));
    frameLayout->addWidget(m_coordinates);
    layout->addWidget(frame, 1);
    QObject::connect(m_canvas, &DrawingCanvas::promptChanged, m_prompt, &PromptLine::setPrompt);
    QObject::connect(m_canvas, &DrawingCanvas::viewMoved, this, &DrawingTab::showViewState);
}

bool DrawingTab::load(const QString& path) {
    std::shared_ptr<Drawing> drawing;
    try {
        drawing = loadDxf(path.toStdString());
    } catch (const std::exception& e) {
        m_messages.show({QString::fromStdString(e.what()), MessageIcon::Error});
        return false;
    }
    showDrawing(drawing, path);
    if (!drawing->warnings().empty())
        m_messages.show({warningText(drawing->warnings()), MessageIcon::Warning});
    return true;
}

bool DrawingTab::reload() {
    if (!m_model || filePath().isEmpty())
        return load(filePath());
    std::shared_ptr<Drawing> drawing;
    try {
        drawing = loadDxf(filePath().toStdString());
    } catch (const std::exception& e) {
        m_messages.show({QString::fromStdString(e.what()), MessageIcon::Error});
        return false;
    }
    const ViewState view = m_model->view();
    m_file.track(filePath());
    attachModel(CadModel::create(drawing, m_model->key()));
    m_model->view() = view;
    m_canvas->followView();
    m_prompt->clear();
    showViewState();
    emit titleChanged();
    if (!drawing->warnings().empty())
        m_messages.show({warningText(drawing->warnings()), MessageIcon::Warning});
    return true;
}

void DrawingTab::showDrawing(std::shared_ptr<Drawing> drawing, const QString& path) {
    m_file.track(path);
    attachModel(CadModel::create(std::move(drawing)));
    m_canvas->zoomExtents();
    showViewState();
    emit titleChanged();
}

void DrawingTab::attachModel(std::shared_ptr<CadModel> model) {
    if (m_model) {
        m_model->drawing().setChangeListener(nullptr);
        m_model->setActivator(nullptr);
    }
    m_model = std::move(model);
    m_scene = std::make_unique<Scene>(m_model->drawing());
    m_model->setPicker(m_picker);
    m_model->setApplicationWindow(m_applicationWindow);
    m_model->setDocumentWindow(QtWindowSystem::handleOf(this));
    m_model->drawing().setChangeListener([this](RecordId id) { recordChanged(id); });
    m_model->setActivator([self = QPointer<DrawingTab>(this)] {
        if (self)
            emit self->activationRequested();
    });
    m_canvas->setScene(m_scene.get(), &m_model->view());
    m_layers->showLayers(&m_model->drawing());
    setModified(false);
    m_toldBlocks.clear();
    tellSelfReferencingBlocks();
    emit notesChanged();
}

QString DrawingTab::undrawnKinds() const {
    QStringList kinds;
    if (m_scene) {
        for (const std::string& kind : m_scene->notes().undrawnKinds)
            kinds << QString::fromStdString(kind);
    }
    return kinds.join(QStringLiteral(", "));
}

// A block that inserts itself is told once per drawing, as the picture lacks what it would
// repeat without end.
void DrawingTab::tellSelfReferencingBlocks() {
    for (const std::string& block : m_scene->notes().selfReferencingBlocks) {
        if (!m_toldBlocks.insert(block).second)
            continue;
        m_messages.show({QStringLiteral("ブロック \"%1\" は自分自身を参照しています。"
                                        "その参照は展開せずに表示します。")
                             .arg(QString::fromStdString(block)),
                         MessageIcon::Warning});
    }
}

bool DrawingTab::saveTo(const QString& path) {
    if (!m_model || path.isEmpty())
        return false;
    try {
        saveDxf(m_model->drawing(), path.toStdString());
    } catch (const std::exception& e) {
        m_messages.show({QString::fromStdString(e.what()), MessageIcon::Error});
        return false;
    }
    m_file.track(path);
    m_model->drawing().undoLog().markSaved();
    setModified(false);
    emit titleChanged(); // the name may be another one
    return true;
}

DrawingTab::SaveResult DrawingTab::saveCurrent() {
    if (!m_model || filePath().isEmpty())
        return SaveResult::Failed;
    if (m_file.changedOnDisk()) {
        // Either choice drops changes: the question names what each one drops.
        QString question =
            QStringLiteral("図面 %1 は読み込んだ後にほかのプログラムで変更されています。\n"
                           "上書き保存すると、その変更は失われます。")
                .arg(QFileInfo(filePath()).fileName());
        if (m_modified)
            question +=
                QStringLiteral("\n再読み込みすると、この図面の保存していない変更が失われます。");
        const MessageAnswer answer = m_messages.show(
            {question, MessageIcon::Warning, MessageButtons::OverwriteReloadCancel});
        if (answer == MessageAnswer::Reload)
            return reload() ? SaveResult::Cancelled : SaveResult::Failed;
        if (answer != MessageAnswer::Overwrite)
            return SaveResult::Cancelled;
    }
    return saveTo(filePath()) ? SaveResult::Saved : SaveResult::Failed;
}

bool DrawingTab::confirmDiscard() {
    if (!m_modified)
        return true;
    const MessageAnswer answer =
        m_messages.show({QStringLiteral("図面 %1 は変更されています。保存しますか?")
                             .arg(QFileInfo(filePath()).fileName()),
                         MessageIcon::Question, MessageButtons::YesNoCancel});
    if (answer == MessageAnswer::Cancel)
        return false;
    return answer == MessageAnswer::No || saveCurrent() == SaveResult::Saved;
}

QString DrawingTab::title() const {
    const QString name =
        filePath().isEmpty() ? QStringLiteral("(図面なし)") : QFileInfo(filePath()).fileName();
    return name + (m_modified ? QStringLiteral(" *") : QString());
}

// Everything changed through the connection, in this drawing or in another one it writes
// into, is one step of that drawing's undo history.
cad::ApplicationPtr DrawingTab::connect(const ModelLookup& otherDrawings) {
    if (!m_model)
        return nullptr;
    return std::make_shared<SessionApplication>(
        m_model,
        [this] {
            m_canvas->followView();
            showViewState();
        },
        otherDrawings);
}

void DrawingTab::setPicker(std::shared_ptr<EntityPicker> picker) {
    m_picker = std::move(picker);
    if (m_model)
        m_model->setPicker(m_picker);
}

void DrawingTab::setApplicationWindow(WindowHandle window) {
    m_applicationWindow = window;
    if (m_model)
        m_model->setApplicationWindow(window);
}

// Undoing or redoing back to the step last saved leaves the drawing as its file holds it.
void DrawingTab::undo() {
    if (!m_model)
        return;
    m_model->drawing().undo();
    setModified(!m_model->drawing().undoLog().atSavedStep());
}

void DrawingTab::redo() {
    if (!m_model)
        return;
    m_model->drawing().redo();
    setModified(!m_model->drawing().undoLog().atSavedStep());
}

void DrawingTab::recordChanged(RecordId id) {
    m_scene->markChanged(id);
    if (m_model->drawing().slot(id).kind == RecordKind::Layer)
        m_layersChanged = true;
    setModified(true);
    scheduleSync();
}

// The first change after a quiet spell is shown at once, later ones of a burst together.
void DrawingTab::scheduleSync() {
    if (m_syncTimer.isActive())
        return;
    const qint64 since = m_sinceSync.isValid() ? m_sinceSync.elapsed() : kSyncInterval;
    m_syncTimer.start(static_cast<int>(std::max<qint64>(0, kSyncInterval - since)));
}

void DrawingTab::applyChanges() {
    if (m_scene && m_scene->hasChanges())
        syncScene();
}

void DrawingTab::syncScene() {
    m_syncTimer.stop();
    m_sinceSync.start();
    if (!m_scene)
        return;
    const SceneChanges changes = m_scene->sync();
    if (changes.isEmpty())
        return;
    if (changes.everything)
        m_canvas->refresh();
    else
        m_canvas->repaintAreas(changes.areas);
    tellSelfReferencingBlocks();
    emit notesChanged();
    if (m_layersChanged)
        m_layers->showLayers(&m_model->drawing());
    m_layersChanged = false;
}

void DrawingTab::setModified(bool modified) {
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit titleChanged();
}

// Called after every change of the view: by the user in the canvas, by the tool through its
// connection, and when a drawing is shown.
void DrawingTab::showViewState() {
    const ViewState view = m_model ? m_model->view() : ViewState();
    m_coordinates->setText(QStringLiteral("中心 %1, %2   高さ %3")
                               .arg(view.centerX(), 0, 'f', 3)
                               .arg(view.centerY(), 0, 'f', 3)
                               .arg(view.height(), 0, 'f', 3));
}

void DrawingTab::tellChangedOnDisk() {
    m_prompt->setPrompt(QStringLiteral("図面ファイルがほかのプログラムで変更されました"));
    m_messages.show({QStringLiteral("図面 %1 がほかのプログラムで変更されました。\n"
                                    "読み直すには ファイル > 再読み込み を選んでください。"
                                    "上書き保存の前には確認します。")
                         .arg(QFileInfo(filePath()).fileName()),
                     MessageIcon::Information, MessageButtons::Ok});
}

} // namespace kalvex::drawing
