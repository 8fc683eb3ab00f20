#include "drawingwindow/render/MtextLayout.h"

#include <algorithm>

#include "drawingwindow/TextLayout.h"

namespace kalvex::drawing {

namespace {

// Baselines lie 5/3 of the tallest text of a line apart at a line spacing factor of 1.
constexpr double kLineAdvance = 5.0 / 3.0;
constexpr double kStackScale = 0.6;

// A piece of a line that is never broken: a word with its trailing blank, one wide
// character, or a stacked fraction.
struct Piece {
    const MtextRun* run;
    QString text;
    double width;
};

struct Line {
    std::vector<Piece> pieces;
    double width = 0;
    double height = 0;
};

double advanceOf(const QString& text, const MtextFormat& f) {
    return estimatedWidth(text) * f.height * f.widthFactor;
}

bool breaksAfter(QChar c) {
    return c == QLatin1Char(' ') || c.unicode() >= 0x2E80;
}

void addPieces(const MtextRun& run, std::vector<Piece>& out) {
    if (!run.stack.isNull()) {
        const double w =
            std::max(advanceOf(run.upper, run.format), advanceOf(run.lower, run.format));
        out.push_back({&run, QString(), w * kStackScale});
        return;
    }
    qsizetype start = 0;
    for (qsizetype i = 0; i < run.text.size(); ++i) {
        const bool wideNext = i + 1 < run.text.size() && run.text[i + 1].unicode() >= 0x2E80;
        if (breaksAfter(run.text[i]) || wideNext || i + 1 == run.text.size()) {
            const QString word = run.text.mid(start, i + 1 - start);
            out.push_back({&run, word, advanceOf(word, run.format)});
            start = i + 1;
        }
    }
}

std::vector<Line> wrap(const MtextParagraph& paragraph, double width, double nominal) {
    std::vector<Piece> pieces;
    for (const MtextRun& run : paragraph)
        addPieces(run, pieces);
    std::vector<Line> lines(1);
    for (Piece& piece : pieces) {
        Line* line = &lines.back();
        if (width > 0 && !line->pieces.empty() && line->width + piece.width > width) {
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

} // namespace

std::vector<SceneShape> layoutMtext(const std::vector<MtextParagraph>& paragraphs,
                                    const MtextBox& box, double nominalHeight) {
    std::vector<Line> lines;
    for (const MtextParagraph& paragraph : paragraphs) {
        std::vector<Line> wrapped = wrap(paragraph, box.width, nominalHeight);
        lines.insert(lines.end(), std::make_move_iterator(wrapped.begin()),
                     std::make_move_iterator(wrapped.end()));
    }
    std::vector<double> baselines;
    double y = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        y -= i == 0
                 ? lines[i].height
                 : kLineAdvance * box.lineSpacing * std::max(lines[i].height, lines[i - 1].height);
        baselines.push_back(y);
    }
    const int attachment = std::clamp(box.attachment, 1, 9);
    const int column = (attachment - 1) % 3, row = (attachment - 1) / 3;
    const double shiftY = row == 0 ? 0.0 : row == 1 ? -y / 2 : -y;
    std::vector<SceneShape> shapes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double x = column == 0 ? 0.0 : column == 1 ? -lines[i].width / 2 : -lines[i].width;
        emitLine(lines[i], x, baselines[i] + shiftY, shapes);
    }
    return shapes;
}

} // namespace kalvex::drawing
