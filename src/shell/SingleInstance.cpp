#include "shell/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace kalvex {

SingleInstance::SingleInstance(const QString& windowClass)
    : m_lock(std::make_unique<QLockFile>(lockPath(windowClass))) {
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    return m_lock->tryLock(0);
}

// The runtime directory is per user; without one, the temporary directory is shared, so
// the user's name goes into the file name.
QString SingleInstance::lockPath(const QString& windowClass) {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return QDir(runtime).filePath(windowClass + QStringLiteral(".lock"));
    const QString user = qEnvironmentVariable("USER", QStringLiteral("user"));
    return QDir(QDir::tempPath()).filePath(windowClass + QLatin1Char('-') + user + ".lock");
}

} // namespace kalvex
