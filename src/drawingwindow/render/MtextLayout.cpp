#include "drawingwindow/render/MtextLayout.h"

#include <algorithm>

#include "drawingwindow/TextLayout.h"

namespace kalvex::drawing {

namespace {

// Baselines lie 5/3 of the tallest text of a line apart at a line spacing factor of 1.
constexpr double kLineAdvance = 5.0 / 3.0;
constexpr double kStackScale = 0.6;

// A piece of a line that is never broken: a word or one wide character with the blanks that
// follow it, or a stacked fraction. Blanks are kept apart from the ink (`inkWidth`) because a
// soft line break swallows the blanks where it falls.
struct Piece {
    const MtextRun* run;
    QString text;
    double width;
    double inkWidth;
    double fitWidth; // the ink and one blank: what must fit for the piece to stay on a line
};

struct Line {
    std::vector<Piece> pieces;
    double width = 0;
    double height = 0;
};

double advanceOf(const QString& text, const MtextFormat& f) {
    return estimatedWidth(text) * f.height * f.widthFactor;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ');
}

bool isWideChar(QChar c) {
    return c.unicode() >= 0x2E80;
}

// The end of the word or wide character starting at `from`, before its trailing blanks.
qsizetype wordEnd(const QString& text, qsizetype from) {
    if (isWideChar(text[from]))
        return from + 1;
    qsizetype i = from;
    while (i < text.size() && !isBlank(text[i]) && !isWideChar(text[i]))
        ++i;
    return i;
}

void addPieces(const MtextRun& run, std::vector<Piece>& out) {
    if (!run.stack.isNull()) {
        const double w =
            std::max(advanceOf(run.upper, run.format), advanceOf(run.lower, run.format));
        out.push_back({&run, QString(), w * kStackScale, w * kStackScale, w * kStackScale});
        return;
    }
    for (qsizetype start = 0; start < run.text.size();) {
        const qsizetype ink = wordEnd(run.text, start);
        qsizetype end = ink;
        while (end < run.text.size() && isBlank(run.text[end]))
            ++end;
        const QString word = run.text.mid(start, end - start);
        out.push_back({&run, word, advanceOf(word, run.format),
                       advanceOf(run.text.mid(start, ink - start), run.format),
                       advanceOf(run.text.mid(start, std::min(end, ink + 1) - start), run.format)});
        start = end;
    }
}

// Drops the blanks at the end of a line that a soft break ends.
void trimTrailingBlanks(Line& line) {
    while (!line.pieces.empty()) {
        Piece& last = line.pieces.back();
        line.width -= last.width - last.inkWidth;
        if (!last.run->stack.isNull() || last.inkWidth > 0) {
            while (!last.text.isEmpty() && isBlank(last.text.back()))
                last.text.chop(1);
            last.width = last.inkWidth;
            return;
        }
        line.width -= last.inkWidth;
        line.pieces.pop_back();
    }
}

// A piece of blanks only never starts a line of its own: it stays on the line it follows,
// where a soft break drops it. Blanks that open a paragraph are kept.
std::vector<Line> wrap(const MtextParagraph& paragraph, double width, double nominal) {
    std::vector<Piece> pieces;
    for (const MtextRun& run : paragraph)
        addPieces(run, pieces);
    std::vector<Line> lines(1);
    for (Piece& piece : pieces) {
        Line* line = &lines.back();
        const bool blanksOnly = piece.inkWidth <= 0 && piece.run->stack.isNull();
        if (width > 0 && !line->pieces.empty() && !blanksOnly &&
            line->width + piece.fitWidth > width) {
            trimTrailingBlanks(*line);
            lines.emplace_back();
            line = &lines.back();
        }
        line->width += piece.width;
        line->height = std::max(line->height, piece.run->format.height);
        line->pieces.push_back(std::move(piece));
    }
    for (Line& line : lines)
        if (line.height <= 0)
            line.height = nominal;
    return lines;
}

SceneText textAt(const QString& text, const MtextFormat& f, QPointF at, double height) {
    SceneText t;
    t.text = text;
    t.anchor = at;
    t.height = height;
    t.widthFactor = f.widthFactor;
    t.oblique = static_cast<float>(f.oblique);
    t.family = f.family;
    t.underline = f.underline;
    t.overline = f.overline;
    t.strikeOut = f.strikeOut;
    t.width = estimatedWidth(text) * height * f.widthFactor;
    return t;
}

void addStack(const Piece& piece, QPointF at, std::vector<SceneShape>& out) {
    const MtextRun& run = *piece.run;
    const double h = run.format.height;
    const double small = h * kStackScale;
    SceneShape upper = textShapeOf(textAt(run.upper, run.format, at + QPointF(0, h * 0.55), small));
    SceneShape lower =
        textShapeOf(textAt(run.lower, run.format, at + QPointF(0, -h * 0.25), small));
    upper.color = lower.color = run.format.color;
    out.push_back(std::move(upper));
    out.push_back(std::move(lower));
    if (run.stack == QLatin1Char('^'))
        return;
    const double y = at.y() + h * 0.45;
    SceneShape bar = pathShape({QPointF(at.x(), y), QPointF(at.x() + piece.width, y)}, false);
    if (run.stack == QLatin1Char('#'))
        bar.points = {at + QPointF(0, -h * 0.25), at + QPointF(piece.width, h * 1.15)};
    bar.color = run.format.color;
    out.push_back(std::move(bar));
}

// Consecutive words of one run on one line become one text.
void emitLine(const Line& line, double x, double baseline, std::vector<SceneShape>& out) {
    for (std::size_t i = 0; i < line.pieces.size();) {
        const Piece& piece = line.pieces[i];
        if (!piece.run->stack.isNull()) {
            addStack(piece, QPointF(x, baseline), out);
            x += piece.width;
            ++i;
            continue;
        }
        QString text;
        double width = 0;
        std::size_t j = i;
        for (; j < line.pieces.size() && line.pieces[j].run == piece.run; ++j) {
            text += line.pieces[j].text;
            width += line.pieces[j].width;
        }
        SceneShape shape = textShapeOf(
            textAt(text, piece.run->format, QPointF(x, baseline), piece.run->format.height));
        shape.color = piece.run->format.color;
        out.push_back(std::move(shape));
        x += width;
        i = j;
    }
}

// Where a line goes: the left edge of its column and its baseline.
struct LinePlace {
    double x = 0;
    double baseline = 0;
    std::size_t column = 0;
};

double columnHeight(const MtextColumns& c, std::size_t column) {
    if (column < c.heights.size() && c.heights[column] > 0)
        return c.heights[column];
    return c.height;
}

// Stacks the lines in their columns: a static column starts at its first paragraph, a
// flowing column when the next baseline would fall below the column's height.
std::vector<LinePlace> placeLines(const std::vector<Line>& lines,
                                  const std::vector<std::size_t>& columnOf, const MtextBox& box) {
    const MtextColumns& c = box.columns;
    std::vector<LinePlace> places;
    std::size_t column = 0;
    double y = 0;
    bool first = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double advance =
            first ? lines[i].height
                  : kLineAdvance * box.lineSpacing * std::max(lines[i].height, lines[i - 1].height);
        std::size_t next = column;
        if (c.count > 1 && c.flow && !first && column + 1 < c.count &&
            y - advance < -columnHeight(c, column))
            next = column + 1;
        else if (c.count > 1 && !c.flow)
            next = std::min(columnOf[i], c.count - 1);
        if (next != column) {
            column = next;
            y = -lines[i].height;
        } else {
            y -= advance;
        }
        first = false;
        places.push_back({static_cast<double>(column) * (c.width + c.gutter), y, column});
    }
    return places;
}

} // namespace

std::vector<SceneShape> layoutMtext(const std::vector<MtextParagraph>& paragraphs,
                                    const MtextBox& box, double nominalHeight) {
    const bool columns = box.columns.count > 1 && box.columns.width > 0;
    const double wrapWidth = columns ? box.columns.width : box.width;
    std::vector<Line> lines;
    std::vector<std::size_t> columnOf;
    std::size_t column = 0;
    for (std::size_t p = 0; p < paragraphs.size(); ++p) {
        while (column < box.columnStarts.size() && box.columnStarts[column] <= p)
            ++column;
        std::vector<Line> wrapped = wrap(paragraphs[p], wrapWidth, nominalHeight);
        columnOf.insert(columnOf.end(), wrapped.size(), column);
        lines.insert(lines.end(), std::make_move_iterator(wrapped.begin()),
                     std::make_move_iterator(wrapped.end()));
    }
    MtextBox placing = box;
    if (!columns)
        placing.columns.count = 1;
    const std::vector<LinePlace> places = placeLines(lines, columnOf, placing);
    double lowest = 0;
    for (const LinePlace& place : places)
        lowest = std::min(lowest, place.baseline);
    // Flowing columns that may grow span the columns their lines fill.
    std::size_t count = columns && !box.columns.flow ? box.columns.count : 1;
    for (const LinePlace& place : places)
        count = std::max(count, place.column + 1);
    const double frameWidth = columns ? static_cast<double>(count) * box.columns.width +
                                            static_cast<double>(count - 1) * box.columns.gutter
                                      : 0.0;
    const int attachment = std::clamp(box.attachment, 1, 9);
    const int horizontal = (attachment - 1) % 3, row = (attachment - 1) / 3;
    const double shiftY = row == 0 ? 0.0 : row == 1 ? -lowest / 2 : -lowest;
    std::vector<SceneShape> shapes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // Without columns the insertion point is the anchor of every line; with columns
        // lines align inside their column and the frame of all columns to the point.
        const double room = columns ? box.columns.width - lines[i].width : -lines[i].width;
        const double inColumn = horizontal == 0 ? 0.0 : horizontal == 1 ? room / 2 : room;
        const double frame = horizontal == 0   ? 0.0
                             : horizontal == 1 ? -frameWidth / 2
                                               : -frameWidth;
        emitLine(lines[i], places[i].x + inColumn + frame, places[i].baseline + shiftY, shapes);
    }
    return shapes;
}

} // namespace kalvex::drawing
