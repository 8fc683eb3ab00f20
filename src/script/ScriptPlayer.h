#pragma once

#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "platform/ClipboardPort.h"
#include "platform/DialogPort.h"
#include "platform/MessagePort.h"
#include "script/ScriptDrawing.h"
#include "script/ScriptParser.h"

namespace kalvex::script {

// Plays a script of user actions against the running program's windows. While it plays, it is
// the program's message box and modal dialog service: message boxes are answered with their
// default button (or the one the script named beforehand) and printed, dialogs take the values and
// button the script gave for them.
class ScriptPlayer : public MessagePort, public DialogPort {
public:
    static constexpr int kAllHeld = 0;
    static constexpr int kScriptError = 2;
    static constexpr int kExpectationFailed = 3;

    ScriptPlayer(ScriptDrawing& drawing, ClipboardPort& clipboard, std::ostream& out);

    // Runs the script file; returns the exit status.
    int runFile(const QString& path);
    // Runs script text; `name` is what messages call the script.
    int run(const std::string& text, const std::string& name);

    MessageAnswer show(const MessageRequest& request) override;
    int exec(QDialog& dialog) override;

private:
    using Handler = std::function<void(const ScriptCommand&)>;
    struct DialogAnswer {
        std::vector<std::pair<QString, QString>> values;
        QString button;
    };

    void registerControlCommands();
    void registerDrawingCommands();
    void registerExpectations();
    void execute(const ScriptCommand& command);
    void expect(const ScriptCommand& command, bool held, const QString& expected,
                const QString& got);
    QWidget* control(const ScriptCommand& command, std::size_t arg) const;
    void queueDialog(const ScriptCommand& command);
    int answerDialog(QDialog& dialog);
    void applyDialogValue(QDialog& dialog, const QString& name, const QString& value);

    ScriptDrawing& m_drawing;
    ClipboardPort& m_clipboard;
    std::ostream& m_out;
    std::string m_name;
    bool m_failed = false;
    std::string m_pendingError;
    std::map<std::string, Handler> m_commands;
    std::deque<QString> m_messages;
    std::deque<MessageAnswer> m_answers; // for the next message boxes, before the default
    std::map<QString, std::deque<DialogAnswer>> m_dialogs;
};

} // namespace kalvex::script
