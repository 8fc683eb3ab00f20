#pragma once

#include <QString>

namespace kalvex {

// The folder the settings and tag list files live in: the executable's folder when it is
// writable, otherwise (an installed copy) the user's configuration folder. The environment
// variable KALVEX_CONFIG_DIR, when set, names the folder instead.
QString programFileFolder();
// A file of that folder.
QString programFilePath(const QString& fileName);
// The settings file: the executable's file name with its extension replaced by ".ini".
QString settingsFilePath();

} // namespace kalvex
