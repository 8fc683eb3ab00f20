#include <cmath>
#include <numbers>

#include "drawingwindow/TextLayout.h"
#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

namespace {

constexpr int kInvisible = 1;
constexpr int kBackwards = 2;
constexpr int kUpsideDown = 4;
constexpr int kAligned = 3;
constexpr int kFit = 5;

// Aligned and fit texts run from the insertion point to the alignment point: a fit text
// stretches its width to the distance, an aligned one its height as well.
void fitBetweenPoints(SceneText& t, const EntityFields& f) {
    const QPointF span = QPointF(f.x2, f.y2) - QPointF(f.x, f.y);
    const double distance = std::hypot(span.x(), span.y());
    if (distance <= 0 || t.width <= 0)
        return;
    const double stretch = distance / t.width;
    t.rotation = std::atan2(span.y(), span.x()) * 180 / std::numbers::pi;
    t.widthFactor *= stretch;
    if (f.horizontal == kAligned) {
        t.height *= stretch;
        t.widthFactor /= stretch;
    }
    t.width = distance;
}

// Most attributes hold no embedded object: the codes alone show it, no value read.
bool hasEmbeddedText(const EntityInput& in) {
    const auto& tags = in.drawing.slot(in.id).tags;
    bool marked = false;
    for (std::size_t i = 1; i < tags.size() && tags[i].code < 1000 && !marked; ++i)
        marked = tags[i].code == 101;
    return marked && !EntityTags(in.drawing, in.id, EntityPart::Embedded).empty();
}

} // namespace

SceneText singleLineText(const EntityFields& f, const std::string& utf8, const QString* family,
                         SceneStrings* strings) {
    SceneText t;
    // A string without control codes is shown as it is: decoded straight into the store.
    const bool coded = utf8.find("%%") != std::string::npos;
    if (!strings)
        t.text = displayText(utf8);
    else if (coded)
        t.text = strings->keep(displayText(utf8));
    else
        t.text = strings->decode(utf8);
    // The switches are control codes: a string without "%%" is not read again for them.
    if (coded) {
        const QString coded = QString::fromStdString(utf8);
        t.underline = coded.contains(QLatin1String("%%u"), Qt::CaseInsensitive);
        t.overline = coded.contains(QLatin1String("%%o"), Qt::CaseInsensitive);
    }
    t.family = family;
    t.height = std::abs(f.height);
    t.rotation = f.angle;
    t.oblique = static_cast<float>(f.angle2);
    t.widthFactor = f.scaleX > 0 ? f.scaleX : 1.0;
    t.backwards = (f.code71 & kBackwards) != 0;
    t.upsideDown = (f.code71 & kUpsideDown) != 0;
    // The others that are not left on the baseline hang on the alignment point.
    const bool byAlignmentPoint =
        (f.horizontal != 0 || f.vertical != 0) && f.horizontal != kAligned && f.horizontal != kFit;
    t.anchor = byAlignmentPoint ? QPointF(f.x2, f.y2) : QPointF(f.x, f.y);
    t.width = estimatedWidth(t.text) * t.height * t.widthFactor;
    if (f.horizontal == kAligned || f.horizontal == kFit)
        fitBetweenPoints(t, f);
    else
        t.boxOrigin = textBoxOrigin(t.width, t.height, f.horizontal, f.vertical);
    return t;
}

// TEXT, ATTRIB and ATTDEF: one line in the entity's OCS. An ATTDEF shows its tag; an
// invisible attribute shows nothing; a multi-line attribute is laid out as its embedded
// MTEXT.
void textShapes(const EntityInput& in, ShapeList& out) {
    const EntityFields& f = in.fields;
    const RecordKind kind = in.drawing.slot(in.id).kind;
    const bool attribute = kind == RecordKind::Attrib || kind == RecordKind::Attdef;
    if (attribute && (f.flags & kInvisible))
        return;
    const auto& style = in.styles.textStyle(in.styles.folded(f.style));
    if (attribute && hasEmbeddedText(in))
        return mtextShapesOf(in, EntityTags(in.drawing, in.id, EntityPart::Embedded), out);
    const std::string text =
        in.drawing.codec().decode(kind == RecordKind::Attdef ? f.name : f.text);
    SceneShape shape = textShapeOf(singleLineText(f, text, style.family, in.strings));
    transformShape(shape, ocsToWorld({f.ex, f.ey, f.ez}));
    out.push_back(std::move(shape));
}

} // namespace kalvex::drawing
