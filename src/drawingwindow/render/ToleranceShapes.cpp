#include <cmath>
#include <numbers>

#include "drawingwindow/render/DimensionParts.h"
#include "drawingwindow/render/EntityShapes.h"
#include "drawingwindow/render/MtextLayout.h"

namespace kalvex::drawing {

namespace {

constexpr double kRowHeights = 2.0; // a row is twice the text height

void addBox(double left, double right, double top, double bottom, ShapeList& out) {
    out.push_back(pathShape(
        {QPointF(left, top), QPointF(right, top), QPointF(right, bottom), QPointF(left, bottom)},
        true));
}

// One row of boxes, each holding a field; empty fields (two separators in a row) take none.
void frameRow(const QStringList& fields, double top, const MtextFormat& base, double gap,
              ShapeList& out) {
    const double height = base.height * kRowHeights;
    double x = 0;
    MtextBox box;
    box.attachment = 4; // middle left
    for (const QString& field : fields) {
        if (field.trimmed().isEmpty())
            continue;
        ShapeList text = layoutMtext(parseMtext(field, base), box, base.height);
        const double width = std::max(shapeBounds(text).width(), base.height) + 2 * gap;
        const QTransform at = QTransform::fromTranslate(x + gap, top - height / 2);
        for (SceneShape& shape : text) {
            transformShape(shape, at);
            out.push_back(std::move(shape));
        }
        addBox(x, x + width, top, top - height, out);
        x += width;
    }
}

} // namespace

// The string holds the rows separated by "^J" and each row's fields by "%%v"; GD&T symbols
// come as characters of the "gdt" font. The insertion point is the middle of the first
// row's left side; the text height is the dimension style's.
void toleranceShapes(const EntityInput& in, ShapeList& out) {
    const EntityTags tags(in.drawing, in.id);
    const DimensionStyle style =
        in.styles.dimensionStyle(in.styles.folded(tags.textOf(3))).overriddenBy(in.drawing, in.id);
    MtextFormat base;
    base.height = style.scaled(style.textHeight);
    base.family = in.styles.textStyle(style.textStyle).family;
    const QString content = QString::fromStdString(in.drawing.codec().decode(tags.textOf(1)));
    const QStringList rows = content.split(QStringLiteral("^J"));
    ShapeList local;
    for (qsizetype row = 0; row < rows.size(); ++row)
        frameRow(rows[row].split(QStringLiteral("%%v"), Qt::KeepEmptyParts, Qt::CaseInsensitive),
                 base.height * kRowHeights * (0.5 - static_cast<double>(row)), base,
                 style.scaled(style.gap), local);
    const QPointF x = tags.pointOf(11);
    QTransform frame;
    frame.translate(tags.pointOf(10).x(), tags.pointOf(10).y());
    if (!x.isNull())
        frame.rotate(std::atan2(x.y(), x.x()) * 180 / std::numbers::pi);
    for (SceneShape& shape : local) {
        transformShape(shape, frame);
        out.push_back(std::move(shape));
    }
}

} // namespace kalvex::drawing
