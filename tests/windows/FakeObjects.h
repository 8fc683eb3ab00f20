#pragma once

#include "FakeObject.h"

namespace kalvex::fake {

// The fake CAD's application object, as its class object hands it out.
IDispatch* newApplication(Cad& cad);

} // namespace kalvex::fake
