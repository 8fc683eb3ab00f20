#pragma once

#include <QColor>
#include <QString>
#include <vector>

#include "drawingwindow/SceneItems.h"

namespace kalvex::drawing {

// How a piece of MTEXT looks; an invalid colour takes the entity's.
struct MtextFormat {
    double height = 1.0;
    const QString* family = nullptr;
    QColor color;
    double widthFactor = 1.0;
    double oblique = 0.0;
    bool underline = false;
    bool overline = false;
    bool strikeOut = false;
};

// Text of one format; a stacked fraction (\S) has its two parts and the stacking sign
// ('/' with a bar, '#' with a slash, '^' without) instead of text.
struct MtextRun {
    QString text;
    MtextFormat format;
    QString upper, lower;
    QChar stack;
};

using MtextParagraph = std::vector<MtextRun>;

// Splits MTEXT content at its paragraph breaks (\P) into runs, following the inline codes:
// font (\f \F), height (\H), width (\W), oblique (\Q), colour (\C \c), underline, overline
// and strike-out (\L \O \K), stacking (\S), non-breaking space (\~), groups ({ }), escaped
// characters, Unicode escapes (\U+XXXX) and the %%c, %%d, %%p signs. Codes that only
// change spacing are passed over.
std::vector<MtextParagraph> parseMtext(const QString& content, const MtextFormat& base);

// Columns side by side, `gutter` apart. Flowing (dynamic) columns take lines until the next
// would fall below the column's height; static columns start at given paragraphs.
struct MtextColumns {
    std::size_t count = 1;
    double width = 0.0;
    double gutter = 0.0;
    bool flow = false;
    double height = 0.0;         // of every column without a height of its own
    std::vector<double> heights; // per column, when they differ
};

struct MtextBox {
    double width = 0.0; // the reference width lines wrap at; 0 does not wrap
    int attachment = 1; // 1 top left ... 9 bottom right
    double lineSpacing = 1.0;
    MtextColumns columns; // lines wrap at the column width when there are columns
    // The paragraphs that begin the second, third ... static column.
    std::vector<std::size_t> columnStarts;
};

// The texts (and fraction bars) of laid-out paragraphs with the insertion point at the origin
// and the text running along +X.
std::vector<SceneShape> layoutMtext(const std::vector<MtextParagraph>& paragraphs,
                                    const MtextBox& box, double nominalHeight);

} // namespace kalvex::drawing
