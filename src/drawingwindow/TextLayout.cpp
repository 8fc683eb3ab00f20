#include "drawingwindow/TextLayout.h"

#include <array>

namespace kalvex::drawing {

namespace {

constexpr bool isWide(char32_t c) {
    if (c >= 0xFF61 && c <= 0xFF9F) // half-width katakana and marks
        return false;
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
}

} // namespace

QString displayText(const std::string& utf8) {
    QString text = QString::fromStdString(utf8);
    if (!text.contains(QLatin1String("%%")))
        return text;
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('%') || i + 2 >= text.size() ||
            text[i + 1] != QLatin1Char('%')) {
            shown += text[i];
            continue;
        }
        const QChar code = text[i + 2].toLower();
        if (code == QLatin1Char('c'))
            shown += QChar(0x2300);
        else if (code == QLatin1Char('d'))
            shown += QChar(0x00B0);
        else if (code == QLatin1Char('p'))
            shown += QChar(0x00B1);
        else if (code == QLatin1Char('%'))
            shown += QLatin1Char('%');
        else if (code != QLatin1Char('u') && code != QLatin1Char('o'))
            shown += text.mid(i, 3);
        i += 2;
    }
    return shown;
}

// Advances in units of the cap height of the fonts text is drawn with (DejaVu Sans, and a
// CJK font whose wide characters are one em, 1.35 cap heights).
constexpr double advanceOf(char32_t c) {
    if (isWide(c))
        return 1.35;
    if (c >= 0xFF61 && c <= 0xFF9F)
        return 0.68;
    if (c == U' ' || c == 0xA0)
        return 0.43;
    if (c == U'i' || c == U'l' || c == U'j' || c == U'I' || c == U'|')
        return 0.38;
    if (c == U'f' || c == U't' || c == U'r')
        return 0.52;
    if (c == U'm' || c == U'w' || c == U'M' || c == U'W')
        return 1.2;
    if (c >= U'0' && c <= U'9')
        return 0.86;
    if (c >= U'A' && c <= U'Z')
        return 0.91;
    if (c == 0x2300) // drawn as a capital O with a stroke
        return 1.05;
    if (c >= U'a' && c <= U'z')
        return 0.76;
    return c < 0x80 ? 0.5 : 0.8;
}

namespace {

// The advances of ASCII, which most strings of a drawing are, looked up rather than sorted out.
constexpr std::array<double, 128> kAsciiAdvances = [] {
    std::array<double, 128> advances{};
    for (char32_t c = 0; c < advances.size(); ++c)
        advances[c] = advanceOf(c);
    return advances;
}();

} // namespace

// Read straight from the UTF-16 units, pairs of surrogates joined (a lone one counts as the
// replacement character would), without a copy of the string in UCS-4.
double estimatedWidth(const QString& text) {
    double width = 0.0;
    const QChar* units = text.constData();
    const qsizetype count = text.size();
    for (qsizetype i = 0; i < count; ++i) {
        char32_t c = units[i].unicode();
        if (c < kAsciiAdvances.size()) {
            width += kAsciiAdvances[c];
            continue;
        }
        if (units[i].isSurrogate()) {
            if (units[i].isHighSurrogate() && i + 1 < count && units[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(units[i], units[i + 1]);
                ++i;
            } else {
                c = QChar::ReplacementCharacter;
            }
        }
        width += advanceOf(c);
    }
    return width;
}

QPointF textBoxOrigin(double width, double height, int horizontal, int vertical) {
    double x = 0.0;
    if (horizontal == 1 || horizontal == 4)
        x = -width / 2;
    else if (horizontal == 2)
        x = -width;
    // Middle (4) centres the box both ways whatever the vertical code says.
    double y = 0.0;
    if (horizontal == 4 || vertical == 2)
        y = -height / 2;
    else if (vertical == 1)
        y = height * 0.25; // the descenders rest on the point
    else if (vertical == 3)
        y = -height;
    return {x, y};
}

} // namespace kalvex::drawing
