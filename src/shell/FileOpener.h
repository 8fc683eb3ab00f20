#pragma once

#include <QString>

namespace kalvex {

// Starts the user's text editor on a file without waiting for it.
class FileOpener {
public:
    virtual ~FileOpener() = default;
    virtual void open(const QString& path) = 0;
};

// Opens the file with the desktop's default program for it.
class DesktopFileOpener : public FileOpener {
public:
    void open(const QString& path) override;
};

} // namespace kalvex
