#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QDialog>

#include "platform/ClipboardPort.h"
#include "platform/DialogPort.h"
#include "platform/MessagePort.h"
#include "platform/Ports.h"

namespace kalvex::testing {

// Records every message box shown; answers from a queue, then with the default answer.
class FakeMessagePort : public MessagePort {
public:
    std::vector<MessageRequest> shown;
    std::deque<MessageAnswer> answers;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;

    MessageAnswer show(const MessageRequest& request) override {
        shown.push_back(request);
        if (answers.empty())
            return defaultAnswer;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Records the dialogs shown; a test fills a dialog's fields and gives its result in `answer`
// (rejected when the test sets none).
class FakeDialogPort : public DialogPort {
public:
    std::vector<QString> shown; // object names of the dialogs, in order
    std::function<int(QDialog&)> answer;

    int exec(QDialog& dialog) override {
        shown.push_back(dialog.objectName());
        return answer ? answer(dialog) : QDialog::Rejected;
    }
};

// A clipboard of its own; `failWrites` makes writes fail as a busy system clipboard does.
class FakeClipboardPort : public ClipboardPort {
public:
    QString content;
    bool failWrites = false;

    QString text() override { return content; }
    bool setText(const QString& text) override {
        if (failWrites)
            return false;
        content = text;
        return true;
    }
};

struct FakePorts {
    FakeMessagePort messages;
    FakeDialogPort dialogs;
    FakeClipboardPort clipboard;
    Ports ports{messages, dialogs, clipboard};
};

} // namespace kalvex::testing
