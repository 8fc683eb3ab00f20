#include "transform/SerialNumbers.h"

namespace kalvex {

namespace {

std::optional<std::int32_t> parseStart(Radix radix, const QString& start) {
    switch (radix) {
    case Radix::Decimal:
        return parseDecimal(start);
    case Radix::Hexadecimal:
        return parseHex(start);
    case Radix::Octal:
        return IsOctalDigits(start) ? ParseOctal(start) : std::nullopt;
    }
    return std::nullopt;
}

// Blanks typed around a number are no part of it, nor of the counter's width.
SerialInput withoutSurroundingBlanks(SerialInput input) {
    input.start = input.start.trimmed();
    input.step = input.step.trimmed();
    input.count = input.count.trimmed();
    return input;
}

} // namespace

QString upperAscii(QString text) {
    for (QChar& c : text) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return text;
}

QString radixDisplay(Radix radix) {
    switch (radix) {
    case Radix::Decimal:
        return QStringLiteral("10進");
    case Radix::Hexadecimal:
        return QStringLiteral("16進");
    case Radix::Octal:
        return QStringLiteral(" 8進");
    }
    return {};
}

SerialSeries::SerialSeries(const SerialInput& input)
    : m_input(withoutSurroundingBlanks(input)), m_start(parseStart(m_input.radix, m_input.start)),
      m_step(parseDecimal(m_input.step).value_or(1)),
      m_count(parseDecimal(m_input.count).value_or(1)) {}

QString SerialSeries::formatCounter(std::int32_t value) const {
    const int width = int(m_input.start.size());
    switch (m_input.radix) {
    case Radix::Decimal:
        return formatDecimal(value, width);
    case Radix::Hexadecimal:
        return formatHex(value, width);
    case Radix::Octal:
        return formatOctalSigned(value, width);
    }
    return {};
}

QString SerialSeries::item(std::int32_t b) const {
    if (!hasCounter())
        return upperAscii(m_input.prefix + m_input.suffix);
    const std::int32_t value = wrapAdd(m_start.value_or(0), wrapMul(b, m_step));
    return upperAscii(m_input.prefix + formatCounter(value) + m_input.suffix);
}

QStringList SerialSeries::items() const {
    QStringList list;
    if (!isValid())
        return list;
    for (std::int32_t b = 0; b < m_count; ++b)
        list.append(item(b));
    return list;
}

QString SerialSeries::preview() const {
    if (!hasCounter())
        return QStringLiteral("[ ") + upperAscii(m_input.prefix + m_input.suffix) +
               QStringLiteral(" ] x ") + QString::number(m_count);
    if (!isValid())
        return invalidStartMessage();
    const QString first = m_input.prefix + m_input.start + m_input.suffix;
    return upperAscii(QStringLiteral("[ ") + first + QStringLiteral(" ] ～ [ ") +
                      item(wrapAdd(m_count, -1)) + QStringLiteral(" ]"));
}

QString SerialSeries::invalidStartMessage() const {
    return QStringLiteral("開始数が%1数ではありません").arg(radixDisplay(m_input.radix).trimmed());
}

} // namespace kalvex
