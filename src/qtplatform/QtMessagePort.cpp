#include "qtplatform/QtMessagePort.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace kalvex {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct BoxButton {
    MessageAnswer answer;
    QMessageBox::ButtonRole role;
    QString caption;
};

BoxButton buttonOf(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Ok:
        return {answer, QMessageBox::AcceptRole, QStringLiteral("OK")};
    case MessageAnswer::Cancel:
        return {answer, QMessageBox::RejectRole, QStringLiteral("キャンセル")};
    case MessageAnswer::Yes:
        return {answer, QMessageBox::YesRole, QStringLiteral("はい(&Y)")};
    case MessageAnswer::No:
        return {answer, QMessageBox::NoRole, QStringLiteral("いいえ(&N)")};
    case MessageAnswer::Overwrite:
        return {answer, QMessageBox::AcceptRole, QStringLiteral("上書き保存(&O)")};
    case MessageAnswer::Reload:
        return {answer, QMessageBox::DestructiveRole, QStringLiteral("再読み込み(&R)")};
    }
    return {answer, QMessageBox::AcceptRole, QString()};
}

// The answers a box offers, in the order of its buttons; the last one is what closing the
// box without a button press answers.
std::vector<MessageAnswer> answersOf(MessageButtons buttons) {
    using A = MessageAnswer;
    switch (buttons) {
    case MessageButtons::OkCancel:
        return {A::Ok, A::Cancel};
    case MessageButtons::YesNo:
        return {A::Yes, A::No};
    case MessageButtons::YesNoCancel:
        return {A::Yes, A::No, A::Cancel};
    case MessageButtons::OverwriteReloadCancel:
        return {A::Overwrite, A::Reload, A::Cancel};
    case MessageButtons::Ok:
        break;
    }
    return {A::Ok};
}

} // namespace

// The buttons carry Japanese captions of their own, whatever Qt's translations say.
MessageAnswer QtMessagePort::show(const MessageRequest& request) {
    QMessageBox box(boxIcon(request.icon), QApplication::applicationName(), request.text,
                    QMessageBox::NoButton, m_owner);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const std::vector<MessageAnswer> answers = answersOf(request.buttons);
    std::vector<QPushButton*> pushButtons;
    for (MessageAnswer answer : answers) {
        const BoxButton button = buttonOf(answer);
        pushButtons.push_back(box.addButton(button.caption, button.role));
    }
    box.setDefaultButton(pushButtons.front());
    box.setEscapeButton(pushButtons.back());
    box.exec();
    for (std::size_t i = 0; i < pushButtons.size(); ++i) {
        if (box.clickedButton() == pushButtons[i])
            return answers[i];
    }
    return answers.back();
}

} // namespace kalvex
