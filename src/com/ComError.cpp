#include "com/ComError.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "cadlink/CadError.h"
#include "platform/Utf16.h"

namespace kalvex::com {

namespace {

std::string utf8Of(const wchar_t* text, std::size_t length) {
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

// Frees the strings of an exception info, whatever the call did with them.
struct ExceptionStrings {
    EXCEPINFO* info;
    ~ExceptionStrings() {
        if (!info)
            return;
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrHelpFile);
    }
};

std::string systemText(HRESULT result) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = buffer ? utf8Of(buffer, length) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string hex(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

} // namespace

void throwCadError(HRESULT result, EXCEPINFO* info, const std::string& member,
                   std::optional<unsigned> argument) {
    const ExceptionStrings strings{info};
    if (info && info->pfnDeferredFillIn)
        info->pfnDeferredFillIn(info);
    // The CAD reports an error of its own by a code instead of a result code.
    const std::string code =
        info && info->wCode != 0 ? " (CAD error " + std::to_string(info->wCode) + ")" : "";
    if (info && info->bstrDescription && SysStringLen(info->bstrDescription) > 0)
        throw cad::CadError(utf8Of(info->bstrDescription, SysStringLen(info->bstrDescription)) +
                            code);
    if (info && result == DISP_E_EXCEPTION && info->scode != S_OK)
        result = info->scode;
    const std::string what = argument ? member + ", argument " + std::to_string(*argument) : member;
    const std::string text = systemText(result);
    throw cad::CadError("The CAD refused " + what + ": " + (text.empty() ? "" : text + " ") + "(" +
                        hex(result) + ")" + code + ".");
}

} // namespace kalvex::com
