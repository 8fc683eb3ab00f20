#include "drawing/view/render/EntityShapes.h"

#include <array>
#include <utility>

namespace kalvex::drawing {

namespace {

constexpr std::array<std::pair<std::string_view, ShapeReader>, 20> kReaders{{
    {"LINE", lineShapes},         {"LWPOLYLINE", lwpolylineShapes},
    {"POLYLINE", polylineShapes}, {"CIRCLE", circleShapes},
    {"ARC", arcShapes},           {"ELLIPSE", ellipseShapes},
    {"POINT", pointShapes},       {"XLINE", infiniteLineShapes},
    {"RAY", infiniteLineShapes},  {"SPLINE", splineShapes},
    {"SOLID", solidShapes},       {"TRACE", solidShapes},
    {"3DFACE", faceShapes},       {"WIPEOUT", wipeoutShapes},
    {"LEADER", leaderShapes},     {"HATCH", hatchShapes},
    {"TEXT", textShapes},         {"ATTDEF", textShapes},
    {"ATTRIB", textShapes},       {"MTEXT", mtextShapes},
}};

constexpr std::array<std::string_view, 14> kUndrawn{
    "3DSOLID",         "BODY",        "REGION",      "SURFACE",    "PLANESURFACE",
    "EXTRUDEDSURFACE", "IMAGE",       "OLE2FRAME",   "OLEFRAME",   "MESH",
    "PDFUNDERLAY",     "DWFUNDERLAY", "DGNUNDERLAY", "POINTCLOUD",
};

} // namespace

ShapeReader shapeReaderFor(std::string_view type) {
    for (const auto& [name, reader] : kReaders)
        if (name == type)
            return reader;
    return nullptr;
}

bool isUndrawnKind(std::string_view type) {
    for (std::string_view name : kUndrawn)
        if (name == type)
            return true;
    return false;
}

std::vector<QPointF> splinePoints(const SplineData& spline) {
    if (spline.control.size() >= 2)
        return nurbsPoints(spline.degree, spline.control, spline.knots, spline.weights);
    return curveThrough(spline.fit, spline.closed);
}

} // namespace kalvex::drawing
