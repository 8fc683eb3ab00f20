#include "shell/FileOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace kalvex {

void DesktopFileOpener::open(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace kalvex
