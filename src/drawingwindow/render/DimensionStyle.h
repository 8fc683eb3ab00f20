#pragma once

#include <QColor>
#include <string>
#include <string_view>

#include "drawing/model/Drawing.h"
#include "drawingwindow/render/EntityTags.h"

namespace kalvex::drawing {

// The end of a dimension or leader line.
enum class ArrowKind { Filled, Open, Tick, Dot, None };

// The dimension variables that shape a dimension's picture, from a DIMSTYLE record and the
// overrides a dimension or leader carries in its extended data. Lengths are before DIMSCALE.
struct DimensionStyle {
    double scale = 1.0;              // DIMSCALE
    double arrowSize = 2.5;          // DIMASZ
    double extensionOffset = 0.625;  // DIMEXO: gap between the measured point and its line
    double extensionBeyond = 1.25;   // DIMEXE: extension line past the dimension line
    double lineBeyond = 0.0;         // DIMDLE: dimension line past extension lines (ticks)
    double rounding = 0.0;           // DIMRND
    double textHeight = 2.5;         // DIMTXT
    double tickSize = 0.0;           // DIMTSZ: oblique ticks instead of arrows when > 0
    double centreMark = 2.5;         // DIMCEN
    double gap = 0.625;              // DIMGAP: room around the text
    double linearFactor = 1.0;       // DIMLFAC
    int decimals = 2;                // DIMDEC
    int angleDecimals = 0;           // DIMADEC (-1: DIMDEC)
    int zeros = 0;                   // DIMZIN
    int angleZeros = 0;              // DIMAZIN
    int textAbove = 1;               // DIMTAD: 0 centred on the line, 1 above, 4 below
    bool insideHorizontal = false;   // DIMTIH
    bool outsideHorizontal = false;  // DIMTOH
    bool suppressExtension1 = false; // DIMSE1
    bool suppressExtension2 = false; // DIMSE2
    bool separateArrows = false;     // DIMSAH
    int linearUnits = 2;             // DIMLUNIT
    int angularUnits = 0;            // DIMAUNIT
    QChar decimalSeparator = QLatin1Char('.');            // DIMDSEP
    std::string post;                                     // DIMPOST, "<>" standing for the value
    int lineColor = 0, extensionColor = 0, textColor = 0; // DIMCLRD, DIMCLRE, DIMCLRT
    ArrowKind arrow = ArrowKind::Filled, arrow1 = ArrowKind::Filled, arrow2 = ArrowKind::Filled;
    ArrowKind leaderArrow = ArrowKind::Filled; // DIMLDRBLK
    std::string textStyle;                     // case-folded name of DIMTXSTY

    // One variable by its group code, as a DIMSTYLE record or an override gives it.
    void set(const Drawing& drawing, int code, std::string_view value);
    // The record's variables over the defaults.
    static DimensionStyle fromRecord(const Drawing& drawing, RecordId record);
    // The "ACAD" "DSTYLE" overrides of an entity's extended data applied over this style.
    DimensionStyle overriddenBy(const Drawing& drawing, RecordId entity) const;

    double scaled(double length) const { return length * scale; }
    ArrowKind firstArrow() const { return separateArrows ? arrow1 : arrow; }
    ArrowKind secondArrow() const { return separateArrows ? arrow2 : arrow; }
};

// The arrow kind of a block name (the built-in "_OBLIQUE", "_DOT" ...); others are filled.
ArrowKind arrowKindOf(std::string_view blockName);

} // namespace kalvex::drawing
