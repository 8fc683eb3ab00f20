#pragma once

#include <memory>

#include <QString>

class QLockFile;

namespace kalvex {

// Keeps a second copy of the program from running for the same user: the first copy holds a
// lock named after its main window's class until it ends. A lock left behind by a copy that
// died is taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& windowClass);
    ~SingleInstance();

    // False when another copy runs.
    bool acquire();

    static QString lockPath(const QString& windowClass);

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace kalvex
