#include <cmath>
#include <numbers>

#include "drawingwindow/render/DimensionParts.h"
#include "drawingwindow/render/EntityShapes.h"
#include "drawingwindow/render/MtextLayout.h"
#include "drawingwindow/render/MultiLeader.h"

namespace kalvex::drawing {

namespace {

constexpr int kInvisibleLines = 0;
constexpr int kSplineLines = 2;
constexpr int kMtextContent = 2;

QString decoded(const EntityInput& in, std::string_view bytes) {
    return QString::fromStdString(in.drawing.codec().decode(bytes));
}

// The arrowhead block a handle names; none named is the filled arrow.
ArrowKind arrowOf(const Drawing& drawing, std::string_view handle) {
    const auto id = drawing.findHandle(trimmedNumber(handle));
    if (!id)
        return ArrowKind::Filled;
    return arrowKindOf(drawing.codec().decode(EntityTags(drawing, *id).textOf(2)));
}

void leaderLines(const EntityInput& in, const MultiLeader& m, ShapeList& out) {
    DimensionStyle arrows;
    arrows.arrowSize = m.arrowSize;
    const ArrowKind kind = arrowOf(in.drawing, m.arrowHandle);
    for (const MultiLeader::Branch& branch : m.branches) {
        for (std::vector<QPointF> line : branch.lines) {
            line.push_back(branch.connection);
            if (line.size() < 2)
                continue;
            if (m.lineType != kInvisibleLines) {
                const bool spline = m.lineType == kSplineLines && line.size() > 2;
                out.push_back(pathShape(spline ? curveThrough(line, false) : line, false));
            }
            const QPointF towards = line[1] - line[0];
            const double length = std::hypot(towards.x(), towards.y());
            if (length > 0 && m.arrowSize > 0)
                arrowShapes(arrows, kind, line[0], towards / length, out);
        }
        if (m.dogleg && branch.doglegLength > 0)
            out.push_back(
                pathShape({branch.connection,
                           branch.connection + branch.doglegDirection * branch.doglegLength},
                          false));
    }
}

void leaderText(const EntityInput& in, const MultiLeader& m, ShapeList& out) {
    MtextFormat base;
    base.height = m.textHeight;
    base.family = in.styles.textStyle({}).family;
    MtextBox box;
    box.width = m.textWidth;
    box.attachment = std::clamp(m.textAlignment, 1, 3);
    const double radians = std::atan2(m.textDirection.y(), m.textDirection.x());
    QTransform frame;
    frame.translate(m.textInsert.x(), m.textInsert.y());
    frame.rotate(radians * 180 / std::numbers::pi);
    for (SceneShape& shape : layoutMtext(parseMtext(decoded(in, m.text), base), box, base.height)) {
        transformShape(shape, frame);
        out.push_back(std::move(shape));
    }
}

} // namespace

// A multileader's context holds its leaders ("LEADER{" ... "}"), each with its lines
// ("LEADER_LINE{" ... "}"), and its content; the properties after the context say how the
// lines look. Code 304 is the text before the first leader and a line's opening inside one.
MultiLeader readMultiLeader(const EntityTags& tags) {
    MultiLeader m;
    enum class Part { Outside, Context, Leader, Line } part = Part::Outside;
    bool outsideLanding = false;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const std::int16_t code = tags.code(i);
        const bool opens = (code == 300 && part == Part::Outside) ||
                           (code == 302 && part == Part::Context) ||
                           (code == 304 && part == Part::Leader);
        if (opens) {
            part = code == 300 ? Part::Context : code == 302 ? Part::Leader : Part::Line;
            if (code == 302)
                m.branches.emplace_back();
            if (code == 304)
                m.branches.back().lines.emplace_back();
            continue;
        }
        switch (part) {
        case Part::Line:
            if (code == 10)
                m.branches.back().lines.back().push_back(tags.point(i));
            else if (code == 305)
                part = Part::Leader;
            break;
        case Part::Leader:
            if (code == 10)
                m.branches.back().connection = tags.point(i);
            else if (code == 11)
                m.branches.back().doglegDirection = tags.point(i);
            else if (code == 40)
                m.branches.back().doglegLength = tags.real(i);
            else if (code == 303)
                part = Part::Context;
            break;
        case Part::Context:
            m.readContext(tags, i);
            if (code == 301)
                part = Part::Outside;
            break;
        case Part::Outside:
            if (code == 170)
                m.lineType = tags.integer(i);
            else if (code == 342)
                m.arrowHandle = tags.text(i);
            else if (code == 172)
                m.contentType = tags.integer(i);
            else if (code == 291 && !outsideLanding) {
                m.dogleg = tags.integer(i) != 0;
                outsideLanding = true;
            } else if (code == 330) {
                m.attributes.push_back({tags.text(i), {}});
            } else if (code == 302 && !m.attributes.empty()) {
                m.attributes.back().text = tags.text(i);
            }
            break;
        }
    }
    return m;
}

void MultiLeader::readContext(const EntityTags& tags, std::size_t i) {
    switch (tags.code(i)) {
    case 41:
        textHeight = std::abs(tags.real(i));
        break;
    case 140:
        arrowSize = std::abs(tags.real(i));
        break;
    case 290:
        hasText = hasText || tags.integer(i) != 0;
        break;
    case 304:
        text = tags.text(i);
        break;
    case 12:
        textInsert = tags.point(i);
        break;
    case 13:
        textDirection = tags.point(i);
        break;
    case 43:
        textWidth = std::max(0.0, tags.real(i));
        break;
    case 171:
        textAlignment = tags.integer(i);
        break;
    case 341:
        blockHandle = tags.text(i);
        break;
    case 15:
        blockInsert = tags.point(i);
        break;
    case 16:
        blockScale = tags.point(i);
        break;
    case 46:
        blockRotation = tags.real(i);
        break;
    default:
        break;
    }
}

// The lines, arrowheads, landing and text of a multileader; a block as content is placed by
// the scene builder, which expands blocks.
void multiLeaderShapes(const EntityInput& in, ShapeList& out) {
    const MultiLeader m = readMultiLeader(EntityTags(in.drawing, in.id));
    leaderLines(in, m, out);
    if (m.contentType == kMtextContent && !m.text.empty())
        leaderText(in, m, out);
}

} // namespace kalvex::drawing
