#include "shell/TextFileCodec.h"

#include <algorithm>

#include <QStringDecoder>
#include <QStringEncoder>

namespace kalvex {

namespace {

constexpr char kCp932[] = "windows-31j";

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < qsizetype(mark.size()))
        return false;
    qsizetype at = 0;
    for (unsigned char byte : mark) {
        if (static_cast<unsigned char>(bytes[at++]) != byte)
            return false;
    }
    return true;
}

QString decodeWith(QStringConverter::Encoding encoding, const QByteArray& bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder(bytes);
}

// Kana, kanji, Japanese punctuation and the full- and half-width forms.
bool isJapanese(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x31F0 && u <= 0x31FF) ||
           (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF);
}

// Two bytes of half-width katakana in CP932 are often valid UTF-8 too ("ﾄｳ" reads as "ĳ"),
// while Japanese text in UTF-8 only rarely reads as CP932 as well. So the UTF-8 reading
// stands when it holds Japanese characters or nothing beyond ASCII, and the CP932 reading
// when that is valid.
bool preferCp932(const QString& utf8Reading, const QByteArray& bytes) {
    const auto beyondAscii = [](QChar c) { return c.unicode() > 0x7F; };
    if (std::none_of(utf8Reading.begin(), utf8Reading.end(), beyondAscii) ||
        std::any_of(utf8Reading.begin(), utf8Reading.end(), isJapanese))
        return false;
    QStringDecoder cp932(kCp932, QStringConverter::Flag::Stateless);
    const QString cp932Reading = cp932(bytes); // the decoding sets the error state
    return !cp932.hasError();
}

} // namespace

DecodedText decodeText(const QByteArray& bytes) {
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return {decodeWith(QStringConverter::Utf8, bytes.mid(3)), TextEncoding::Utf8Bom};
    if (startsWith(bytes, {0xFF, 0xFE}))
        return {decodeWith(QStringConverter::Utf16LE, bytes.mid(2)), TextEncoding::Utf16LE};
    if (startsWith(bytes, {0xFE, 0xFF}))
        return {decodeWith(QStringConverter::Utf16BE, bytes.mid(2)), TextEncoding::Utf16BE};
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError() && !preferCp932(text, bytes))
        return {text, TextEncoding::Utf8};
    QStringDecoder cp932(kCp932);
    return {cp932(bytes), TextEncoding::Cp932};
}

QByteArray encodeText(const QString& text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool little = encoding == TextEncoding::Utf16LE;
        QStringEncoder encoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return QByteArray(little ? "\xFF\xFE" : "\xFE\xFF") + QByteArray(encoder(text));
    }
    case TextEncoding::Cp932: {
        QStringEncoder encoder(kCp932);
        return encoder(text);
    }
    }
    return text.toUtf8();
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, at - start));
        if (c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n')
            ++at;
        start = at + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

} // namespace kalvex
