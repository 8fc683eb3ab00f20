#include "com/Dispatch.h"

#include <windows.h>

#include <array>
#include <map>
#include <optional>

#include "cadlink/MessageFilter.h"
#include "com/ComError.h"
#include "platform/Utf16.h"

namespace kalvex::com {

namespace {

constexpr std::array kInterfaceNames = {
    "Application", "Document",  "Layers", "Layer", "SelectionSets",  "SelectionSet",       "Blocks",
    "Block",       "BlockItem", "Entity", "Text",  "BlockReference", "AttributeReference",
};

std::string nameOf(Interface names, const std::string& member) {
    return std::string(kInterfaceNames[static_cast<std::size_t>(names)]) + "." + member;
}

// The ids are kept for the life of the process, not of one connection, although every CAD
// operation connects afresh: they come from the CAD's type library, in which the ids of an
// interface are fixed for an installed version, so a CAD closed and started again between two
// operations hands out the same ids. Looking them up again on every connection would cost a
// round trip into the CAD's process per member and operation for nothing. A CAD updated to
// another version while the tool runs is the one case this misses: the tool is started again.
std::map<std::string, DISPID>& idsOf(Interface names) {
    static std::array<std::map<std::string, DISPID>, kInterfaceNames.size()> ids;
    return ids[static_cast<std::size_t>(names)];
}

// The argument a call refused by its type or absence, counted from 1 in the caller's order;
// IDispatch names it by its place in the reversed array.
std::optional<unsigned> refusedArgument(HRESULT result, UINT argumentError, UINT argumentCount) {
    if (result != DISP_E_TYPEMISMATCH && result != DISP_E_PARAMNOTFOUND)
        return std::nullopt;
    if (argumentError >= argumentCount)
        return std::nullopt;
    return argumentCount - argumentError;
}

// COM puts a rejection of a busy CAD to the message filter registered with it. A rejection that
// reaches the caller all the same (no filter registered with COM, or a COM that hands
// rejections through) goes to the thread's filter here, with the same answers.
bool retryRejectedCall(HRESULT result, ULONGLONG started) {
    DWORD rejectType = 0;
    if (result == RPC_E_SERVERCALL_RETRYLATER)
        rejectType = SERVERCALL_RETRYLATER;
    else if (result == RPC_E_CALL_REJECTED)
        rejectType = SERVERCALL_REJECTED;
    else
        return false;
    kalvex::IMessageFilter* filter = currentMessageFilter();
    if (!filter)
        return false;
    const auto elapsed = static_cast<std::uint32_t>(GetTickCount64() - started);
    const std::int32_t wait = filter->RetryRejectedCall(elapsed, rejectType);
    if (wait < 0)
        return false;
    Sleep(static_cast<DWORD>(wait));
    return true;
}

void freeStrings(EXCEPINFO& info) {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info = {};
}

} // namespace

DispatchObject::DispatchObject(ComRef<IDispatch> object, Interface names)
    : m_object(std::move(object)), m_names(names) {}

Variant DispatchObject::get(const std::string& member, std::vector<Variant> arguments) const {
    return invoke(member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arguments);
}

void DispatchObject::put(const std::string& member, Variant value) const {
    std::vector<Variant> arguments;
    arguments.push_back(std::move(value));
    invoke(member, DISPATCH_PROPERTYPUT, arguments);
}

Variant DispatchObject::call(const std::string& member, std::vector<Variant> arguments) const {
    return invoke(member, DISPATCH_METHOD, arguments);
}

DISPID DispatchObject::idOf(const std::string& member) const {
    auto& ids = idsOf(m_names);
    if (const auto known = ids.find(member); known != ids.end())
        return known->second;
    std::u16string wide = toUtf16(member);
    auto* name = reinterpret_cast<LPOLESTR>(wide.data());
    DISPID id = DISPID_UNKNOWN;
    const HRESULT result = m_object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result))
        throwCadError(result, nullptr, nameOf(m_names, member));
    ids.emplace(member, id);
    return id;
}

Variant DispatchObject::invoke(const std::string& member, WORD flags,
                               std::vector<Variant>& arguments) const {
    const DISPID id = idOf(member);
    // IDispatch takes the arguments last to first; the variants stay owned by `arguments`.
    std::vector<VARIANTARG> reversed;
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument)
        reversed.push_back(argument->get());
    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    const bool putting = flags == DISPATCH_PROPERTYPUT;
    if (putting) {
        parameters.rgdispidNamedArgs = &namedPut;
        parameters.cNamedArgs = 1;
    }
    const ULONGLONG started = GetTickCount64();
    for (;;) {
        Variant result;
        EXCEPINFO info{};
        UINT argumentError = ~0u;
        const HRESULT hr =
            m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                             putting ? nullptr : result.put(), &info, &argumentError);
        if (SUCCEEDED(hr))
            return result;
        if (!retryRejectedCall(hr, started))
            throwCadError(hr, &info, nameOf(m_names, member),
                          refusedArgument(hr, argumentError, parameters.cArgs));
        freeStrings(info);
    }
}

} // namespace kalvex::com
