#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/MessagePort.h"

namespace kalvex {

// Message boxes as modal Qt message boxes, owned by the given window so that they stay above
// it even while it is always on top. Their caption is the application's title.
class QtMessagePort : public MessagePort {
public:
    explicit QtMessagePort(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    MessageAnswer show(const MessageRequest& request) override;

private:
    QPointer<QWidget> m_owner;
};

} // namespace kalvex
