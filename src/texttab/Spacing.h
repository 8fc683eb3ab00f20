#pragma once

#include <vector>

#include <QString>

#include "cadlink/Records.h"

class QLineEdit;

namespace kalvex {

// A spacing number as the user types it, in the user's locale; text that does not parse is 0.
double readSpacing(const QLineEdit& edit);

// The same, but text that does not parse is an error (CadError naming the text).
double readSpacingStrictly(const QLineEdit& edit);

// A spacing number shown with two decimals and the user's decimal separator.
QString formatSpacing(double value);

// Proposes dX/dY from the last two records (0 and 0 with fewer), shows them in the two boxes and
// reads them back; both zero turns the boxes red, otherwise black. True when both are zero.
bool proposeSpacing(const std::vector<Orvik>& records, QLineEdit& dX, QLineEdit& dY);

} // namespace kalvex
