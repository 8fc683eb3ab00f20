#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kalvex {

// How a text file was stored, so that it can be written back the same way.
enum class TextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Cp932 };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

// A byte-order mark decides the encoding; without one the bytes are UTF-8 when they are valid
// UTF-8, otherwise Japanese Windows ANSI (CP932), as files made on Windows are. Bytes valid in
// both are CP932 unless their UTF-8 reading holds Japanese characters or only ASCII.
DecodedText decodeText(const QByteArray& bytes);
// The text in the encoding, with its byte-order mark where the encoding has one.
QByteArray encodeText(const QString& text, TextEncoding encoding);

// The lines of a text whose lines end with CR LF, LF or CR; a line end at the very end does
// not start another line.
QStringList splitLines(const QString& text);

} // namespace kalvex
