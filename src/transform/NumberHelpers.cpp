#include "transform/NumberHelpers.h"

#include <algorithm>
#include <limits>

namespace kalvex {

namespace {

bool isDecimalDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c) {
    return isDecimalDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

QString padLeft(const QString& digits, int width) {
    if (digits.size() >= width)
        return digits;
    return QString(width - digits.size(), u'0') + digits;
}

std::uint32_t magnitude(std::int32_t value) {
    return value < 0 ? 0u - std::uint32_t(value) : std::uint32_t(value);
}

} // namespace

bool IsOctalDigits(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'7'; });
}

bool IsHexDigits(QStringView text) {
    return std::all_of(text.begin(), text.end(), isHexDigit);
}

std::optional<std::int32_t> ParseOctal(QStringView text) {
    std::uint32_t value = 0;
    for (const QChar c : text) {
        if (!isDecimalDigit(c))
            return std::nullopt;
        value = value * 8u + std::uint32_t(c.unicode() - u'0');
    }
    return std::int32_t(value);
}

QString FormatOctal(std::uint32_t value, int width) {
    QString digits;
    for (; value != 0; value /= 8)
        digits.prepend(QChar(u'0' + value % 8));
    return padLeft(digits, width);
}

std::optional<std::int32_t> parseDecimal(QStringView text) {
    const bool negative = text.startsWith(u'-');
    const QStringView digits = negative || text.startsWith(u'+') ? text.mid(1) : text;
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), isDecimalDigit))
        return std::nullopt;
    std::int64_t value = 0;
    for (const QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(value);
}

// Leading zeros do not count against the eight digits of 32 bits.
std::optional<std::int32_t> parseHex(QStringView text) {
    if (text.isEmpty() || !IsHexDigits(text))
        return std::nullopt;
    while (text.size() > 1 && text.front() == u'0')
        text = text.sliced(1);
    if (text.size() > 8)
        return std::nullopt;
    bool ok = false;
    const std::uint32_t value = text.toUInt(&ok, 16);
    return ok ? std::optional(std::int32_t(value)) : std::nullopt;
}

QString formatDecimal(std::int32_t value, int width) {
    const QString digits = QString::number(magnitude(value));
    if (value >= 0)
        return padLeft(digits, width);
    return u'-' + padLeft(digits, width - 1);
}

QString formatHex(std::int32_t value, int width) {
    return padLeft(QString::number(std::uint32_t(value), 16).toUpper(), width);
}

QString formatOctalSigned(std::int32_t value, int width) {
    if (value >= 0)
        return FormatOctal(std::uint32_t(value), width);
    return u'-' + FormatOctal(magnitude(value), width - 1);
}

std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
    return std::int32_t(std::uint32_t(a) + std::uint32_t(b));
}

std::int32_t wrapMul(std::int32_t a, std::int32_t b) {
    return std::int32_t(std::uint32_t(a) * std::uint32_t(b));
}

BlankTrim blankTrim(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] <= u' ')
        ++first;
    while (last > first && text[last - 1] <= u' ')
        --last;
    return {first, last};
}

QString trimBlank(QStringView text) {
    const BlankTrim kept = blankTrim(text);
    return text.sliced(kept.first, kept.last - kept.first).toString();
}

bool isBlank(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c <= u' '; });
}

DigitRun SplitDigitRun(QStringView text, RunEnd which) {
    const QString trimmed = trimBlank(text);
    auto digitAt = [&](qsizetype i) { return isDecimalDigit(trimmed[i]); };
    qsizetype start = -1;
    qsizetype end = -1;
    if (which == RunEnd::First) {
        for (qsizetype i = 0; i < trimmed.size() && end < 0; ++i) {
            if (start < 0 && digitAt(i))
                start = i;
            if (start >= 0 && (i + 1 == trimmed.size() || !digitAt(i + 1)))
                end = i + 1;
        }
    } else {
        for (qsizetype i = trimmed.size() - 1; i >= 0 && start < 0; --i) {
            if (end < 0 && digitAt(i))
                end = i + 1;
            if (end >= 0 && (i == 0 || !digitAt(i - 1)))
                start = i;
        }
    }
    if (start < 0)
        return {trimmed, {}, {}};
    return {trimmed.left(start), trimmed.mid(start, end - start), trimmed.mid(end)};
}

} // namespace kalvex
