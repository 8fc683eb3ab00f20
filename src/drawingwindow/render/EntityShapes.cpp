#include "drawingwindow/render/EntityShapes.h"

#include <array>
#include <utility>

namespace kalvex::drawing {

namespace {

constexpr std::pair<std::string_view, ShapeReader> kReaders[] = {
    {"LINE", lineShapes},
    {"LWPOLYLINE", lwpolylineShapes},
    {"POLYLINE", polylineShapes},
    {"CIRCLE", circleShapes},
    {"ARC", arcShapes},
    {"ELLIPSE", ellipseShapes},
    {"POINT", pointShapes},
    {"XLINE", infiniteLineShapes},
    {"RAY", infiniteLineShapes},
    {"SPLINE", splineShapes},
    {"SOLID", solidShapes},
    {"TRACE", solidShapes},
    {"3DFACE", faceShapes},
    {"WIPEOUT", wipeoutShapes},
    {"LEADER", leaderShapes},
    {"HATCH", hatchShapes},
    {"TEXT", textShapes},
    {"ATTDEF", textShapes},
    {"ATTRIB", textShapes},
    {"MTEXT", mtextShapes},
    {"MESH", meshShapes},
    {"MLINE", mlineShapes},
    {"MULTILEADER", multiLeaderShapes},
    {"MLEADER", multiLeaderShapes},
    {"TOLERANCE", toleranceShapes},
    {"IMAGE", imageShapes},
};

// Records that may sit among entities without being drawn: parts of other entities, and
// viewports, which belong to paper space.
constexpr std::string_view kNotPictures[] = {"VERTEX", "SEQEND", "ATTRIB", "VIEWPORT", "ENDBLK"};

} // namespace

ShapeReader shapeReaderFor(std::string_view type) {
    for (const auto& [name, reader] : kReaders)
        if (name == type)
            return reader;
    return nullptr;
}

bool isUndrawnKind(std::string_view type) {
    for (std::string_view name : kNotPictures)
        if (name == type)
            return false;
    return !type.empty() && !shapeReaderFor(type) && !isBlockPicture(type) && type != "ACAD_TABLE";
}

bool isBlockPicture(std::string_view type) {
    return type == "DIMENSION" || type == "ARC_DIMENSION" || type == "LARGE_RADIAL_DIMENSION";
}

std::vector<QPointF> splinePoints(const SplineData& spline) {
    if (spline.control.size() >= 2)
        return nurbsPoints(spline.degree, spline.control, spline.knots, spline.weights);
    return curveThrough(spline.fit, spline.closed);
}

} // namespace kalvex::drawing
