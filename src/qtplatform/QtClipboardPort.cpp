#include "qtplatform/QtClipboardPort.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kalvex {

QString QtClipboardPort::text() {
    return QGuiApplication::clipboard()->text();
}

// The clipboard gives no result for a write, so the text is read back to see that it arrived.
bool QtClipboardPort::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    return clipboard->text() == text;
}

} // namespace kalvex
