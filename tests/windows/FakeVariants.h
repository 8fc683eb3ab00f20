#pragma once

#include <oaidl.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "FakeDrawing.h"

namespace kalvex::fake {

// An argument of a type the CAD does not take; the call fails with DISP_E_TYPEMISMATCH and
// names the argument where it is known.
class TypeMismatch : public std::runtime_error {
public:
    explicit TypeMismatch(const std::string& what, const VARIANT* argument = nullptr)
        : std::runtime_error(what), argument(argument) {}
    const VARIANT* argument;
};

// The fake's own reading and writing of variants, strict about the types the CAD takes and
// hands out, and independent of the backend's conversions that they check.
void setString(VARIANT& out, const std::string& text);
void setInt(VARIANT& out, int value);
void setInt64(VARIANT& out, std::int64_t value);
void setDouble(VARIANT& out, double value);
void setBool(VARIANT& out, bool value);
// An array of three doubles, or an empty variant where the point is no array.
void setPoint(VARIANT& out, const Point& point, bool isArray = true);
void setObject(VARIANT& out, IDispatch* adopted);
// An array of objects. (Wine's COM does not carry an array of variants holding objects from
// one apartment to another; the backend reads both kinds.)
void setObjects(VARIANT& out, const std::vector<IDispatch*>& adopted);

std::string readString(const VARIANT& value);
int readInt(const VARIANT& value);
Point readPoint(const VARIANT& value);
Filter readFilter(const VARIANT& codes, const VARIANT& values);
bool isMissing(const VARIANT& value);

} // namespace kalvex::fake
