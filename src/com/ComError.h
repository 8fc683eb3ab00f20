#pragma once

#include <oaidl.h>

#include <optional>
#include <string>

namespace kalvex::com {

// Turns a failed call on the CAD into a CadError. Its message is the CAD's own description of
// the failure when the exception info carries one, else the system's text for the result code;
// `member` names the call, `argument` (counted from 1) the argument it refused. An error code of
// the CAD's own in the exception info is added to either.
[[noreturn]] void throwCadError(HRESULT result, EXCEPINFO* info, const std::string& member,
                                std::optional<unsigned> argument = std::nullopt);

} // namespace kalvex::com
