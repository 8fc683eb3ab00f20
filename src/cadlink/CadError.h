#pragma once

#include <stdexcept>
#include <string>

namespace kalvex::cad {

// A failed call on the CAD. Its message is what the top-level error report shows.
class CadError : public std::runtime_error {
public:
    explicit CadError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace kalvex::cad
