#include <stack>

#include "drawingwindow/AciColors.h"
#include "drawingwindow/render/FontMapping.h"
#include "drawingwindow/render/MtextLayout.h"

namespace kalvex::drawing {

namespace {

constexpr int kByBlock = 0;
constexpr int kByLayer = 256;

// Reads MTEXT content once from left to right, keeping the format of the current group.
class MtextParser {
public:
    MtextParser(const QString& content, const MtextFormat& base) : m_in(content), m_format(base) {
        m_paragraphs.emplace_back();
    }

    std::vector<MtextParagraph> run() {
        while (m_at < m_in.size())
            step();
        flush();
        return std::move(m_paragraphs);
    }

private:
    void step() {
        const QChar c = m_in[m_at++];
        if (c == QLatin1Char('\\'))
            return escape();
        if (c == QLatin1Char('{')) {
            flush();
            m_groups.push(m_format);
        } else if (c == QLatin1Char('}')) {
            flush();
            if (!m_groups.empty()) {
                m_format = m_groups.top();
                m_groups.pop();
            }
        } else if (c == QLatin1Char('%') && percentSign()) {
            return;
        } else if (c == QLatin1Char('^') && m_at < m_in.size()) {
            caret();
        } else {
            m_text += c;
        }
    }

    // %%c, %%d and %%p stand for the diameter, degree and plus/minus signs.
    bool percentSign() {
        if (m_at + 1 >= m_in.size() || m_in[m_at] != QLatin1Char('%'))
            return false;
        const QChar code = m_in[m_at + 1].toLower();
        const QChar sign = code == QLatin1Char('c')   ? QChar(0x2300)
                           : code == QLatin1Char('d') ? QChar(0x00B0)
                           : code == QLatin1Char('p') ? QChar(0x00B1)
                           : code == QLatin1Char('%') ? QLatin1Char('%')
                                                      : QChar();
        if (sign.isNull())
            return false;
        m_text += sign;
        m_at += 2;
        return true;
    }

    // ^I is a tab, ^J a line feed; any other caret pair is kept as it is.
    void caret() {
        const QChar next = m_in[m_at];
        if (next == QLatin1Char('I')) {
            m_text += QLatin1Char(' ');
            ++m_at;
        } else if (next == QLatin1Char('J')) {
            newParagraph();
            ++m_at;
        } else {
            m_text += QLatin1Char('^');
        }
    }

    void escape() {
        if (m_at >= m_in.size())
            return;
        const QChar code = m_in[m_at++];
        switch (code.unicode()) {
        case 'P':
        case 'N':
            return newParagraph();
        case '~':
            m_text += QChar(0x00A0);
            return;
        case 'L':
        case 'l':
            flush();
            m_format.underline = code == QLatin1Char('L');
            return;
        case 'O':
        case 'o':
            flush();
            m_format.overline = code == QLatin1Char('O');
            return;
        case 'K':
        case 'k':
            flush();
            m_format.strikeOut = code == QLatin1Char('K');
            return;
        case 'f':
        case 'F':
            flush();
            return font(argument());
        case 'H':
            flush();
            return scaled(m_format.height, argument());
        case 'W':
            flush();
            return scaled(m_format.widthFactor, argument());
        case 'Q':
            flush();
            m_format.oblique = argument().toDouble();
            return;
        case 'C':
            flush();
            return aci(argument().toInt());
        case 'c':
            flush();
            return trueColor(argument().toInt());
        case 'S':
            return stacked(argument());
        case 'U':
            return unicodeEscape();
        case 'A':
        case 'T':
        case 'p':
        case 'X':
            argument();
            return;
        default:
            m_text += code;
            return;
        }
    }

    // The value of a code runs to the next ';' (to the end when it has none).
    QString argument() {
        const qsizetype end = m_in.indexOf(QLatin1Char(';'), m_at);
        const qsizetype stop = end < 0 ? m_in.size() : end;
        QString value = m_in.mid(m_at, stop - m_at);
        m_at = end < 0 ? m_in.size() : end + 1;
        return value;
    }

    // "Arial|b0|i0|c128|p34" or "romans.shx"
    void font(const QString& value) {
        const QByteArray name = value.section(QLatin1Char('|'), 0, 0).toUtf8();
        m_format.family = &fontFamilyFor(std::string_view(name.constData(), name.size()), {}, {});
    }

    // "2.5" sets the value, "0.7x" multiplies it.
    static void scaled(double& value, const QString& text) {
        const bool relative = text.endsWith(QLatin1Char('x'), Qt::CaseInsensitive);
        bool ok = false;
        const double number = (relative ? text.chopped(1) : text).toDouble(&ok);
        if (!ok || !(number > 0) || number > 1e6)
            return;
        value = relative ? value * number : number;
    }

    void aci(int index) {
        m_format.color = (index == kByBlock || index == kByLayer) ? QColor() : aciColor(index);
    }

    // The value is written as red in the low byte.
    void trueColor(int value) {
        m_format.color = QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    }

    void stacked(const QString& value) {
        flush();
        qsizetype split = -1;
        for (qsizetype i = 0; i < value.size() && split < 0; ++i)
            if (value[i] == QLatin1Char('/') || value[i] == QLatin1Char('#') ||
                value[i] == QLatin1Char('^'))
                split = i > 0 && value[i - 1] == QLatin1Char('\\') ? -1 : i;
        MtextRun run;
        run.format = m_format;
        run.stack = split < 0 ? QLatin1Char('/') : value[split];
        run.upper = split < 0 ? value : value.left(split);
        run.lower = split < 0 ? QString() : value.mid(split + 1);
        m_paragraphs.back().push_back(std::move(run));
    }

    void unicodeEscape() {
        bool ok = false;
        const uint code = m_in.mid(m_at + 1, 4).toUInt(&ok, 16);
        if (m_at < m_in.size() && m_in[m_at] == QLatin1Char('+') && ok) {
            m_text += QChar(static_cast<char16_t>(code));
            m_at += 5;
        } else {
            m_text += QLatin1Char('U');
        }
    }

    void newParagraph() {
        flush();
        m_paragraphs.emplace_back();
    }

    void flush() {
        if (m_text.isEmpty())
            return;
        m_paragraphs.back().push_back(MtextRun{m_text, m_format, {}, {}, {}});
        m_text.clear();
    }

    const QString& m_in;
    qsizetype m_at = 0;
    MtextFormat m_format;
    std::stack<MtextFormat> m_groups;
    QString m_text;
    std::vector<MtextParagraph> m_paragraphs;
};

} // namespace

std::vector<MtextParagraph> parseMtext(const QString& content, const MtextFormat& base) {
    return MtextParser(content, base).run();
}

} // namespace kalvex::drawing
