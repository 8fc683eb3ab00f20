#pragma once

#include <stdexcept>
#include <string>

namespace kalvex::dxf {

// A drawing that cannot be read or written. The message names the file and, for bad input,
// the line: "FILE:LINE: message".
class DxfError : public std::runtime_error {
public:
    explicit DxfError(const std::string& message) : std::runtime_error(message) {}
    static DxfError at(const std::string& file, std::size_t line, const std::string& message) {
        return DxfError(file + ":" + std::to_string(line) + ": " + message);
    }
};

} // namespace kalvex::dxf
