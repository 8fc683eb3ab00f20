#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <iostream>

#include "app/DrawingScriptBridge.h"
#include "app/RenderCommand.h"
#include "app/SampleDrawing.h"
#include "cadlink/CadLink.h"
#include "cadlink/Connection.h"
#include "drawing/view/DrawingWindow.h"
#include "platform/EventLoopWaiter.h"
#include "platform/QtClipboardPort.h"
#include "platform/QtDialogPort.h"
#include "platform/QtMessagePort.h"
#include "platform/QtWindowSystem.h"
#include "script/ScriptPlayer.h"
#include "shell/CommandLine.h"
#include "shell/GuardedApplication.h"
#include "shell/Screenshot.h"
#include "shell/SingleInstance.h"
#include "shell/TOrvikMainForm.h"
#include "shell/Version.h"

using namespace kalvex;

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    return arguments;
}

// The drawing window goes beside the tool, on whichever side the screen has room.
void placeBeside(QWidget& drawingWindow, const QWidget& tool) {
    const QRect screen = tool.screen() ? tool.screen()->availableGeometry() : QRect();
    const QRect toolFrame = tool.frameGeometry();
    int x = toolFrame.right() + 12;
    if (screen.isValid() && x + drawingWindow.width() > screen.right())
        x = std::max(screen.left(), toolFrame.left() - drawingWindow.width() - 12);
    drawingWindow.move(x, toolFrame.top());
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
    const QString drawingFile =
        commandLine.drawingFile.isEmpty() ? sampleDrawingCopy() : commandLine.drawingFile;
    if (!drawingFile.isEmpty() && !drawingWindow.openFile(drawingFile) && playing)
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
    form.show();
    placeBeside(drawingWindow, form);
    drawingWindow.show();
    form.raise();

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

} // namespace

int main(int argc, char** argv) {
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
    // A copy already running keeps its window; this one ends without a word. A script run
    // is a program of its own and may run beside the user's copy.
    SingleInstance instance(QStringLiteral("TOrvikMainForm"));
    if (commandLine.playScript.isEmpty() && !instance.acquire())
        return 0;
    GuardedApplication app(argc, argv);
    GuardedApplication::setApplicationName(QStringLiteral("KalvexEdit2"));
    return runWindows(app, commandLine);
}
