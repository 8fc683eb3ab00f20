#pragma once

#include <string_view>
#include <vector>

#include "drawing/entities/EntityFields.h"
#include "drawing/model/Drawing.h"
#include "drawingwindow/SceneItems.h"
#include "drawingwindow/SceneStrings.h"
#include "drawingwindow/render/DrawingStyles.h"
#include "drawingwindow/render/EntityTags.h"

namespace kalvex::drawing {

// What a reader of one entity kind is given.
struct EntityInput {
    const Drawing& drawing;
    RecordId id;
    const EntityFields& fields;
    const DrawingStyles& styles;
    // Where the strings of plain texts are kept, when the shapes are the scene's own; null:
    // strings of their own.
    SceneStrings* strings = nullptr;
};

using ShapeList = std::vector<SceneShape>;
// Adds the shapes of one entity in the coordinates of the block (or model space) it lies
// in. A shape left without a colour takes the entity's.
using ShapeReader = void (*)(const EntityInput&, ShapeList&);

// The reader of a DXF type; null for the kinds the builder expands itself (INSERT,
// DIMENSION) and for those not drawn.
ShapeReader shapeReaderFor(std::string_view type);
// Entity kinds the window does not draw (3D solids, images, OLE objects, multileaders ...),
// which the user is told of.
bool isUndrawnKind(std::string_view type);
// Kinds whose picture is an anonymous block drawn where it lies (dimensions).
bool isBlockPicture(std::string_view type);

// One reader per kind, grouped by the file that holds them.
void lineShapes(const EntityInput& in, ShapeList& out);
void lwpolylineShapes(const EntityInput& in, ShapeList& out);
void polylineShapes(const EntityInput& in, ShapeList& out);
void circleShapes(const EntityInput& in, ShapeList& out);
void arcShapes(const EntityInput& in, ShapeList& out);
void ellipseShapes(const EntityInput& in, ShapeList& out);
void pointShapes(const EntityInput& in, ShapeList& out);
void infiniteLineShapes(const EntityInput& in, ShapeList& out);
void splineShapes(const EntityInput& in, ShapeList& out);
void solidShapes(const EntityInput& in, ShapeList& out);
void faceShapes(const EntityInput& in, ShapeList& out);
void wipeoutShapes(const EntityInput& in, ShapeList& out);
void leaderShapes(const EntityInput& in, ShapeList& out);
void hatchShapes(const EntityInput& in, ShapeList& out);
void textShapes(const EntityInput& in, ShapeList& out);
void mtextShapes(const EntityInput& in, ShapeList& out);
void meshShapes(const EntityInput& in, ShapeList& out);
void mlineShapes(const EntityInput& in, ShapeList& out);
// A dimension built from its definition points and style, when it has no block.
void dimensionShapes(const EntityInput& in, ShapeList& out);
// A multileader's lines, arrowheads, landing and text (a block as content is the builder's).
void multiLeaderShapes(const EntityInput& in, ShapeList& out);
// A feature control frame: boxes around the fields of its string, row by row.
void toleranceShapes(const EntityInput& in, ShapeList& out);
void imageShapes(const EntityInput& in, ShapeList& out);

// One line of a TEXT, ATTRIB or ATTDEF in its own coordinates (OCS), before any placement;
// its string kept in `strings` when given.
SceneText singleLineText(const EntityFields& fields, const std::string& utf8, const QString* family,
                         SceneStrings* strings = nullptr);
// The MTEXT in these pairs: an MTEXT entity's main part or a multi-line attribute's
// embedded object.
void mtextShapesOf(const EntityInput& in, const EntityTags& tags, ShapeList& out);

// The spline of a SPLINE entity or a hatch edge: control points with knots, or fit points.
struct SplineData {
    int degree = 3;
    bool closed = false;
    std::vector<double> knots;
    std::vector<double> weights;
    std::vector<QPointF> control;
    std::vector<QPointF> fit;
};
std::vector<QPointF> splinePoints(const SplineData& spline);

} // namespace kalvex::drawing
