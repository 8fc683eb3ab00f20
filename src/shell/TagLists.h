#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "shell/TextFileCodec.h"

class QComboBox;

namespace kalvex {

class FileOpener;
class MessagePort;

inline const QString kTagListFile = QStringLiteral("OrvikEditTagList.txt");
inline const QString kTagSetListFile = QStringLiteral("OrvikEdit2ATagList.txt");

// Fills the box with every line of the file, blank lines included, and tells the encoding it
// was read in; without the file the box keeps its entries and nothing is returned.
std::optional<TextEncoding> loadTagList(QComboBox& box, const QString& path);

// Reads the file again into the box, leaving out lines that are blank once trimmed, and keeps
// the selected index when it still exists (entry 0 otherwise). A missing file is reported and
// changes nothing; a file that cannot be read throws before the box is touched.
void reloadTagList(QComboBox& box, const QString& path, MessagePort& messages);

// Opens the file in the text editor, or reports that it is missing.
void editTagList(const QString& path, FileOpener& opener, MessagePort& messages);

// Replaces the file with the box's entries, every line ended by CR LF, in the encoding given
// (UTF-8 when the file was never read). A failure is reported in a message naming the file.
void saveTagList(const QComboBox& box, const QString& path, std::optional<TextEncoding> encoding,
                 MessagePort& messages);

} // namespace kalvex
