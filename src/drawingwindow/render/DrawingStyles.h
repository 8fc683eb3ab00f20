#pragma once

#include <QColor>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "drawing/model/Drawing.h"
#include "drawingwindow/SceneItems.h"
#include "drawingwindow/render/DimensionStyle.h"

namespace kalvex::drawing {

struct LayerLook {
    QColor color;
    bool hidden = false; // off or frozen
    bool locked = false;
    std::string lineType; // case-folded
    float lineWeight = 0; // millimetres
};

struct TextStyle {
    const QString* family = nullptr; // the installed font the style's font maps to
};

// The tables of a drawing the picture depends on: layers, text styles, linetypes, dimension
// styles, and the global linetype scale ($LTSCALE).
class DrawingStyles {
public:
    void read(const Drawing& drawing);

    const std::map<std::string, LayerLook>& layers() const { return m_layers; }
    const LayerLook* layer(const std::string& foldedName) const;
    const TextStyle& textStyle(const std::string& foldedName) const;
    // The case-folded name of these bytes of the file, decoded and folded once per distinct
    // name: entities name their style and linetype by the same few names.
    const std::string& folded(std::string_view raw) const;
    // The dash pattern of a linetype, in drawing units before scaling; null for continuous
    // lines and names the table lacks.
    const LinePattern* lineType(const std::string& foldedName) const;
    // The named dimension style; "Standard" or the defaults for a name the table lacks.
    const DimensionStyle& dimensionStyle(const std::string& foldedName) const;
    double lineTypeScale() const { return m_lineTypeScale; }
    // How POINTs show ($PDMODE) and their size in drawing units ($PDSIZE, or the share of
    // the view it asks for).
    int pointMode() const { return m_pointMode; }
    double pointSize() const;

private:
    void readTableRecord(const Drawing& drawing, RecordId id, std::string_view type);
    void readLayer(const Drawing& drawing, RecordId id);
    void readHeader(const Drawing& drawing, RecordId id);

    std::map<std::string, LayerLook> m_layers;
    std::unordered_map<std::string, TextStyle> m_textStyles;
    std::unordered_map<std::string, LinePattern> m_lineTypes;
    std::unordered_map<std::string, DimensionStyle> m_dimensionStyles;
    DimensionStyle m_defaultDimensionStyle;
    TextStyle m_defaultTextStyle;
    const Drawing* m_drawing = nullptr;
    mutable std::unordered_map<std::string, std::string> m_folded;
    double m_lineTypeScale = 1.0;
    int m_pointMode = 0;
    double m_pointSize = 0.0;
    double m_extentsLow = 0.0, m_extentsHigh = 0.0; // Y of $EXTMIN and $EXTMAX
    double m_activeViewHeight = 0.0;
};

// The lineweight of group 370 in millimetres; BYLAYER (-1), BYBLOCK (-2) and DEFAULT (-3)
// come back as negative numbers for the caller to resolve.
float lineWeightOf(int code370);

} // namespace kalvex::drawing
