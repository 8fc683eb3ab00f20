#include "script/ScriptPlayer.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>

#include "script/ScriptControls.h"

namespace kalvex::script {

ScriptPlayer::ScriptPlayer(ScriptDrawing& drawing, ClipboardPort& clipboard, std::ostream& out)
    : m_drawing(drawing), m_clipboard(clipboard), m_out(out) {
    registerControlCommands();
    registerDrawingCommands();
    registerExpectations();
}

int ScriptPlayer::runFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_out << path.toStdString()
              << ": cannot read the script: " << file.errorString().toStdString() << "\n";
        return kScriptError;
    }
    return run(file.readAll().toStdString(), path.toStdString());
}

int ScriptPlayer::run(const std::string& text, const std::string& name) {
    m_name = name;
    m_failed = false;
    try {
        for (const ScriptCommand& command : parseScript(text))
            execute(command);
    } catch (const ScriptError& e) {
        m_out << m_name << ":" << e.line() << ": " << e.what() << "\n";
        return kScriptError;
    }
    return m_failed ? kExpectationFailed : kAllHeld;
}

void ScriptPlayer::execute(const ScriptCommand& command) {
    auto handler = m_commands.find(command.name);
    if (handler == m_commands.end())
        throw ScriptError(command.line, "unknown command " + command.name);
    try {
        handler->second(command);
    } catch (const ScriptError&) {
        throw;
    } catch (const std::exception& e) {
        throw ScriptError(command.line, command.name + ": " + e.what());
    }
    if (!m_pendingError.empty()) {
        const std::string error = std::move(m_pendingError);
        m_pendingError.clear();
        throw ScriptError(command.line, error);
    }
    // Let the program react as it would between two user actions.
    QCoreApplication::processEvents();
}

void ScriptPlayer::expect(const ScriptCommand& command, bool held, const QString& expected,
                          const QString& got) {
    if (held)
        return;
    m_failed = true;
    m_out << m_name << ":" << command.line << ": expected " << expected.toStdString() << ", got "
          << got.toStdString() << "\n";
}

QWidget* ScriptPlayer::control(const ScriptCommand& command, std::size_t arg) const {
    const QString name = QString::fromStdString(command.args.at(arg));
    QWidget* w = findControl(name);
    if (!w)
        throw ScriptError(command.line, "unknown control " + name.toStdString());
    return w;
}

MessageAnswer ScriptPlayer::show(const MessageRequest& request) {
    m_out << "message: " << request.text.toStdString() << "\n";
    m_messages.push_back(request.text);
    if (!m_answers.empty()) {
        const MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    // The default button is the first one of the box.
    switch (request.buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Yes;
    case MessageButtons::OverwriteReloadCancel:
        return MessageAnswer::Overwrite;
    }
    return MessageAnswer::Ok;
}

void ScriptPlayer::queueDialog(const ScriptCommand& command) {
    if (command.args.size() < 2)
        throw ScriptError(command.line, "dialog needs a form and a button");
    DialogAnswer answer;
    for (std::size_t i = 1; i + 1 < command.args.size(); ++i) {
        const QString pair = QString::fromStdString(command.args[i]);
        const int eq = pair.indexOf(QLatin1Char('='));
        if (eq <= 0)
            throw ScriptError(command.line, "expected NAME=VALUE, got " + command.args[i]);
        answer.values.emplace_back(pair.left(eq), pair.mid(eq + 1));
    }
    answer.button = QString::fromStdString(command.args.back());
    m_dialogs[QString::fromStdString(command.args[0])].push_back(answer);
}

void ScriptPlayer::applyDialogValue(QDialog& dialog, const QString& name, const QString& value) {
    auto* w = dialog.findChild<QWidget*>(name);
    if (!w)
        throw std::runtime_error(dialog.objectName().toStdString() + " has no control " +
                                 name.toStdString());
    if (auto* spin = qobject_cast<QSpinBox*>(w))
        return spin->setValue(value.toInt());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (value == QLatin1String("down"))
            return button->setChecked(true);
        return checkControl(w, value == QLatin1String("on"));
    }
    setControlText(w, value);
}

int ScriptPlayer::exec(QDialog& dialog) {
    // A script fault found while the program waits for the dialog is reported after the
    // command, not thrown through the program's handler.
    try {
        return answerDialog(dialog);
    } catch (const std::exception& e) {
        m_pendingError = e.what();
        return QDialog::Rejected;
    }
}

int ScriptPlayer::answerDialog(QDialog& dialog) {
    // A form is known by its object name, or else by its class name.
    QString form = dialog.objectName();
    if (form.isEmpty())
        form = QString::fromLatin1(dialog.metaObject()->className()).section(QLatin1Char(':'), -1);
    auto queued = m_dialogs.find(form);
    if (queued == m_dialogs.end() || queued->second.empty()) {
        m_out << "dialog: " << form.toStdString() << " cancelled (no answer in the script)\n";
        return QDialog::Rejected;
    }
    const DialogAnswer answer = queued->second.front();
    queued->second.pop_front();
    dialog.setResult(QDialog::Rejected);
    for (const auto& [name, value] : answer.values)
        applyDialogValue(dialog, name, value);
    auto* button = dialog.findChild<QAbstractButton*>(answer.button);
    if (!button)
        throw std::runtime_error(form.toStdString() + " has no button " +
                                 answer.button.toStdString());
    button->click();
    return dialog.result();
}

} // namespace kalvex::script
