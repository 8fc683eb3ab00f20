#include "drawingwindow/SceneRender.h"

#include <QPainter>
#include <algorithm>

#include "drawingwindow/Scene.h"
#include "drawingwindow/ScenePainter.h"

namespace kalvex::drawing {

namespace {

ViewTransform fitted(const QRectF& window, QSize size) {
    const double width = std::max(window.width(), 1e-9);
    const double height = std::max(window.height(), 1e-9);
    const double scale = std::min(size.width() / width, size.height() / height);
    return {window.center(), scale, size};
}

} // namespace

QImage renderDrawing(const Drawing& drawing, const RenderRequest& request) {
    const QSize size = request.size.isValid() ? request.size : QSize(1000, 750);
    QImage image(size, QImage::Format_RGB32);
    image.fill(ScenePainter::kBackground);
    const Scene scene(drawing);
    QRectF window = request.window.value_or(scene.extents()).normalized();
    if (!window.isValid())
        window = QRectF(0, 0, 1, 1);
    const ViewTransform transform = fitted(window, size);
    const std::unordered_set<RecordId> none;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ScenePainter(painter, transform, none).paint(scene, transform.visibleArea());
    return image;
}

} // namespace kalvex::drawing
