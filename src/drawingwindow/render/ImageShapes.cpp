#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <numbers>

#include "drawingwindow/TextLayout.h"
#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

namespace {

constexpr int kClipping = 1;      // code 280
constexpr int kPolygonalClip = 2; // code 71
constexpr double kNameHeightShare = 0.05;

// The file an IMAGE shows, as its IMAGEDEF (code 340) names it.
QString imageFileOf(const EntityInput& in, const EntityTags& tags) {
    const auto def = in.drawing.findHandle(tags.textOf(340));
    if (!def)
        return {};
    const EntityTags defTags(in.drawing, *def);
    return QString::fromStdString(in.drawing.codec().decode(defTags.textOf(1)));
}

// The clip boundary in pixel coordinates, whose origin is the upper left corner of the
// picture and whose Y runs down: two corners of a rectangle or the corners of a polygon.
std::vector<QPointF> boundaryOf(const EntityTags& tags, QPointF size) {
    std::vector<QPointF> corners;
    if ((tags.integerOf(280) & kClipping) != 0)
        for (std::size_t i = tags.find(14); i < tags.size(); i = tags.find(14, i + 1))
            corners.push_back(tags.point(i));
    if (corners.size() == 2 && tags.integerOf(71, 1) != kPolygonalClip) {
        const QPointF a = corners[0], b = corners[1];
        return {a, QPointF(b.x(), a.y()), b, QPointF(a.x(), b.y())};
    }
    if (corners.size() >= 3)
        return corners;
    const QPointF low(-0.5, -0.5), high = size - QPointF(0.5, 0.5);
    return {low, QPointF(high.x(), low.y()), high, QPointF(low.x(), high.y())};
}

// The picture's file: its stored path relative to the drawing's folder, or as it stands,
// or else a file of its name beside the drawing (drawings travel with their pictures and
// lose the folders they were made in). Empty when none exists.
QString foundFile(const Drawing& drawing, QString stored) {
    stored.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (stored.isEmpty())
        return {};
    const QDir folder = QFileInfo(QString::fromStdString(drawing.fileName())).absoluteDir();
    const QString name = QFileInfo(stored).fileName();
    for (const QString& candidate : {folder.filePath(stored), stored, folder.filePath(name)})
        if (QFileInfo(candidate).isFile())
            return candidate;
    return {};
}

SceneShape pictureShape(const QString& file, QPointF insert, QPointF u, QPointF v, QPointF size,
                        const std::vector<QPointF>& clip) {
    SceneShape picture;
    picture.kind = ShapeKind::Image;
    picture.text.text = file;
    picture.points = {insert + v * size.y(), insert + u * size.x() + v * size.y(), insert};
    picture.points.insert(picture.points.end(), clip.begin(), clip.end());
    return picture;
}

} // namespace

// An IMAGE shows its picture clipped to its boundary, with the boundary's frame; when the
// file is not found, the frame holds the file's name instead. The point (10) is the lower
// left corner of the picture, one pixel spans the U (11) and V (12) vectors.
void imageShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    const QPointF u = tags.pointOf(11), v = tags.pointOf(12), size = tags.pointOf(13);
    if (size.x() <= 0 || size.y() <= 0)
        return;
    const double uLength = std::hypot(u.x(), u.y()), vLength = std::hypot(v.x(), v.y());
    if (uLength <= 0 || vLength <= 0)
        return;
    // Pixel centres lie half a pixel inside the picture's corners.
    const QPointF insert = tags.pointOf(10), origin = insert + u * 0.5 - v * 0.5;
    std::vector<QPointF> frame;
    for (const QPointF& p : boundaryOf(tags, size))
        frame.push_back(origin + u * p.x() + v * (size.y() - p.y()));
    const QPointF corner = frame.front();
    QString path = imageFileOf(in, tags);
    const QString found = foundFile(in.drawing, path);
    if (!found.isEmpty())
        out.push_back(pictureShape(found, insert, u, v, size, frame));
    out.push_back(pathShape(std::move(frame), true));
    const QString file = QFileInfo(path.replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    const double height = vLength * size.y() * kNameHeightShare;
    if (file.isEmpty() || !found.isEmpty())
        return;
    SceneText name;
    name.text = file;
    name.height = static_cast<float>(height);
    // Inside the frame below its first corner, the upper left one when it is not clipped.
    name.anchor = corner - v / vLength * (1.5 * height) + u / uLength * height;
    name.rotation = static_cast<float>(std::atan2(u.y(), u.x()) * 180 / std::numbers::pi);
    name.width = static_cast<float>(estimatedWidth(file) * height);
    out.push_back(textShapeOf(name));
}

} // namespace kalvex::drawing
