#include "shell/SingleInstance.h"

#include <QDir>
#include <QLockFile>

#include <unistd.h>

namespace kalvex {

namespace {

// The runtime directory is per user; without one, the temporary directory is shared, so
// the user's id goes into the file name. The variable is read directly: asking for the
// standard location would print a warning when it is missing, and a second start must
// stay silent.
QString lockPath(const QString& windowClass) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(windowClass + QStringLiteral(".lock"));
    const QString user = QString::number(getuid());
    return QDir(QDir::tempPath()).filePath(windowClass + QLatin1Char('-') + user + ".lock");
}

} // namespace

struct SingleInstance::Lock {
    explicit Lock(const QString& path) : file(path) { file.setStaleLockTime(0); }
    QLockFile file;
};

SingleInstance::SingleInstance(const QString& windowClass)
    : m_lock(std::make_unique<Lock>(lockPath(windowClass))) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    return m_lock->file.tryLock(0);
}

} // namespace kalvex
