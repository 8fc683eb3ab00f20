#include "drawingwindow/AciColors.h"

#include <array>

namespace kalvex::drawing {

namespace {

// Indexes 10..249 run through 24 hues in steps of 15 degrees; within a hue, the ten entries
// alternate full and half saturation at five falling brightness levels.
QColor hueColor(int index) {
    const int hue = ((index - 10) / 10) * 15;
    const int step = (index - 10) % 10;
    static constexpr std::array<double, 5> kValue = {1.0, 0.8, 0.6, 0.5, 0.3};
    const double value = kValue[static_cast<std::size_t>(step / 2)];
    const double saturation = step % 2 == 0 ? 1.0 : 0.5;
    return QColor::fromHsvF(hue / 360.0, saturation, value);
}

} // namespace

QColor aciColor(int index) {
    static const std::array<QColor, 10> kBasic = {
        QColor(255, 255, 255), QColor(255, 0, 0),     QColor(255, 255, 0), QColor(0, 255, 0),
        QColor(0, 255, 255),   QColor(0, 0, 255),     QColor(255, 0, 255), QColor(255, 255, 255),
        QColor(128, 128, 128), QColor(192, 192, 192),
    };
    if (index >= 1 && index <= 9)
        return kBasic[static_cast<std::size_t>(index)];
    if (index >= 10 && index <= 249)
        return hueColor(index);
    if (index >= 250 && index <= 255) {
        static constexpr std::array<int, 6> kGray = {51, 91, 132, 173, 214, 255};
        const int gray = kGray[static_cast<std::size_t>(index - 250)];
        return QColor(gray, gray, gray);
    }
    return kBasic[7];
}

} // namespace kalvex::drawing
