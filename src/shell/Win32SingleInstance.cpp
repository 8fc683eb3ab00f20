#include "shell/SingleInstance.h"

#include <windows.h>

namespace kalvex {

// "Local\" names the mutex within the user's logon session, as the window class a first copy
// shows is seen only on the user's own desktop.
struct SingleInstance::Lock {
    explicit Lock(const QString& windowClass)
        : name(QStringLiteral("Local\\") + windowClass + QStringLiteral(".SingleInstance")) {}
    ~Lock() {
        if (mutex)
            ::CloseHandle(mutex);
    }
    QString name;
    HANDLE mutex = nullptr;
};

SingleInstance::SingleInstance(const QString& windowClass)
    : m_lock(std::make_unique<Lock>(windowClass)) {}

SingleInstance::~SingleInstance() = default;

// The mutex is only named, never owned: its existence is the lock, and the system removes it
// when the last copy holding a handle ends, however it ends.
bool SingleInstance::acquire() {
    if (m_lock->mutex)
        return true;
    const HANDLE mutex =
        ::CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(m_lock->name.utf16()));
    if (!mutex)
        return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return false;
    }
    m_lock->mutex = mutex;
    return true;
}

} // namespace kalvex
