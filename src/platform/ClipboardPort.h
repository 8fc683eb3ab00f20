#pragma once

#include <QString>

namespace kalvex {

// The system clipboard, plain text only.
class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    virtual QString text() = 0;
    // False when the clipboard did not take the text.
    virtual bool setText(const QString& text) = 0;
};

} // namespace kalvex
