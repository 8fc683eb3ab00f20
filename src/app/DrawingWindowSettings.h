#pragma once

#include <QRect>
#include <QString>
#include <optional>

namespace kalvex {

class IniFile;

// What the drawing window keeps between runs, in a section of its own in the tool's settings
// file: its frame and the drawing it showed last.
struct DrawingWindowSettings {
    std::optional<QRect> frame;
    QString drawing;
};

DrawingWindowSettings readDrawingWindowSettings(const IniFile& file);
void writeDrawingWindowSettings(IniFile& file, const DrawingWindowSettings& settings);

} // namespace kalvex
