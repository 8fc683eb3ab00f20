#include "script/KeyInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

// QtGui's shortcut pass for key input that does not come from the window system: it offers the
// key to the shortcut map (and the widget's ShortcutOverride) and tells whether a shortcut took
// it. QtGui exports it for programs that synthesise input.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace kalvex::script {

QString keyText(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Escape:
        return QStringLiteral("\x1b");
    case Qt::Key_Delete:
        return QStringLiteral("\x7f");
    default:
        break;
    }
    if (key < Qt::Key_Space || key > Qt::Key_AsciiTilde)
        return {};
    const QChar c(static_cast<char16_t>(key));
    return QString(modifiers & Qt::ShiftModifier ? c.toUpper() : c.toLower());
}

void clickKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QPointer<QWidget> target(widget);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    const bool shortcutTookIt =
        qt_sendShortcutOverrideEvent(widget, press.timestamp(), key, modifiers, text, false, 1);
    if (!shortcutTookIt && target)
        QApplication::sendEvent(target, &press);
    if (!target)
        return; // the key closed the widget
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

} // namespace kalvex::script
