#pragma once

#include <QString>

namespace kalvex {

enum class MessageIcon { None, Information, Warning, Error, Question };
// OverwriteReloadCancel asks what to do with a file that another program changed on disk.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, OverwriteReloadCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Overwrite, Reload };

struct MessageRequest {
    QString text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Shows a message box and waits for the user's answer.
class MessagePort {
public:
    virtual ~MessagePort() = default;
    virtual MessageAnswer show(const MessageRequest& request) = 0;

    // A plain message with one OK button.
    void inform(const QString& text) { show({text, MessageIcon::None, MessageButtons::Ok}); }
};

} // namespace kalvex
