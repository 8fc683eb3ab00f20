#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "app/DrawingScriptBridge.h"
#include "app/DrawingWindowSettings.h"
#include "app/RenderCommand.h"
#include "app/SampleDrawing.h"
#include "app/WindowPair.h"
#include "app/WindowPlacement.h"
#include "cadlink/CadLink.h"
#include "cadlink/Connection.h"
#include "drawing/tags/LargeBuffers.h"
#include "drawingwindow/DrawingWindow.h"
#include "qtplatform/EventLoopWaiter.h"
#include "qtplatform/QtClipboardPort.h"
#include "qtplatform/QtDialogPort.h"
#include "qtplatform/QtMessagePort.h"
#include "qtplatform/QtWindowSystem.h"
#include "script/ScriptPlayer.h"
#include "shell/CommandLine.h"
#include "shell/GuardedApplication.h"
#include "shell/IniFile.h"
#include "shell/ProgramFiles.h"
#include "shell/Screenshot.h"
#include "shell/SingleInstance.h"
#include "shell/TOrvikMainForm.h"
#include "shell/Version.h"

#ifdef Q_OS_WIN
#include "com/ComCadLink.h"
#endif

using namespace kalvex;

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    return arguments;
}

// The tool speaks Japanese whatever the system's language, and so do Qt's own dialogs.
void loadQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

// The drawings the window opens with: those asked for, else the one it showed last, else the
// user's copy of the sample. A script run never takes the last one.
QStringList startDrawings(const CommandLine& commandLine, const DrawingWindowSettings& settings) {
    if (!commandLine.drawingFiles.isEmpty())
        return commandLine.drawingFiles;
    if (commandLine.playScript.isEmpty() && !settings.drawing.isEmpty() &&
        QFileInfo::exists(settings.drawing))
        return {settings.drawing};
    const QString sample = sampleDrawingCopy();
    return sample.isEmpty() ? QStringList() : QStringList{sample};
}

// Every drawing on a tab of its own, the first one active; false when one could not be read.
bool openDrawings(drawing::DrawingWindow& window, const QStringList& files) {
    bool allOpened = true;
    for (const QString& file : files)
        allOpened = window.openFile(file) && allOpened;
    window.activateTab(0);
    return allOpened;
}

// The tool first, where its settings put it; then the drawing window where it was last, kept
// within the screen, or on a first start beside the tool.
void showWindows(QWidget& tool, drawing::DrawingWindow& drawingWindow,
                 const DrawingWindowSettings& settings) {
    tool.show();
    waitUntilShown(tool);
    // A pixel to spare at the right and the bottom: at a fractional scale the window system
    // rounds each border to whole device pixels, and the frame can grow by one.
    const QRect available = tool.screen()->availableGeometry().adjusted(0, 0, -1, -1);
    const QMargins margins = frameMarginsOf(tool);
    const QRect frame = settings.frame ? frameWithinScreen(available, *settings.frame)
                                       : frameBesideTool(available, tool.frameGeometry());
    showInFrame(drawingWindow, frame, margins);
    if (settings.layerPanelWidth)
        drawingWindow.setLayerPanelWidth(*settings.layerPanelWidth);
    tool.raise();
    // The drawing fills the drawing area the window has now.
    if (auto* canvas = drawingWindow.findChild<drawing::DrawingCanvas*>())
        canvas->zoomExtents();
}

struct Services {
    QtWindowSystem windows;
    EventLoopWaiter waiter;
    QtMessagePort qtMessages;
    QtDialogPort qtDialogs{windows};
    QtClipboardPort clipboard;
    DrawingScriptBridge bridge;
    script::ScriptPlayer player{bridge, clipboard, std::cout};
};

int runWindows(GuardedApplication& app, const CommandLine& commandLine) {
    Services services;
    const bool playing = !commandLine.playScript.isEmpty();
    MessagePort& messages = playing ? static_cast<MessagePort&>(services.player)
                                    : static_cast<MessagePort&>(services.qtMessages);
    DialogPort& dialogs = playing ? static_cast<DialogPort&>(services.player)
                                  : static_cast<DialogPort&>(services.qtDialogs);
    Ports ports{messages, dialogs, services.clipboard};

    drawing::DrawingWindow drawingWindow(messages, QString::fromStdString(kCadWindowTitle));
    const DrawingWindowSettings settings =
        readDrawingWindowSettings(IniFile::load(settingsFilePath()));
    if (!openDrawings(drawingWindow, startDrawings(commandLine, settings)) && playing)
        return script::ScriptPlayer::kScriptError;
    if (playing)
        services.bridge.attach(&drawingWindow);

    CadLink link{.windows = services.windows,
                 .waiter = services.waiter,
                 .createApplication = [&drawingWindow] { return drawingWindow.connect(); }};
    TOrvikMainForm form(ports, link);
    services.qtMessages.setOwner(&form);
    services.qtDialogs.setMainWindow(&form);
    app.setErrorReport(&form.errorReport());
    const WindowPair pair(form, drawingWindow, settingsFilePath());
    showWindows(form, drawingWindow, settings);

    if (!commandLine.screenshotFile.isEmpty())
        takeScreenshotWhenPainted(commandLine.screenshotFile);
    if (playing) {
        QTimer::singleShot(0, [&services, &commandLine] {
            GuardedApplication::exit(services.player.runFile(commandLine.playScript));
        });
    }
    const int exitCode = GuardedApplication::exec();
    app.setErrorReport(nullptr);
    return exitCode;
}

#ifdef Q_OS_WIN
// A script played beside the CAD drives the tool alone: the drawing is the CAD's, picked and
// read there, so the script's drawing commands are refused with the reason.
class CadOwnedScriptDrawing : public script::ScriptDrawing {
public:
    void queuePick(const script::ScriptPick&) override { refuse(); }
    void setLayerLocked(const std::string&, bool) override { refuse(); }
    void setCadOpen(bool) override { refuse(); }
    void save(const std::string&) override { refuse(); }
    void openDrawing(const std::string&) override { refuse(); }
    void activateDrawing(const std::string&) override { refuse(); }
    void closeDrawing(const std::string&) override { refuse(); }
    void saveAll() override { refuse(); }
    bool isActiveDrawing(const std::string&) override { refuse(); }
    cad::CadPoint viewCentre() override { refuse(); }
    bool entityExists(const std::string&) override { refuse(); }
    std::string entityText(const std::string&) override { refuse(); }
    cad::CadPoint entityPoint(const std::string&) override { refuse(); }
    int countEntities(const std::string&) override { refuse(); }

private:
    [[noreturn]] static void refuse() {
        throw std::runtime_error("the drawing is the CAD's: pick and check it in the CAD");
    }
};

// The tool beside the CAD running on the system, driven over COM. The modal dialogs go above
// the tool's own window through Qt; the CAD link works on the system's windows, so the tool is
// known to it by the main window's system handle. A script run plays against the tool's
// window while the CAD serves its drawing.
int runBesideCad(GuardedApplication& app, const CommandLine& commandLine) {
    const std::unique_ptr<com::ComCadLink> cad = com::openComCadLink();
    QtWindowSystem qtWindows;
    QtMessagePort qtMessages;
    QtDialogPort qtDialogs{qtWindows};
    QtClipboardPort clipboard;
    CadOwnedScriptDrawing cadDrawing;
    script::ScriptPlayer player{cadDrawing, clipboard, std::cout};
    const bool playing = !commandLine.playScript.isEmpty();
    MessagePort& messages =
        playing ? static_cast<MessagePort&>(player) : static_cast<MessagePort&>(qtMessages);
    DialogPort& dialogs =
        playing ? static_cast<DialogPort&>(player) : static_cast<DialogPort&>(qtDialogs);
    Ports ports{messages, dialogs, clipboard};

    TOrvikMainForm form(ports, cad->link());
    cad->link().toolWindow = static_cast<WindowHandle>(form.winId());
    qtMessages.setOwner(&form);
    qtDialogs.setMainWindow(&form);
    app.setErrorReport(&form.errorReport());
    form.show();
    if (!commandLine.screenshotFile.isEmpty())
        takeScreenshotWhenPainted(commandLine.screenshotFile);
    if (playing) {
        QTimer::singleShot(0, [&player, &commandLine] {
            GuardedApplication::exit(player.runFile(commandLine.playScript));
        });
    }
    const int exitCode = GuardedApplication::exec();
    app.setErrorReport(nullptr);
    return exitCode;
}
#endif

// On Windows the tool drives the CAD running on the system; given drawings of its own
// (--drawing), it shows them in the built-in drawing window, as everywhere else.
int run(GuardedApplication& app, const CommandLine& commandLine) {
#ifdef Q_OS_WIN
    if (commandLine.drawingFiles.isEmpty())
        return runBesideCad(app, commandLine);
#endif
    return runWindows(app, commandLine);
}

} // namespace

int main(int argc, char** argv) {
    dxf::restartWithHugePageHeap(argv);
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv));
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "kalvex: %s\n", qPrintable(commandLine.error));
        return 2;
    }
    if (commandLine.mode == RunMode::PrintVersion) {
        std::printf("%s\n", kVersionText);
        return 0;
    }
    if (commandLine.mode == RunMode::Render)
        return runRender(argc, argv, commandLine);
    // A copy already running keeps its window; this one ends without a word. A script run and
    // a screenshot are programs of their own and may run beside the user's copy (they never
    // write the settings).
    SingleInstance instance(QStringLiteral("TOrvikMainForm"));
    const bool besideACopy =
        !commandLine.playScript.isEmpty() || !commandLine.screenshotFile.isEmpty();
    if (!besideACopy && !instance.acquire())
        return 0;
    GuardedApplication app(argc, argv);
    GuardedApplication::setApplicationName(QStringLiteral("KalvexEdit2"));
    loadQtTranslations(app);
    return run(app, commandLine);
}
