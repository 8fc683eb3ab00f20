#include "shell/CommandLine.h"

#include <cmath>

namespace kalvex {

namespace {

// Takes the value of an option that needs one; false when it is missing.
bool takeValue(const QStringList& arguments, qsizetype& index, QString& value) {
    if (index + 1 >= arguments.size() || arguments[index + 1].isEmpty())
        return false;
    value = arguments[++index];
    return true;
}

std::optional<QSize> sizeOf(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('x'));
    bool okWidth = false, okHeight = false;
    if (parts.size() != 2)
        return std::nullopt;
    const QSize size(parts[0].toInt(&okWidth), parts[1].toInt(&okHeight));
    if (!okWidth || !okHeight || size.width() < 1 || size.height() < 1 || size.width() > 20000 ||
        size.height() > 20000)
        return std::nullopt;
    return size;
}

std::optional<QRectF> windowOf(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].toDouble(&ok);
        if (!ok || !std::isfinite(values[i]))
            return std::nullopt;
    }
    const QRectF window =
        QRectF(QPointF(values[0], values[1]), QPointF(values[2], values[3])).normalized();
    if (window.width() <= 0 && window.height() <= 0)
        return std::nullopt;
    return window;
}

// --render takes the drawing and the picture to write.
void takeRender(const QStringList& arguments, qsizetype& index, CommandLine& result) {
    result.mode = RunMode::Render;
    if (!takeValue(arguments, index, result.renderDrawing) ||
        !takeValue(arguments, index, result.renderImage))
        result.error = QStringLiteral("--render needs a drawing and a picture file");
}

void takeRenderOption(const QStringList& arguments, qsizetype& index, CommandLine& result) {
    const bool size = arguments[index] == QLatin1String("--size");
    QString value;
    if (!takeValue(arguments, index, value)) {
        result.error = QStringLiteral("%1 needs a value").arg(size ? "--size" : "--window");
    } else if (size) {
        const auto parsed = sizeOf(value);
        if (parsed)
            result.renderSize = *parsed;
        else
            result.error = QStringLiteral("--size wants WIDTHxHEIGHT in pixels, not %1").arg(value);
    } else {
        result.renderWindow = windowOf(value);
        if (!result.renderWindow)
            result.error = QStringLiteral("--window wants X1,Y1,X2,Y2, not %1").arg(value);
    }
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    bool renderOptions = false;
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
        } else if (argument == QLatin1String("--render")) {
            takeRender(arguments, index, result);
        } else if (argument == QLatin1String("--size") || argument == QLatin1String("--window")) {
            renderOptions = true;
            takeRenderOption(arguments, index, result);
        } else {
            result.error = QStringLiteral("unknown argument: %1").arg(argument);
        }
        if (!result.error.isEmpty())
            return result;
    }
    if (result.mode != RunMode::Render && renderOptions)
        result.error = QStringLiteral("--size and --window go with --render");
    return result;
}

} // namespace kalvex
