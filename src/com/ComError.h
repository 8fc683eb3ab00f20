#pragma once

#include <oaidl.h>

#include <string>

namespace kalvex::com {

// Turns a failed call on the CAD into a CadError. Its message is the CAD's own description of
// the failure when the exception info carries one, else the system's text for the result code;
// `member` names the call.
[[noreturn]] void throwCadError(HRESULT result, EXCEPINFO* info, const std::string& member);

} // namespace kalvex::com
