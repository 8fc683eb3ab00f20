#include "FakeVariants.h"

#include <oleauto.h>

#include "platform/Utf16.h"

namespace kalvex::fake {

namespace {

SAFEARRAY* arrayOf(const VARIANT& value, VARTYPE element, const char* what) {
    if (value.vt != (VT_ARRAY | element) || !value.parray || SafeArrayGetDim(value.parray) != 1)
        throw TypeMismatch(std::string(what) + " is not the array the CAD takes", &value);
    return value.parray;
}

LONG countOf(SAFEARRAY* array) {
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    return upper - lower + 1;
}

template <class T> T elementAt(SAFEARRAY* array, LONG index) {
    LONG lower = 0;
    SafeArrayGetLBound(array, 1, &lower);
    index += lower;
    T element{};
    SafeArrayGetElement(array, &index, &element);
    return element;
}

} // namespace

void setString(VARIANT& out, const std::string& text) {
    const std::u16string wide = toUtf16(text);
    out.vt = VT_BSTR;
    out.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                                    static_cast<UINT>(wide.size()));
}

void setInt(VARIANT& out, int value) {
    out.vt = VT_I4;
    out.lVal = value;
}

void setInt64(VARIANT& out, std::int64_t value) {
    out.vt = VT_I8;
    out.llVal = value;
}

void setDouble(VARIANT& out, double value) {
    out.vt = VT_R8;
    out.dblVal = value;
}

void setBool(VARIANT& out, bool value) {
    out.vt = VT_BOOL;
    out.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void setPoint(VARIANT& out, const Point& point, bool isArray) {
    if (!isArray)
        return;
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, 3);
    double xyz[3] = {point.x, point.y, point.z};
    for (LONG i = 0; i < 3; ++i)
        SafeArrayPutElement(array, &i, &xyz[i]);
    out.vt = VT_ARRAY | VT_R8;
    out.parray = array;
}

void setObject(VARIANT& out, IDispatch* adopted) {
    out.vt = VT_DISPATCH;
    out.pdispVal = adopted;
}

void setObjects(VARIANT& out, const std::vector<IDispatch*>& adopted) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_DISPATCH, 0, static_cast<ULONG>(adopted.size()));
    for (LONG i = 0; i < static_cast<LONG>(adopted.size()); ++i)
        SafeArrayPutElement(array, &i, adopted[static_cast<std::size_t>(i)]); // takes a reference
    out.vt = VT_ARRAY | VT_DISPATCH;
    out.parray = array;
}

std::string readString(const VARIANT& value) {
    if (value.vt != VT_BSTR)
        throw TypeMismatch("a string argument is no BSTR", &value);
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(value.bstrVal),
                                      SysStringLen(value.bstrVal)));
}

int readInt(const VARIANT& value) {
    if (value.vt == VT_I4)
        return value.lVal;
    if (value.vt == VT_I2)
        return value.iVal;
    throw TypeMismatch("an integer argument is no integer", &value);
}

Point readPoint(const VARIANT& value) {
    SAFEARRAY* array = arrayOf(value, VT_R8, "a point");
    if (countOf(array) != 3)
        throw TypeMismatch("a point has not three coordinates", &value);
    return {elementAt<double>(array, 0), elementAt<double>(array, 1), elementAt<double>(array, 2)};
}

Filter readFilter(const VARIANT& codes, const VARIANT& values) {
    SAFEARRAY* codeArray = arrayOf(codes, VT_I2, "the filter codes");
    SAFEARRAY* valueArray = arrayOf(values, VT_VARIANT, "the filter values");
    if (countOf(codeArray) != countOf(valueArray))
        throw TypeMismatch("the filter arrays differ in length");
    Filter filter;
    for (LONG i = 0; i < countOf(codeArray); ++i) {
        filter.codes.push_back(elementAt<SHORT>(codeArray, i));
        VARIANT element = elementAt<VARIANT>(valueArray, i);
        filter.values.push_back(readString(element));
        VariantClear(&element);
    }
    return filter;
}

bool isMissing(const VARIANT& value) {
    return value.vt == VT_EMPTY || (value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND);
}

} // namespace kalvex::fake
