#include "FakeObject.h"

#include <oleauto.h>

#include "FakeVariants.h"
#include "platform/Utf16.h"

namespace kalvex::fake {

void ServerLog::called(const std::string& member) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(member);
}

void ServerLog::unserved(const std::string& member) {
    std::lock_guard lock(m_mutex);
    m_unserved.insert(member);
}

std::vector<std::string> ServerLog::calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::set<std::string> ServerLog::unservedMembers() const {
    std::lock_guard lock(m_mutex);
    return m_unserved;
}

void ServerLog::forgetUnserved() {
    std::lock_guard lock(m_mutex);
    m_unserved.clear();
}

void ServerLog::clearCalls() {
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

namespace {

bool takeOne(std::atomic<int>& counter) {
    int left = counter.load();
    while (left > 0 && !counter.compare_exchange_weak(left, left - 1)) {
    }
    return left > 0;
}

void describe(EXCEPINFO* exception, const std::string& description) {
    if (!exception)
        return;
    *exception = {};
    exception->scode = E_FAIL;
    const std::u16string wide = toUtf16(description);
    exception->bstrSource = SysAllocString(L"FakeCad");
    exception->bstrDescription = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                                                   static_cast<UINT>(wide.size()));
}

} // namespace

Object::Object(Cad& cad, std::string interfaceName, DISPID firstId)
    : m_cad(cad), m_interface(std::move(interfaceName)), m_nextId(firstId) {
    ++m_cad.log.liveObjects;
}

Object::~Object() {
    --m_cad.log.liveObjects;
}

HRESULT Object::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT Object::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT Object::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    ++m_cad.log.nameLookups;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        const std::string name = toUtf8(reinterpret_cast<const char16_t*>(names[i]));
        const auto found = m_ids.find(name);
        ids[i] = found == m_ids.end() ? DISPID_UNKNOWN : found->second;
        if (found == m_ids.end()) {
            m_cad.log.unserved(m_interface + "." + name);
            result = DISP_E_UNKNOWNNAME;
        }
    }
    return result;
}

HRESULT Object::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                       EXCEPINFO* exception, UINT* argumentError) {
    // A busy CAD turns calls away before it looks at them.
    if (takeOne(m_cad.log.busyCalls)) {
        ++m_cad.log.rejections;
        return RPC_E_SERVERCALL_RETRYLATER;
    }
    if (takeOne(m_cad.log.refusedCalls)) {
        ++m_cad.log.rejections;
        return RPC_E_CALL_REJECTED;
    }
    if (const int code = m_cad.log.nextErrorCode.exchange(0); code != 0 && exception) {
        *exception = {};
        exception->wCode = static_cast<WORD>(code);
        return DISP_E_EXCEPTION;
    }
    const auto found = m_members.find(id);
    if (found == m_members.end())
        return DISP_E_MEMBERNOTFOUND;
    m_cad.log.called(m_interface + "." + found->second.name);
    if ((flags & DISPATCH_PROPERTYPUT) && m_cad.tool())
        m_cad.toolTopmostAtLastWrite =
            (GetWindowLongPtrW(m_cad.tool(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    VARIANT scratch;
    VariantInit(&scratch);
    try {
        const HRESULT outcome = run(found->second, flags, *parameters, result ? *result : scratch);
        VariantClear(&scratch);
        return outcome;
    } catch (const Refusal& refusal) {
        describe(exception, refusal.what());
        return DISP_E_EXCEPTION;
    } catch (const TypeMismatch& mismatch) {
        const VARIANT* first = parameters->rgvarg;
        if (argumentError && mismatch.argument >= first &&
            mismatch.argument < first + parameters->cArgs)
            *argumentError = static_cast<UINT>(mismatch.argument - first);
        return DISP_E_TYPEMISMATCH;
    }
}

HRESULT Object::run(Member& member, WORD flags, const DISPPARAMS& parameters, VARIANT& result) {
    const UINT positional = parameters.cArgs - parameters.cNamedArgs;
    Arguments arguments;
    for (UINT i = 0; i < positional; ++i) // they come last to first
        arguments.push_back(&parameters.rgvarg[parameters.cArgs - 1 - i]);
    if (flags & DISPATCH_PROPERTYPUT) {
        const bool named =
            parameters.cNamedArgs == 1 && parameters.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
        if (!member.set || !named || parameters.cArgs != 1)
            return DISP_E_MEMBERNOTFOUND;
        member.set(parameters.rgvarg[0]);
        return S_OK;
    }
    if (member.call && (flags & DISPATCH_METHOD)) {
        if (arguments.size() != member.argumentCount)
            return DISP_E_BADPARAMCOUNT;
        member.call(arguments, result);
        return S_OK;
    }
    if (member.get && (flags & DISPATCH_PROPERTYGET)) {
        if (!arguments.empty())
            return DISP_E_BADPARAMCOUNT;
        member.get(result);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

void Object::property(const std::string& name, Getter get, Setter set) {
    m_ids[name] = m_nextId;
    m_members[m_nextId++] = {name, std::move(get), std::move(set), nullptr, 0};
}

void Object::collection(std::function<std::size_t()> count,
                        std::function<IDispatch*(std::size_t index)> item) {
    property("Count", [count](VARIANT& out) { setInt(out, static_cast<int>(count())); });
    method("Item", 1, [count, item](const Arguments& arguments, VARIANT& out) {
        const int index = readInt(*arguments[0]);
        if (index < 0 || static_cast<std::size_t>(index) >= count())
            throw Refusal("Index " + std::to_string(index) + " out of range.");
        setObject(out, item(static_cast<std::size_t>(index)));
    });
}

void Object::method(const std::string& name, std::size_t argumentCount, Method call) {
    m_ids[name] = m_nextId;
    m_members[m_nextId++] = {name, nullptr, nullptr, std::move(call), argumentCount};
}

} // namespace kalvex::fake
