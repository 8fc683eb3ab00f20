#include "shell/TextFileCodec.h"

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
    if (!utf8.hasError())
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
