#pragma once

#include <array>
#include <optional>

#include "cadlink/CadError.h"

namespace kalvex::cad {

// A point as the CAD hands it out: a variant that normally holds an array of three doubles
// (X, Y, Z in drawing units) but may hold something that is not an array at all.
class CadPoint {
public:
    CadPoint() = default; // "not an array"
    CadPoint(double x, double y, double z = 0.0) : m_xyz(std::array<double, 3>{x, y, z}) {}

    bool isArray() const { return m_xyz.has_value(); }
    double x() const { return at(0); }
    double y() const { return at(1); }
    double z() const { return at(2); }

    // Element access as the CAD's variant offers it; a variant that is no array throws.
    double at(int i) const {
        if (!m_xyz || i < 0 || i > 2)
            throw CadError("The point is not an array of three numbers.");
        return (*m_xyz)[static_cast<std::size_t>(i)];
    }

    friend bool operator==(const CadPoint&, const CadPoint&) = default;

private:
    std::optional<std::array<double, 3>> m_xyz;
};

} // namespace kalvex::cad
