#pragma once

#include <guiddef.h>

#include "cadlink/Application.h"

namespace kalvex::com {

// The class under which the CAD registers its application object, and the interface asked of it.
extern const CLSID kApplicationClass;
extern const IID kApplicationInterface;

// Creates the CAD's application object through the system's class registration (an in-process
// or local server, not by ProgID). A failure throws CadError. COM must run on the calling thread.
cad::ApplicationPtr createApplication();

} // namespace kalvex::com
