#include "search/UpperCaseValidator.h"

namespace kalvex {

QValidator::State UpperCaseValidator::validate(QString& input, int& position) const {
    Q_UNUSED(position);
    input = input.toUpper();
    return Acceptable;
}

} // namespace kalvex
