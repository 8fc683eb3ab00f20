#include <cmath>
#include <numbers>

#include "drawingwindow/render/EntityShapes.h"
#include "drawingwindow/render/MtextColumns.h"
#include "drawingwindow/render/MtextLayout.h"

namespace kalvex::drawing {

namespace {

constexpr double kDefaultHeight = 2.5;

// Content longer than 250 characters comes in 3 pairs before the final 1 pair.
QString contentOf(const EntityInput& in, const EntityTags& tags) {
    std::string bytes;
    for (std::size_t i = 0; i < tags.size(); ++i)
        if (tags.code(i) == 3)
            bytes += tags.text(i);
    std::string_view last = tags.textOf(1);
    if (last.empty() && bytes.empty())
        last = in.fields.text;
    bytes += last;
    return QString::fromStdString(in.drawing.codec().decode(bytes));
}

// The text's X axis is the direction vector (world coordinates) when given, else the
// rotation. The DXF reference gives that rotation in radians; writers and readers use
// degrees. Seen from above, Y is the extrusion crossed with X.
QTransform frameOf(const EntityTags& tags) {
    QPointF x(1, 0);
    double xz = 0;
    if (tags.find(11) < tags.size()) {
        const Vector3 v = tags.vectorOf(11, {1, 0, 0});
        x = QPointF(v.x, v.y);
        xz = v.z;
    } else {
        const double radians = tags.realOf(50) * std::numbers::pi / 180;
        x = QPointF(std::cos(radians), std::sin(radians));
    }
    const Vector3 n = tags.extrusion();
    const QPointF y(n.y * xz - n.z * x.y(), n.z * x.x() - n.x * xz);
    const double lx = std::hypot(x.x(), x.y()), ly = std::hypot(y.x(), y.y());
    if (lx <= 0 || ly <= 0)
        return QTransform::fromTranslate(tags.pointOf(10).x(), tags.pointOf(10).y());
    const QPointF at = tags.pointOf(10);
    return QTransform(x.x() / lx, x.y() / lx, y.x() / ly, y.y() / ly, at.x(), at.y());
}

// Static columns parse apart, each from its column break on, so that a column's paragraphs
// are known.
std::vector<MtextParagraph> paragraphsOf(const QString& content, const MtextFormat& base,
                                         MtextBox& box) {
    if (box.columns.count <= 1 || box.columns.flow)
        return parseMtext(content, base);
    std::vector<MtextParagraph> paragraphs;
    for (const QString& column : splitAtColumnBreaks(content)) {
        if (!paragraphs.empty())
            box.columnStarts.push_back(paragraphs.size());
        std::vector<MtextParagraph> parsed = parseMtext(column, base);
        paragraphs.insert(paragraphs.end(), std::make_move_iterator(parsed.begin()),
                          std::make_move_iterator(parsed.end()));
    }
    return paragraphs;
}

void layoutShapes(const EntityInput& in, const EntityTags& tags, MtextColumns columns,
                  ShapeList& out) {
    MtextFormat base;
    base.height = std::abs(tags.realOf(40, kDefaultHeight));
    base.family = in.styles.textStyle(in.styles.folded(tags.textOf(7))).family;
    MtextBox box;
    box.width = std::max(0.0, tags.realOf(41));
    box.attachment = tags.integerOf(71, 1);
    box.lineSpacing = std::clamp(tags.realOf(44, 1.0), 0.25, 4.0);
    box.columns = std::move(columns);
    const std::vector<MtextParagraph> paragraphs = paragraphsOf(contentOf(in, tags), base, box);
    const QTransform frame = frameOf(tags);
    for (SceneShape& shape : layoutMtext(paragraphs, box, base.height)) {
        transformShape(shape, frame);
        out.push_back(std::move(shape));
    }
}

} // namespace

void mtextShapesOf(const EntityInput& in, const EntityTags& tags, ShapeList& out) {
    layoutShapes(in, tags, {}, out);
}

void mtextShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    layoutShapes(in, tags, mtextColumnsOf(in.drawing, in.id, tags.realOf(46)), out);
}

} // namespace kalvex::drawing
