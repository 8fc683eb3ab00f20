#pragma once

#include <QRect>
#include <QString>
#include <optional>

namespace kalvex {

class IniFile;

// What the drawing window keeps between runs, in a section of its own in the tool's settings
// file: its frame, the drawing it showed last and the width the user gave the layer panel.
struct DrawingWindowSettings {
    std::optional<QRect> frame;
    QString drawing;
    std::optional<int> layerPanelWidth;
};

DrawingWindowSettings readDrawingWindowSettings(const IniFile& file);
void writeDrawingWindowSettings(IniFile& file, const DrawingWindowSettings& settings);

} // namespace kalvex
