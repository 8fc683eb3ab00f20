#pragma once

class QDialog;

namespace kalvex {

// Shows a dialog modally and returns its result (QDialog::Accepted or QDialog::Rejected).
class DialogPort {
public:
    virtual ~DialogPort() = default;
    virtual int exec(QDialog& dialog) = 0;
};

} // namespace kalvex
