#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <array>
#include <memory>
#include <vector>

#include "drawing/model/Record.h"

namespace kalvex::drawing {

// A point in single precision, for offsets that need no more precision than a look.
class CompactPoint {
public:
    CompactPoint() = default;
    CompactPoint(const QPointF& p)
        : m_x(static_cast<float>(p.x())), m_y(static_cast<float>(p.y())) {}
    operator QPointF() const { return {m_x, m_y}; }
    double x() const { return m_x; }
    double y() const { return m_y; }

private:
    float m_x = 0.0f, m_y = 0.0f;
};

// A shape's colour in half the room of a QColor: the colour as RGBA, or none (the shape then
// takes the colour its style gives it).
class ShapeColor {
public:
    ShapeColor() = default;
    ShapeColor(const QColor& color) : m_rgba(color.rgba()), m_valid(color.isValid()) {}
    bool isValid() const { return m_valid; }
    QColor toColor() const {
        return m_valid ? QColor(qRed(m_rgba), qGreen(m_rgba), qBlue(m_rgba), qAlpha(m_rgba))
                       : QColor();
    }
    friend bool operator==(const ShapeColor&, const ShapeColor&) = default;

private:
    QRgb m_rgba = 0;
    bool m_valid = false;
};

// One line of text as the drawing places it, in drawing units.
struct SceneText {
    // Sizes and angles in single precision: a drawing holds hundreds of thousands of texts,
    // and their look needs no more; the anchor, which places them, keeps double precision.
    QString text;
    QPointF anchor;        // the point the alignment refers to
    float height = 1.0f;   // cap height
    float rotation = 0.0f; // degrees, counter-clockwise
    float widthFactor = 1.0f;
    float width = 0.0f;     // estimated advance of the whole string, width factor included
    CompactPoint boxOrigin; // lower left of the text box relative to the anchor, unrotated
    // The font family, one of the font mapping's (shared by every text); null for the default.
    const QString* family = nullptr;
    float oblique = 0.0f;        // degrees the glyphs lean to the right
    bool backwards : 1 = false;  // mirrored left to right about the anchor
    bool upsideDown : 1 = false; // mirrored top to bottom about the anchor
    bool underline : 1 = false;
    bool overline : 1 = false;
    bool strikeOut : 1 = false;
};

enum class ShapeKind : std::uint8_t {
    Polyline,   // points joined in order, closed or not
    Text,       // the text member
    Fill,       // the area the rings enclose (odd-even), filled with the colour
    Background, // like Fill, painted in the background colour (masks what lies below)
    Point,      // one point, a dot on screen
    Ray,        // from points[0] through points[1] and on, clipped to the view
    Xline,      // through points[0] and points[1] both ways, clipped to the view
    Segments,   // separate lines between points 0-1, 2-3 ... (the lines of a hatch pattern)
    Image,      // a raster picture from the file named in text.text: points 0-2 its upper left,
                // upper right and lower left corners, then the clip boundary
};

// A dash pattern in drawing units: dashes positive, gaps negative, dots zero.
struct LinePattern {
    std::vector<double> lengths;
    double total = 0.0;
};

// A piece of an entity's picture: a polyline, an area, a point or a text.
struct SceneShape {
    ShapeColor color;
    std::vector<QPointF> points; // empty for a text
    SceneText text;
    std::vector<std::uint32_t> ringEnds;        // areas: where each ring ends in points; empty: one
    std::shared_ptr<const LinePattern> pattern; // null: continuous
    float lineWeight = 0.0f;                    // millimetres; 0 draws the thinnest line
    float width = 0.0f;                         // drawing units: the width of a wide polyline
    ShapeKind kind = ShapeKind::Polyline;
    bool closed = false;
    bool isText = false;
};

// The geometry of a block in the block's own coordinates, made once and shared by every
// reference that draws it alike.
struct SceneBlock {
    std::vector<SceneShape> shapes;
    QRectF bounds; // of the shapes, empty when the block draws nothing
    QRectF ink;    // where painting the shapes may leave ink
};

// A block reference's block: the shared geometry and the map that places it.
struct SceneBlockRef {
    std::shared_ptr<const SceneBlock> block;
    QTransform map; // block coordinates to drawing units
};

// Everything drawn for one top-level entity of model space (an INSERT with its block's
// geometry and its attributes).
struct SceneEntry {
    RecordId id = kNoRecord;
    // The opaque colour of what the entry draws first, kept beside its flags so that an entry
    // drawn as a dot is drawn without reading its shapes (see mainColor).
    std::uint8_t mainRed = 0, mainGreen = 0, mainBlue = 0;
    bool mainColorKept : 1 = false;
    bool locked : 1 = false;    // on a locked layer: drawn faded
    bool live : 1 = false;      // erased or hidden entities are not drawn
    bool unbounded : 1 = false; // holds a ray or construction line, drawn whatever the area
    bool masks : 1 = false;     // holds a wipeout, or its block does: painted in drawing order
    std::vector<SceneShape> shapes;
    QRectF bounds; // in drawing units; empty when nothing is drawn
    // A block reference's block, drawn placed; `shapes` then hold what the reference adds
    // (its attributes).
    std::shared_ptr<const SceneBlockRef> block;
};

// The corners of a text's box in drawing units.
std::array<QPointF, 4> textCorners(const SceneText& text);
// The same for a box of the text's placement given apart (its origin, width and height).
std::array<QPointF, 4> textCorners(const SceneText& text, CompactPoint boxOrigin, float width,
                                   float height);

SceneShape textShapeOf(SceneText text);
SceneShape pathShape(std::vector<QPointF> points, bool closed);
SceneShape areaShape(std::vector<std::vector<QPointF>> rings, ShapeKind kind);

// Maps a shape given in local coordinates through an affine map (a block placement, an
// object coordinate system); texts keep their look: rotated, scaled, slanted or mirrored.
void transformShape(SceneShape& shape, const QTransform& map);
// The points a shape covers, text boxes by their corners.
QRectF shapeBounds(const SceneShape& shape);
QRectF shapeBounds(const std::vector<SceneShape>& shapes);

// Copies of shapes mapped through an affine map.
std::vector<SceneShape> transformedShapes(const std::vector<SceneShape>& shapes,
                                          const QTransform& map);
// Whether the shapes hold an area painted in the background colour (a wipeout).
bool holdsMask(const std::vector<SceneShape>& shapes);
// The shapes of an entry as they are drawn, a block reference's block placed.
std::vector<SceneShape> drawnShapes(const SceneEntry& entry);

} // namespace kalvex::drawing
