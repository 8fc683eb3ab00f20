#include "com/Variant.h"

#include <oleauto.h>

#include <utility>

#include "cadlink/CadError.h"
#include "platform/Utf16.h"

namespace kalvex::com {

Variant::Variant(const Variant& other) {
    VariantInit(&m_value);
    if (FAILED(VariantCopy(&m_value, const_cast<VARIANT*>(&other.m_value))))
        throw cad::CadError("A value of the CAD could not be copied.");
}

Variant::Variant(Variant&& other) noexcept : m_value(other.m_value) {
    VariantInit(&other.m_value);
}

Variant& Variant::operator=(Variant other) noexcept {
    std::swap(m_value, other.m_value);
    return *this;
}

VARIANT* Variant::put() {
    VariantClear(&m_value);
    return &m_value;
}

namespace {

[[noreturn]] void throwUnreadable(const VARIANT& value, const char* expected) {
    throw cad::CadError("The CAD answered with a value of variant type " +
                        std::to_string(value.vt) + " where " + expected + " was expected.");
}

// The value itself, also when the CAD handed out a reference to a variant.
const VARIANT& unwrapped(const VARIANT& value) {
    if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal)
        return *value.pvarVal;
    return value;
}

SAFEARRAY* arrayOf(const VARIANT& value) {
    if (!(value.vt & VT_ARRAY))
        return nullptr;
    return (value.vt & VT_BYREF) ? (value.pparray ? *value.pparray : nullptr) : value.parray;
}

VARTYPE elementTypeOf(const VARIANT& value) {
    return value.vt & VT_TYPEMASK;
}

Variant converted(const VARIANT& value, VARTYPE type, const char* expected) {
    Variant result;
    if (FAILED(VariantChangeType(result.put(), const_cast<VARIANT*>(&unwrapped(value)), 0, type)))
        throwUnreadable(value, expected);
    return result;
}

// A one-dimensional array with bounds 0 .. count-1, handed to a variant at once so that the
// variant owns it whatever happens next.
SAFEARRAY* newArray(Variant& holder, VARTYPE elementType, std::size_t count) {
    SAFEARRAY* array = SafeArrayCreateVector(elementType, 0, static_cast<ULONG>(count));
    if (!array)
        throw cad::CadError("Out of memory for an argument of the CAD.");
    holder.put()->vt = VT_ARRAY | elementType;
    holder.get().parray = array;
    return array;
}

template <class T> void putElement(SAFEARRAY* array, LONG index, T* element) {
    if (FAILED(SafeArrayPutElement(array, &index, element)))
        throw cad::CadError("An argument of the CAD could not be filled.");
}

struct Bounds {
    LONG lower = 0;
    LONG upper = -1;
    LONG count() const { return upper - lower + 1; }
};

Bounds boundsOf(SAFEARRAY* array) {
    Bounds bounds;
    if (SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &bounds.lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &bounds.upper)))
        return {};
    return bounds;
}

// Element `index` of an array whose elements are of `type`, as a variant.
Variant elementOf(SAFEARRAY* array, VARTYPE type, LONG index) {
    Variant element;
    VARIANT& slot = element.get();
    HRESULT hr = E_FAIL;
    if (type == VT_VARIANT) {
        hr = SafeArrayGetElement(array, &index, &slot);
    } else if (type == VT_R8 || type == VT_R4 || type == VT_I4 || type == VT_I2 ||
               type == VT_DISPATCH || type == VT_UNKNOWN || type == VT_BSTR) {
        // The element lands in the variant's value union; the variant then owns it.
        hr = SafeArrayGetElement(array, &index, &slot.llVal);
        slot.vt = SUCCEEDED(hr) ? type : VARTYPE(VT_EMPTY);
    }
    if (FAILED(hr))
        throw cad::CadError("An element of an array the CAD handed out could not be read.");
    return element;
}

} // namespace

Variant variantOf(const std::string& text) {
    const std::u16string utf16 = toUtf16(text);
    Variant result;
    BSTR bstr = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(utf16.data()),
                                  static_cast<UINT>(utf16.size()));
    if (!bstr)
        throw cad::CadError("Out of memory for a string argument of the CAD.");
    result.put()->vt = VT_BSTR;
    result.get().bstrVal = bstr;
    return result;
}

Variant variantOf(int value) {
    Variant result;
    result.put()->vt = VT_I4;
    result.get().lVal = value;
    return result;
}

Variant variantOf(const cad::CadPoint& point) {
    Variant result;
    if (!point.isArray())
        return result;
    SAFEARRAY* array = newArray(result, VT_R8, 3);
    for (LONG i = 0; i < 3; ++i) {
        double coordinate = point.at(i);
        putElement(array, i, &coordinate);
    }
    return result;
}

Variant filterCodesOf(const cad::SelectionFilter& filter) {
    Variant result;
    SAFEARRAY* array = newArray(result, VT_I2, filter.codes.size());
    for (std::size_t i = 0; i < filter.codes.size(); ++i) {
        SHORT code = filter.codes[i];
        putElement(array, static_cast<LONG>(i), &code);
    }
    return result;
}

Variant filterValuesOf(const cad::SelectionFilter& filter) {
    Variant result;
    SAFEARRAY* array = newArray(result, VT_VARIANT, filter.values.size());
    for (std::size_t i = 0; i < filter.values.size(); ++i) {
        Variant value = variantOf(filter.values[i]);
        putElement(array, static_cast<LONG>(i), &value.get());
    }
    return result;
}

Variant missingArgument() {
    Variant result;
    result.put()->vt = VT_ERROR;
    result.get().scode = DISP_E_PARAMNOTFOUND;
    return result;
}

std::string stringOf(const VARIANT& value) {
    const Variant text = converted(value, VT_BSTR, "a string");
    const BSTR bstr = text.get().bstrVal;
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(bstr),
                                      bstr ? SysStringLen(bstr) : 0));
}

std::int64_t integerOf(const VARIANT& value) {
    return converted(value, VT_I8, "an integer").get().llVal;
}

double doubleOf(const VARIANT& value) {
    return converted(value, VT_R8, "a number").get().dblVal;
}

bool boolOf(const VARIANT& value) {
    return converted(value, VT_BOOL, "a boolean").get().boolVal != VARIANT_FALSE;
}

WindowHandle windowHandleOf(const VARIANT& value) {
    // A window handle travels as a (possibly 32-bit, sign-extended) integer.
    return static_cast<WindowHandle>(integerOf(value));
}

cad::CadPoint pointOf(const VARIANT& value) {
    const VARIANT& inner = unwrapped(value);
    SAFEARRAY* array = arrayOf(inner);
    const Bounds bounds = array ? boundsOf(array) : Bounds{};
    if (bounds.count() < 3)
        return {};
    double xyz[3];
    for (LONG i = 0; i < 3; ++i)
        xyz[i] = doubleOf(elementOf(array, elementTypeOf(inner), bounds.lower + i).get());
    return {xyz[0], xyz[1], xyz[2]};
}

ComRef<IDispatch> objectOf(const VARIANT& value) {
    const VARIANT& inner = unwrapped(value);
    ComRef<IDispatch> object;
    if (inner.vt == VT_DISPATCH)
        object = ComRef<IDispatch>::share(inner.pdispVal);
    else if (inner.vt == (VT_BYREF | VT_DISPATCH) && inner.ppdispVal)
        object = ComRef<IDispatch>::share(*inner.ppdispVal);
    else if (inner.vt == VT_UNKNOWN && inner.punkVal)
        inner.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.put()));
    if (!object)
        throwUnreadable(value, "an object");
    return object;
}

std::vector<ComRef<IDispatch>> objectsOf(const VARIANT& value) {
    const VARIANT& inner = unwrapped(value);
    SAFEARRAY* array = arrayOf(inner);
    if (!array)
        throwUnreadable(value, "an array of objects");
    const Bounds bounds = boundsOf(array);
    std::vector<ComRef<IDispatch>> objects;
    for (LONG i = bounds.lower; i <= bounds.upper; ++i)
        objects.push_back(objectOf(elementOf(array, elementTypeOf(inner), i).get()));
    return objects;
}

} // namespace kalvex::com
