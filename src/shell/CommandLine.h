#pragma once

#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace kalvex {

enum class RunMode { Normal, PrintVersion, Render };

struct CommandLine {
    RunMode mode = RunMode::Normal;
    QString screenshotFile;   // empty: no screenshot
    QStringList drawingFiles; // each --drawing, in order; none: the last one or the sample
    QString playScript;       // empty: the user works the windows
    QString error;            // not empty: the arguments could not be understood
    // --render DRAWING IMAGE [--size WxH] [--window X1,Y1,X2,Y2]
    QString renderDrawing;
    QString renderImage;
    QSize renderSize{1000, 750};
    std::optional<QRectF> renderWindow;
};

// Reads the program's arguments (the program name first, as the application gives them).
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace kalvex
