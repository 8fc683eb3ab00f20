#pragma once

#include <oaidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cadlink/CadPoint.h"
#include "cadlink/SelectionFilter.h"
#include "com/ComRef.h"
#include "platform/WindowHandle.h"

namespace kalvex::com {

// A VARIANT that owns what it holds (a BSTR, an array, an object reference) and frees it when
// it goes.
class Variant {
public:
    Variant() { VariantInit(&m_value); }
    ~Variant() { VariantClear(&m_value); }
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant other) noexcept;

    const VARIANT& get() const { return m_value; }
    VARIANT& get() { return m_value; }
    // For an out parameter: clears what is held and lets the callee fill it.
    VARIANT* put();

private:
    VARIANT m_value;
};

// What the CAD's calls take.
Variant variantOf(const std::string& text); // a BSTR
Variant variantOf(int value);
// A point as an array of three doubles; a point that is no array goes as an empty variant.
Variant variantOf(const cad::CadPoint& point);
// A selection filter's group codes (16-bit integers) and its values (variants holding strings).
Variant filterCodesOf(const cad::SelectionFilter& filter);
Variant filterValuesOf(const cad::SelectionFilter& filter);
// An optional argument left out.
Variant missingArgument();

// What the CAD hands back. A value that cannot be read as what is asked for throws CadError.
std::string stringOf(const VARIANT& value);
std::int64_t integerOf(const VARIANT& value);
double doubleOf(const VARIANT& value);
bool boolOf(const VARIANT& value);
WindowHandle windowHandleOf(const VARIANT& value);
// An array of at least three numbers is a point; anything else is a point that is no array.
cad::CadPoint pointOf(const VARIANT& value);
ComRef<IDispatch> objectOf(const VARIANT& value);
// An array of object references, or of variants holding them.
std::vector<ComRef<IDispatch>> objectsOf(const VARIANT& value);

} // namespace kalvex::com
