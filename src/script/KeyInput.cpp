#include "script/KeyInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <utility>

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

namespace {

// The shortcut pass records the modifiers of the key it is offered as the keyboard's state, which
// item views read to decide whether a move extends or toggles the selection. After a chord the
// modifier keys are let go one by one, as fingers leave the keyboard, so that nothing played later
// sees them held. A bare modifier key is never a shortcut, so the pass changes nothing else.
void releaseModifiers(QObject* target, ulong timestamp, Qt::KeyboardModifiers modifiers) {
    static constexpr std::pair<Qt::KeyboardModifier, Qt::Key> kModifierKeys[] = {
        {Qt::MetaModifier, Qt::Key_Meta},
        {Qt::AltModifier, Qt::Key_Alt},
        {Qt::ControlModifier, Qt::Key_Control},
        {Qt::ShiftModifier, Qt::Key_Shift},
    };
    Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    for (const auto& [modifier, modifierKey] : kModifierKeys) {
        if (!(held & modifier))
            continue;
        held &= ~modifier;
        qt_sendShortcutOverrideEvent(target, timestamp, modifierKey, held, QString(), false, 1);
    }
    if (QGuiApplication::keyboardModifiers() != Qt::NoModifier) // a modifier not in the table
        qt_sendShortcutOverrideEvent(target, timestamp, Qt::Key_Shift, Qt::NoModifier, QString(),
                                     false, 1);
}

} // namespace

void clickKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QPointer<QWidget> target(widget);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    const bool shortcutTookIt =
        qt_sendShortcutOverrideEvent(widget, press.timestamp(), key, modifiers, text, false, 1);
    if (!shortcutTookIt && target)
        QApplication::sendEvent(target, &press);
    if (target) { // unless the key closed the widget
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(target, &release);
    }
    releaseModifiers(target ? static_cast<QObject*>(target) : qApp, press.timestamp(), modifiers);
}

} // namespace kalvex::script
