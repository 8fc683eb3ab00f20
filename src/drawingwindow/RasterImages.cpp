#include "drawingwindow/RasterImages.h"

#include <QCache>
#include <QImage>
#include <QImageReader>
#include <QMutex>
#include <QPainterPath>
#include <QPolygonF>

namespace kalvex::drawing {

namespace {

// Kilobytes of pictures kept between paints.
constexpr qsizetype kCacheKilobytes = 256 * 1024;
constexpr std::size_t kCorners = 3; // upper left, upper right, lower left

// Tiles may be painted on worker threads, so the shared cache is guarded.
QMutex cacheLock;
QCache<QString, QImage> cache(kCacheKilobytes);

QImage pictureOf(const QString& file) {
    QMutexLocker locked(&cacheLock);
    if (const QImage* kept = cache.object(file))
        return *kept;
    QImageReader reader(file);
    reader.setAutoTransform(true);
    auto image = std::make_unique<QImage>(reader.read());
    const QImage picture = *image;
    const auto cost = static_cast<qsizetype>(image->sizeInBytes() / 1024 + 1);
    cache.insert(file, image.release(), cost);
    return picture;
}

} // namespace

void paintRasterImage(QPainter& painter, const ViewTransform& transform, const SceneShape& shape) {
    if (shape.points.size() < kCorners)
        return;
    const QImage picture = pictureOf(shape.text.text);
    if (picture.isNull())
        return;
    const QPointF upperLeft = transform.toScreen(shape.points[0]);
    const QPointF across = (transform.toScreen(shape.points[1]) - upperLeft) / picture.width();
    const QPointF down = (transform.toScreen(shape.points[2]) - upperLeft) / picture.height();
    painter.save();
    if (shape.points.size() >= kCorners + 3) {
        QPolygonF clip;
        for (std::size_t i = kCorners; i < shape.points.size(); ++i)
            clip << transform.toScreen(shape.points[i]);
        QPainterPath path;
        path.addPolygon(clip);
        path.closeSubpath();
        painter.setClipPath(path, Qt::IntersectClip);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setTransform(
        QTransform(across.x(), across.y(), down.x(), down.y(), upperLeft.x(), upperLeft.y()), true);
    painter.drawImage(QPointF(0, 0), picture);
    painter.restore();
}

} // namespace kalvex::drawing
