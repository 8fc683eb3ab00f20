#include "shell/IniFile.h"

#include <QFile>
#include <QSaveFile>

namespace kalvex {

namespace {

std::optional<QString> sectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile IniFile::load(const QString& path) {
    IniFile file;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return file;
    const DecodedText decoded = decodeText(in.readAll());
    file.m_lines = splitLines(decoded.text);
    file.m_encoding = decoded.encoding;
    return file;
}

IniFile::Span IniFile::findSection(const QString& section) const {
    Span span;
    for (qsizetype at = 0; at < m_lines.size(); ++at) {
        const std::optional<QString> name = sectionName(m_lines[at]);
        if (!name)
            continue;
        if (span.header >= 0)
            return {span.header, at};
        if (sameName(*name, section))
            span.header = at;
    }
    if (span.header >= 0)
        span.end = m_lines.size();
    return span;
}

qsizetype IniFile::findKey(const Span& span, const QString& key) const {
    for (qsizetype at = span.header + 1; at < span.end; ++at) {
        const QString& line = m_lines[at];
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && !line.trimmed().startsWith(u';') &&
            sameName(line.left(equals).trimmed(), key))
            return at;
    }
    return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const Span span = findSection(section);
    if (span.header < 0)
        return std::nullopt;
    const qsizetype at = findKey(span, key);
    if (at < 0)
        return std::nullopt;
    return m_lines[at].mid(m_lines[at].indexOf(u'=') + 1).trimmed();
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const QString line = key + u'=' + value;
    const Span span = findSection(section);
    if (span.header < 0) {
        m_lines << u'[' + section + u']' << line;
        return;
    }
    const qsizetype at = findKey(span, key);
    if (at >= 0) {
        m_lines[at] = line;
        return;
    }
    qsizetype insertAt = span.end;
    while (insertAt > span.header + 1 && m_lines[insertAt - 1].trimmed().isEmpty())
        --insertAt;
    m_lines.insert(insertAt, line);
}

QString IniFile::text() const {
    QString text;
    for (const QString& line : m_lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

bool IniFile::save(const QString& path) const {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(encodeText(text(), m_encoding));
    return out.commit();
}

} // namespace kalvex
