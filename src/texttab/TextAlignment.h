#pragma once

#include "texttab/TextTabContext.h"

namespace kalvex {

// "整列": lines the TEXTs up at the spacing dX/dY.
void SpeedButton6Click(TextTabContext& context);

} // namespace kalvex
