#include "shell/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kalvex {

QString programFileFolder() {
    const QString chosen = qEnvironmentVariable("KALVEX_CONFIG_DIR");
    if (!chosen.isEmpty())
        return chosen;
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(executableFolder).isWritable())
        return executableFolder;
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(userFolder);
    return userFolder;
}

QString programFilePath(const QString& fileName) {
    return QDir(programFileFolder()).filePath(fileName);
}

QString settingsFilePath() {
    const QFileInfo executable(QCoreApplication::applicationFilePath());
    const QString name =
        executable.suffix().isEmpty() ? executable.fileName() : executable.completeBaseName();
    return programFilePath(name + QStringLiteral(".ini"));
}

} // namespace kalvex
