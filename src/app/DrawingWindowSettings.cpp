#include "app/DrawingWindowSettings.h"

#include "shell/IniFile.h"

namespace kalvex {

namespace {

const QString kSection = QStringLiteral("DrawingWindow");
const char* const kFrameKeys[] = {"Left", "Top", "Width", "Height"};
const char* const kLayerPanelKey = "LayerPanelWidth";

std::optional<int> readInt(const IniFile& file, const char* key) {
    const std::optional<QString> text = file.value(kSection, QString::fromLatin1(key));
    bool ok = false;
    const int value = text ? text->toInt(&ok) : 0;
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

DrawingWindowSettings readDrawingWindowSettings(const IniFile& file) {
    DrawingWindowSettings settings;
    int numbers[4] = {};
    bool complete = true;
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> value = readInt(file, kFrameKeys[i]);
        complete = complete && value.has_value();
        numbers[i] = value.value_or(0);
    }
    if (complete && numbers[2] > 0 && numbers[3] > 0)
        settings.frame = QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
    settings.drawing = file.value(kSection, QStringLiteral("Drawing")).value_or(QString());
    const std::optional<int> layers = readInt(file, kLayerPanelKey);
    if (layers && *layers > 0)
        settings.layerPanelWidth = layers;
    return settings;
}

void writeDrawingWindowSettings(IniFile& file, const DrawingWindowSettings& settings) {
    if (settings.frame) {
        const QRect& frame = *settings.frame;
        const int numbers[4] = {frame.left(), frame.top(), frame.width(), frame.height()};
        for (int i = 0; i < 4; ++i)
            file.setValue(kSection, QString::fromLatin1(kFrameKeys[i]),
                          QString::number(numbers[i]));
    }
    file.setValue(kSection, QStringLiteral("Drawing"), settings.drawing);
    if (settings.layerPanelWidth)
        file.setValue(kSection, QString::fromLatin1(kLayerPanelKey),
                      QString::number(*settings.layerPanelWidth));
}

} // namespace kalvex
