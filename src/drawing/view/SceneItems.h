#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "drawing/model/Record.h"

namespace kalvex::drawing {

// One line of text as the drawing places it, in drawing units.
struct SceneText {
    QString text;
    QPointF anchor;        // the point the alignment refers to
    double height = 1.0;   // cap height
    double rotation = 0.0; // degrees, counter-clockwise
    double widthFactor = 1.0;
    double width = 0.0; // estimated advance of the whole string, width factor included
    QPointF boxOrigin;  // lower left of the text box relative to the anchor, unrotated
};

// A piece of an entity's picture: a polyline, or a text.
struct SceneShape {
    QColor color;
    std::vector<QPointF> points; // empty for a text
    bool closed = false;
    bool isText = false;
    SceneText text;
};

// Everything drawn for one top-level entity of model space (an INSERT with its block's
// geometry and its attributes).
struct SceneEntry {
    RecordId id = kNoRecord;
    std::vector<SceneShape> shapes;
    QRectF bounds;       // in drawing units; empty when nothing is drawn
    bool locked = false; // on a locked layer: drawn faded
    bool live = false;   // erased or hidden entities are not drawn
};

// The corners of a text's box in drawing units.
std::vector<QPointF> textCorners(const SceneText& text);

} // namespace kalvex::drawing
