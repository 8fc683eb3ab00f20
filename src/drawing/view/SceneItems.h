#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <memory>
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

// How a block reference places its block: the block's base point is moved to the origin, the
// block scaled, turned and moved to the insertion point.
struct ScenePlacement {
    QPointF base;
    QPointF origin;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double rotation = 0.0; // degrees
};

// A shape of a block as a reference with this placement draws it. Texts keep reading left to
// right whatever the signs of the scales.
SceneShape placedShape(SceneShape shape, const ScenePlacement& at);
std::vector<SceneShape> placedShapes(const std::vector<SceneShape>& shapes,
                                     const ScenePlacement& at);
QPointF placedPoint(const QPointF& p, const ScenePlacement& at);
// The box around a placed box (larger than the placed box itself when the block is turned).
QRectF placedRect(const QRectF& r, const ScenePlacement& at);

// The geometry of a block in the block's own coordinates, made once and shared by every
// reference that draws it alike.
struct SceneBlock {
    std::vector<SceneShape> shapes;
    QRectF bounds; // of the shapes, empty when the block draws nothing
    QRectF ink;    // where painting the shapes may leave ink
};

// A block reference's block: the shared geometry and where the reference puts it.
struct SceneBlockRef {
    std::shared_ptr<const SceneBlock> block;
    ScenePlacement placement;
};

// Everything drawn for one top-level entity of model space (an INSERT with its block's
// geometry and its attributes).
struct SceneEntry {
    RecordId id = kNoRecord;
    std::vector<SceneShape> shapes;
    QRectF bounds;       // in drawing units; empty when nothing is drawn
    bool locked = false; // on a locked layer: drawn faded
    bool live = false;   // erased or hidden entities are not drawn
    // An INSERT's block, drawn placed; `shapes` then hold what the reference adds (attributes).
    std::shared_ptr<const SceneBlockRef> block;
};

// The shapes of an entry as they are drawn, a block reference's block placed.
std::vector<SceneShape> drawnShapes(const SceneEntry& entry);

// The corners of a text's box in drawing units.
std::vector<QPointF> textCorners(const SceneText& text);
// The box around the points and text boxes of shapes.
QRectF boundsOf(const std::vector<SceneShape>& shapes);

} // namespace kalvex::drawing
