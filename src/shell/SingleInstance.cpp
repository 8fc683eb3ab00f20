#include "shell/SingleInstance.h"

#include <QDir>
#include <QLockFile>

#include <unistd.h>

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
// the user's id goes into the file name. The variable is read directly: asking for the
// standard location would print a warning when it is missing, and a second start must
// stay silent.
QString SingleInstance::lockPath(const QString& windowClass) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(windowClass + QStringLiteral(".lock"));
    const QString user = QString::number(getuid());
    return QDir(QDir::tempPath()).filePath(windowClass + QLatin1Char('-') + user + ".lock");
}

} // namespace kalvex
