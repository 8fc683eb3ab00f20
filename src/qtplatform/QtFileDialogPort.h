#pragma once

#include "platform/FileDialogPort.h"

namespace kalvex {

// Qt's own file dialog, wide enough for its columns, in the language Qt's translations give.
class QtFileDialogPort : public FileDialogPort {
public:
    QStringList askOpenFiles(QWidget* parent, const QString& caption, const QString& folder,
                             const QString& filter) override;
    QString askSaveFile(QWidget* parent, const QString& caption, const QString& file,
                        const QString& filter) override;
};

} // namespace kalvex
