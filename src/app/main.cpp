#include <cstdio>

#include "cadlink/CadLink.h"
#include "cadlink/EventLoopWaiter.h"
#include "cadlink/QtWindowSystem.h"
#include "cadlink/Version.h"
#include "cadlink/ports/QtClipboardPort.h"
#include "cadlink/ports/QtDialogPort.h"
#include "cadlink/ports/QtMessagePort.h"
#include "cadlink/widgets/Controls.h"
#include "shell/CommandLine.h"
#include "shell/GuardedApplication.h"
#include "shell/Screenshot.h"
#include "shell/SingleInstance.h"
#include "shell/TOrvikMainForm.h"

using namespace kalvex;

namespace {

// Message boxes and dialogs use the main window's font.
constexpr int kFontPixels = 12;

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    return arguments;
}

int runWindow(GuardedApplication& app, const CommandLine& commandLine) {
    QtWindowSystem windows;
    EventLoopWaiter waiter;
    CadLink link{.windows = windows, .waiter = waiter, .createApplication = {}};
    QtMessagePort messages;
    QtDialogPort dialogs(windows);
    QtClipboardPort clipboard;
    Ports ports{messages, dialogs, clipboard};
    TOrvikMainForm form(ports, link);
    messages.setOwner(&form);
    dialogs.setMainWindow(&form);
    app.setErrorReport(&form.errorReport());
    form.show();
    if (!commandLine.screenshotFile.isEmpty())
        takeScreenshotWhenPainted(commandLine.screenshotFile);
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
    // A copy already running keeps its window; this one ends without a word.
    SingleInstance instance(QStringLiteral("TOrvikMainForm"));
    if (!instance.acquire())
        return 0;
    GuardedApplication app(argc, argv);
    GuardedApplication::setApplicationName(QStringLiteral("KalvexEdit2"));
    GuardedApplication::setFont(formFont(kFontPixels));
    return runWindow(app, commandLine);
}
