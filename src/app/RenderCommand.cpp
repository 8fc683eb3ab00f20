#include "app/RenderCommand.h"

#include <QGuiApplication>
#include <cstdio>

#include "drawing/dxf/DxfFile.h"
#include "drawingwindow/SceneRender.h"

namespace kalvex {

int runRender(int argc, char** argv, const CommandLine& commandLine) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        const auto drawing = drawing::loadDxf(commandLine.renderDrawing.toStdString());
        const QImage image =
            drawing::renderDrawing(*drawing, {commandLine.renderSize, commandLine.renderWindow});
        if (!image.save(commandLine.renderImage)) {
            std::fprintf(stderr, "kalvex: %s: the picture could not be written\n",
                         qPrintable(commandLine.renderImage));
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kalvex: %s\n", e.what());
        return 2;
    }
    return 0;
}

} // namespace kalvex
