#pragma once

#include <QString>

#include "drawingwindow/render/DimensionStyle.h"
#include "drawingwindow/render/EntityShapes.h"

namespace kalvex::drawing {

// A length as the style formats it: rounded (DIMRND), in its units (DIMLUNIT) and precision
// (DIMDEC), zeros suppressed as DIMZIN says, with its decimal separator (DIMDSEP).
QString linearMeasurement(double value, const DimensionStyle& style);
// An angle in degrees in the style's angular units (DIMAUNIT) and precision (DIMADEC).
QString angularMeasurement(double degrees, const DimensionStyle& style);
// The text a dimension shows: the measured text with DIMPOST, or the entity's own text.
QString dimensionText(const QString& measured, const QString& override, const QString& post);

// An arrowhead of the style's size with its tip at `tip` and its body lying along `body` (a
// unit vector), in the colour of dimension lines (DIMCLRD).
void arrowShapes(const DimensionStyle& style, ArrowKind kind, QPointF tip, QPointF body,
                 ShapeList& out);

// A dimension's text laid out (MTEXT codes followed) with its size, ready to be placed.
struct PlacedText {
    ShapeList shapes;
    double width = 0, height = 0;
    QPointF centre; // of the laid-out shapes
};
PlacedText layDimensionText(const QString& content, const DimensionStyle& style,
                            const QString* family);
// Adds the text with its centre at this point, turned by this angle (degrees).
void placeText(const PlacedText& text, QPointF centre, double degrees, ShapeList& out);

} // namespace kalvex::drawing
