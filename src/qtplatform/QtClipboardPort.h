#pragma once

#include "platform/ClipboardPort.h"

namespace kalvex {

class QtClipboardPort : public ClipboardPort {
public:
    QString text() override;
    bool setText(const QString& text) override;
};

} // namespace kalvex
