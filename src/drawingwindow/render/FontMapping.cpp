#include "drawingwindow/render/FontMapping.h"

#include <array>
#include <utility>

namespace kalvex::drawing {

namespace {

const QString kSans = QStringLiteral("DejaVu Sans");
const QString kSerif = QStringLiteral("DejaVu Serif");
const QString kMono = QStringLiteral("DejaVu Sans Mono");
const QString kGothic = QStringLiteral("Noto Sans CJK JP");
const QString kMincho = QStringLiteral("Noto Serif CJK JP");

// Lower-case fragments of font names and file names, in the order they are tried.
const std::array<std::pair<const char*, const QString*>, 22> kFragments{{
    {"ゴシック", &kGothic},
    {"明朝", &kMincho},
    {"gothic", &kGothic},
    {"mincho", &kMincho},
    {"meiryo", &kGothic},
    {"メイリオ", &kGothic},
    {"yu gothic", &kGothic},
    {"msgothic", &kGothic},
    {"msmincho", &kMincho},
    {"yumin", &kMincho},
    {"yugoth", &kGothic},
    {"hg", &kGothic},
    {"noto sans cjk", &kGothic},
    {"noto serif cjk", &kMincho},
    {"extfont", &kGothic},
    {"bigfont", &kGothic},
    {"times", &kSerif},
    {"serif", &kSerif},
    {"romant", &kSerif},
    {"cour", &kMono},
    {"mono", &kMono},
    {"monotxt", &kMono},
}};

const QString* byFragment(std::string_view name) {
    const QString lower =
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toLower();
    for (const auto& [fragment, family] : kFragments)
        if (lower.contains(QString::fromUtf8(fragment)))
            return family;
    return nullptr;
}

} // namespace

const QString& fontFamilyFor(std::string_view fontFile, std::string_view bigFontFile,
                             std::string_view trueTypeFamily) {
    for (std::string_view name : {trueTypeFamily, fontFile})
        if (const QString* family = byFragment(name))
            return *family;
    if (!bigFontFile.empty())
        return kGothic;
    return kSans;
}

const QString& defaultFontFamily() {
    return kSans;
}

} // namespace kalvex::drawing
