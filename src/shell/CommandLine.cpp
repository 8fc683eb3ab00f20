#include "shell/CommandLine.h"

namespace kalvex {

namespace {

// Takes the value of an option that needs one; false when it is missing.
bool takeValue(const QStringList& arguments, qsizetype& index, QString& value) {
    if (index + 1 >= arguments.size() || arguments[index + 1].isEmpty())
        return false;
    value = arguments[++index];
    return true;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if (argument == QLatin1String("--version")) {
            result.mode = RunMode::PrintVersion;
        } else if (argument == QLatin1String("--screenshot")) {
            if (!takeValue(arguments, index, result.screenshotFile))
                result.error = QStringLiteral("--screenshot needs a file name");
        } else if (argument == QLatin1String("--drawing")) {
            QString file;
            if (takeValue(arguments, index, file))
                result.drawingFiles.append(file);
            else
                result.error = QStringLiteral("--drawing needs a file name");
        } else if (argument == QLatin1String("--play")) {
            if (!takeValue(arguments, index, result.playScript))
                result.error = QStringLiteral("--play needs a script file");
        } else {
            result.error = QStringLiteral("unknown argument: %1").arg(argument);
        }
        if (!result.error.isEmpty())
            return result;
    }
    return result;
}

} // namespace kalvex
