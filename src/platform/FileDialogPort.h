#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace kalvex {

// Asks the user for files to open or a file to save to; empty answers mean Cancel.
class FileDialogPort {
public:
    virtual ~FileDialogPort() = default;
    virtual QStringList askOpenFiles(QWidget* parent, const QString& caption, const QString& folder,
                                     const QString& filter) = 0;
    virtual QString askSaveFile(QWidget* parent, const QString& caption, const QString& file,
                                const QString& filter) = 0;
};

} // namespace kalvex
