#include "shell/FormSettings.h"

#include "shell/IniFile.h"

namespace kalvex {

namespace {

const QString kSection = QStringLiteral("OrvikEdit");

std::optional<int> readInt(const IniFile& file, const QString& key) {
    const std::optional<QString> text = file.value(kSection, key);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = text->toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void readInt(const IniFile& file, const QString& key, int& value) {
    value = readInt(file, key).value_or(value);
}

void readBool(const IniFile& file, const QString& key, bool& value) {
    if (const std::optional<int> stored = readInt(file, key))
        value = *stored != 0;
}

void writeInt(IniFile& file, const QString& key, int value) {
    file.setValue(kSection, key, QString::number(value));
}

void writeBool(IniFile& file, const QString& key, bool value) {
    writeInt(file, key, value ? 1 : 0);
}

} // namespace

FormSettings readFormSettings(const IniFile& file) {
    FormSettings s;
    s.Left = readInt(file, QStringLiteral("Left"));
    s.Top = readInt(file, QStringLiteral("Top"));
    readBool(file, QStringLiteral("Sort"), s.Sort);
    readInt(file, QStringLiteral("AttTagIndex2"), s.AttTagIndex2);
    readBool(file, QStringLiteral("Cursor"), s.Cursor);
    readInt(file, QStringLiteral("AttTagIndex1"), s.AttTagIndex1);
    readBool(file, QStringLiteral("Sentou"), s.Sentou);
    readBool(file, QStringLiteral("UpperCase"), s.UpperCase);
    readBool(file, QStringLiteral("Enter"), s.Enter);
    readBool(file, QStringLiteral("ZoomCenter"), s.ZoomCenter);
    readBool(file, QStringLiteral("AttEnter"), s.AttEnter);
    readBool(file, QStringLiteral("AttEnterDown"), s.AttEnterDown);
    readBool(file, QStringLiteral("ZoomCenter2"), s.ZoomCenter2);
    return s;
}

void writeFormSettings(IniFile& file, const FormSettings& s, const QString& progId) {
    writeInt(file, QStringLiteral("Left"), s.Left.value_or(0));
    writeInt(file, QStringLiteral("Top"), s.Top.value_or(0));
    file.setValue(QStringLiteral("Target"), QStringLiteral("ProgID"), progId);
    writeBool(file, QStringLiteral("Sort"), s.Sort);
    file.setValue(kSection, QStringLiteral("AttTag"), s.AttTag);
    writeInt(file, QStringLiteral("AttTagIndex2"), s.AttTagIndex2);
    writeBool(file, QStringLiteral("Cursor"), s.Cursor);
    writeInt(file, QStringLiteral("AttTagIndex1"), s.AttTagIndex1);
    writeBool(file, QStringLiteral("Sentou"), s.Sentou);
    writeBool(file, QStringLiteral("UpperCase"), s.UpperCase);
    writeBool(file, QStringLiteral("Enter"), s.Enter);
    writeBool(file, QStringLiteral("ZoomCenter"), s.ZoomCenter);
    writeBool(file, QStringLiteral("AttEnter"), s.AttEnter);
    writeBool(file, QStringLiteral("AttEnterDown"), s.AttEnterDown);
    writeBool(file, QStringLiteral("ZoomCenter2"), s.ZoomCenter2);
}

} // namespace kalvex
