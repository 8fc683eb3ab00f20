#pragma once

#include <QString>
#include <QStringList>

namespace kalvex {

enum class RunMode { Normal, PrintVersion };

struct CommandLine {
    RunMode mode = RunMode::Normal;
    QString screenshotFile;   // empty: no screenshot
    QStringList drawingFiles; // each --drawing, in order; none: the last one or the sample
    QString playScript;       // empty: the user works the windows
    QString error;            // not empty: the arguments could not be understood
};

// Reads the program's arguments (the program name first, as the application gives them).
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace kalvex
