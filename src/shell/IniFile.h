#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "shell/TextFileCodec.h"

namespace kalvex {

// An INI text of "[section]" and "key=value" lines, kept line by line so that a save keeps
// every other section, key, comment and blank line as it was. Sections and keys are found
// without regard to case, as the platform's profile functions find them.
class IniFile {
public:
    // A missing or unreadable file reads as an empty one.
    static IniFile load(const QString& path);

    std::optional<QString> value(const QString& section, const QString& key) const;
    // Replaces the key's value in place, or adds the key at the end of its section, or the
    // section at the end of the file.
    void setValue(const QString& section, const QString& key, const QString& value);

    QString text() const;
    // Writes the text in the encoding it was read in (UTF-8 for a new file); false on failure.
    bool save(const QString& path) const;

private:
    struct Span {
        qsizetype header = -1; // line of "[section]", -1 when the section is missing
        qsizetype end = 0;     // line after the section's last line
    };

    Span findSection(const QString& section) const;
    qsizetype findKey(const Span& span, const QString& key) const;

    QStringList m_lines;
    TextEncoding m_encoding = TextEncoding::Utf8;
};

} // namespace kalvex
