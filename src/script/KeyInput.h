#pragma once

#include <QString>
#include <QWidget>

namespace kalvex::script {

// Presses and releases one key on a widget as keyboard input arrives: the window's shortcuts
// see the key first, then the widget. The text is what the key types (empty for keys that type
// nothing); `keyText` gives the one a plain key types.
void clickKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text);
QString keyText(Qt::Key key, Qt::KeyboardModifiers modifiers);

} // namespace kalvex::script
