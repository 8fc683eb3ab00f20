#include "shell/TagLists.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <stdexcept>

#include "platform/MessagePort.h"
#include "shell/FileOpener.h"

namespace kalvex {

namespace {

// Blanks and control characters, as trimming a line of a list file removes them.
bool isBlankLine(const QString& line) {
    for (const QChar c : line) {
        if (c.unicode() > 0x20)
            return false;
    }
    return true;
}

std::optional<DecodedText> readFile(const QString& path) {
    QFile in(path);
    if (!in.exists())
        return std::nullopt;
    if (!in.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("%1: %2").arg(path, in.errorString()).toStdString());
    return decodeText(in.readAll());
}

// A file the user made read-only is not replaced behind their back (the file is written
// through a new copy, which would otherwise succeed). The mode bits count, not only access
// rights, which an administrator always has.
bool isReadOnly(const QString& path) {
    const QFileInfo existing(path);
    constexpr auto kAnyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return existing.exists() && (!existing.isWritable() || !(existing.permissions() & kAnyWrite));
}

} // namespace

std::optional<TextEncoding> loadTagList(QComboBox& box, const QString& path) {
    std::optional<DecodedText> decoded;
    try {
        decoded = readFile(path);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
    if (!decoded)
        return std::nullopt;
    box.clear();
    box.addItems(splitLines(decoded->text));
    return decoded->encoding;
}

void reloadTagList(QComboBox& box, const QString& path, MessagePort& messages) {
    if (!QFile::exists(path)) {
        messages.inform(path + u'\n' + QStringLiteral("が、見つかりません．"));
        return;
    }
    const int selected = box.currentIndex();
    const std::optional<DecodedText> decoded = readFile(path);
    box.clear();
    for (const QString& line : splitLines(decoded ? decoded->text : QString())) {
        if (!isBlankLine(line))
            box.addItem(line);
    }
    if (box.count() > 0 && selected >= 0)
        box.setCurrentIndex(selected < box.count() ? selected : 0);
}

void editTagList(const QString& path, FileOpener& opener, MessagePort& messages) {
    if (QFile::exists(path)) {
        opener.open(path);
        return;
    }
    messages.show({path + u'\n' + QStringLiteral("ファイルが見つかりません．"),
                   MessageIcon::Information, MessageButtons::Ok});
}

void saveTagList(const QComboBox& box, const QString& path, std::optional<TextEncoding> encoding,
                 MessagePort& messages) {
    QString text;
    for (int i = 0; i < box.count(); ++i)
        text += box.itemText(i) + QStringLiteral("\r\n");
    QSaveFile out(path);
    if (!isReadOnly(path) && out.open(QIODevice::WriteOnly)) {
        out.write(encodeText(text, encoding.value_or(TextEncoding::Utf8)));
        if (out.commit())
            return;
    }
    messages.show({path + u'\n' + QStringLiteral("タグリストを保存できませんでした．"),
                   MessageIcon::Warning, MessageButtons::Ok});
}

} // namespace kalvex
