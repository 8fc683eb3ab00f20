#include "drawingwindow/BlockPictures.h"

#include <cmath>

namespace kalvex::drawing {

namespace {
constexpr int kLargestPicture = 256;          // pixels a side; larger blocks are drawn in full
constexpr std::size_t kMostBytes = 32u << 20; // all pictures together
constexpr int kPictureMargin = 2;             // pixels around the ink, for pens and rounding

// The map of a reference without its move: what its picture depends on.
QTransform linearPart(const QTransform& map) {
    return QTransform(map.m11(), map.m12(), map.m21(), map.m22(), 0, 0);
}

} // namespace

void BlockPictures::startPaint(double pixelsPerUnit) {
    if (pixelsPerUnit != m_scale) {
        m_pictures.clear();
        m_bytes = 0;
        m_scale = pixelsPerUnit;
    }
    m_drawn.clear();
}

std::size_t BlockPictures::SpotHash::operator()(const Spot& spot) const {
    std::size_t seed = std::hash<const SceneBlock*>()(spot.block);
    for (double value : spot.map)
        seed = seed * 31 + std::hash<double>()(value);
    return seed * 2 + (spot.faded ? 1 : 0);
}

bool BlockPictures::drawnAlready(const SceneEntry& entry) {
    const QTransform& m = entry.block->map;
    const Spot spot{entry.block->block.get(),
                    {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()},
                    entry.locked};
    return !m_drawn.insert(spot).second;
}

bool BlockPictures::draw(QPainter& painter, const ViewTransform& view, const SceneEntry& entry,
                         const ShapePainter& paintShapes) {
    const SceneBlockRef& reference = *entry.block;
    const QRectF ink = reference.map.mapRect(reference.block->ink);
    const double side = std::max(ink.width(), ink.height()) * view.scale;
    if (!(side <= kLargestPicture)) // a side that is no number is too large too
        return false;
    if (drawnAlready(entry))
        return true;
    const Picture* picture = pictureFor(entry, view, paintShapes, painter.renderHints());
    const QPointF at = view.toScreen(reference.map.map(QPointF())) + picture->offset;
    painter.drawImage(
        QPoint(static_cast<int>(std::lround(at.x())), static_cast<int>(std::lround(at.y()))),
        picture->image);
    return true;
}

const BlockPictures::Picture* BlockPictures::pictureFor(const SceneEntry& entry,
                                                        const ViewTransform& view,
                                                        const ShapePainter& paintShapes,
                                                        QPainter::RenderHints hints) {
    const QTransform& m = entry.block->map;
    const Key key{entry.block->block, m.m11(), m.m12(), m.m21(), m.m22(), entry.locked};
    const auto found = m_pictures.find(key);
    if (found != m_pictures.end())
        return &found->second;
    Picture picture = makePicture(entry, view, paintShapes, hints);
    if (m_bytes + picture.image.sizeInBytes() > kMostBytes) {
        m_pictures.clear();
        m_bytes = 0;
    }
    m_bytes += picture.image.sizeInBytes();
    return &m_pictures.emplace(key, std::move(picture)).first->second;
}

// The picture shows the block placed at the origin; its centre is the centre of the ink.
BlockPictures::Picture BlockPictures::makePicture(const SceneEntry& entry,
                                                  const ViewTransform& view,
                                                  const ShapePainter& paintShapes,
                                                  QPainter::RenderHints hints) {
    const SceneBlockRef& reference = *entry.block;
    const QTransform atOrigin = linearPart(reference.map);
    const QRectF ink = atOrigin.mapRect(reference.block->ink);
    const QSize size(static_cast<int>(std::ceil(ink.width() * view.scale)) + 2 * kPictureMargin,
                     static_cast<int>(std::ceil(ink.height() * view.scale)) + 2 * kPictureMargin);
    Picture picture{QImage(size, QImage::Format_ARGB32_Premultiplied), QPointF()};
    picture.image.fill(Qt::transparent);
    const ViewTransform local{ink.center(), view.scale, size};
    QPainter onPicture(&picture.image);
    onPicture.setRenderHints(hints);
    paintShapes(onPicture, local, transformedShapes(reference.block->shapes, atOrigin), entry);
    picture.offset = -local.toScreen(QPointF());
    return picture;
}

} // namespace kalvex::drawing
