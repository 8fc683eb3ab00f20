#pragma once

#include <memory>

#include <QString>

namespace kalvex {

// Keeps a second copy of the program from running for the same user: the first copy holds a
// lock named after its main window's class until it ends. A lock left behind by a copy that
// died is taken over. The lock is a file on POSIX systems and a named mutex of the user's session
// on Windows, which the system releases with the process.
class SingleInstance {
public:
    explicit SingleInstance(const QString& windowClass);
    ~SingleInstance();

    // False when another copy runs.
    bool acquire();

private:
    struct Lock;
    std::unique_ptr<Lock> m_lock;
};

} // namespace kalvex
