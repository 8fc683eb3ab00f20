#include "drawingwindow/render/MtextColumns.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "drawing/entities/EntityFields.h"
#include "drawingwindow/render/EntityTags.h"

namespace kalvex::drawing {

namespace {

constexpr int kNoColumns = 0;
constexpr int kDynamic = 2;
// Columns wider than this many are damaged values, not a layout.
constexpr int kMostColumns = 100;

double number(std::string_view text) {
    const std::string_view value = trimmedNumber(text);
    double result = 0.0;
    std::from_chars(value.data(), value.data() + value.size(), result);
    return std::isfinite(result) ? result : 0.0;
}

// The settings as both stores give them; `type` 1 is static, 2 dynamic.
struct ColumnSettings {
    int type = kNoColumns;
    int count = 0;
    bool autoHeight = false;
    double width = 0, gutter = 0;
    std::vector<double> heights;
};

MtextColumns columnsFrom(const ColumnSettings& s, double definedHeight) {
    MtextColumns columns;
    if (s.type == kNoColumns || s.width <= 0)
        return columns;
    columns.flow = s.type == kDynamic;
    columns.width = s.width;
    columns.gutter = std::max(0.0, s.gutter);
    columns.height = definedHeight;
    if (!s.autoHeight)
        columns.heights = s.heights;
    // Flowing columns of automatic height take as many columns as the text needs: the count
    // stored is the one the writer last laid out.
    const bool growing = columns.flow && (s.autoHeight || s.count <= 0);
    const int count = growing ? kMostColumns : std::max(1, s.count);
    columns.count = static_cast<std::size_t>(std::clamp(count, 1, kMostColumns));
    return columns;
}

// R2018 on: 71 type, 72 count, 44 width, 45 gutter, 73 automatic height, 46 per column
// height, after the embedded object's own 40..43.
ColumnSettings embeddedSettings(const EntityTags& tags) {
    ColumnSettings s;
    const std::size_t typeAt = tags.find(71);
    if (typeAt == tags.size())
        return s;
    s.type = tags.integer(typeAt);
    s.count = tags.integerOf(72);
    s.width = tags.realOf(44);
    s.gutter = tags.realOf(45);
    s.autoHeight = tags.integerOf(73) != 0;
    for (std::size_t i = tags.find(46, typeAt); i < tags.size(); i = tags.find(46, i + 1))
        s.heights.push_back(tags.real(i));
    return s;
}

// Older files: pairs of a 1070 code and its value inside ACAD_MTEXT_COLUMN_INFO_BEGIN/END:
// 75 type, 76 count, 79 automatic height, 48 width, 49 gutter, 50 a count of heights and
// the heights.
ColumnSettings xdataSettings(const Drawing& drawing, RecordId id) {
    ColumnSettings s;
    const dxf::TagList& tags = drawing.slot(id).tags;
    std::size_t i = 1;
    while (i < tags.size() && drawing.value(tags[i]) != "ACAD_MTEXT_COLUMN_INFO_BEGIN")
        ++i;
    for (++i; i + 1 < tags.size(); i += 2) {
        if (tags[i].code != 1070)
            break;
        const int code = static_cast<int>(number(drawing.value(tags[i])));
        const double value = number(drawing.value(tags[i + 1]));
        if (code == 75)
            s.type = static_cast<int>(value);
        else if (code == 76)
            s.count = static_cast<int>(value);
        else if (code == 79)
            s.autoHeight = value != 0;
        else if (code == 48)
            s.width = value;
        else if (code == 49)
            s.gutter = value;
        else if (code == 50) {
            const auto heights = static_cast<std::size_t>(std::clamp(value, 0.0, 100.0));
            for (std::size_t k = 0; k < heights && i + 2 < tags.size(); ++k, ++i)
                s.heights.push_back(number(drawing.value(tags[i + 2])));
        }
    }
    return s;
}

} // namespace

MtextColumns mtextColumnsOf(const Drawing& drawing, RecordId id, double definedHeight) {
    const EntityTags embedded(drawing, id, EntityPart::Embedded);
    const ColumnSettings s =
        embedded.empty() ? xdataSettings(drawing, id) : embeddedSettings(embedded);
    return columnsFrom(s, definedHeight);
}

std::vector<QString> splitAtColumnBreaks(const QString& content) {
    std::vector<QString> parts(1);
    for (qsizetype i = 0; i < content.size(); ++i) {
        if (content[i] == QLatin1Char('\\') && i + 1 < content.size()) {
            if (content[i + 1] == QLatin1Char('N')) {
                parts.emplace_back();
                ++i;
                continue;
            }
            parts.back() += content[i];
            ++i;
        }
        parts.back() += content[i];
    }
    return parts;
}

} // namespace kalvex::drawing
