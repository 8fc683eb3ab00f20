#pragma once

#include <QValidator>

namespace kalvex {

// Accepts everything and turns letters into capitals as they are typed.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace kalvex
