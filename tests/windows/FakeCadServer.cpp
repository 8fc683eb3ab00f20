#include "FakeCadServer.h"

#include <oleauto.h>

#include <mutex>
#include <string>

#include "FakeObjects.h"
#include "com/ComApplication.h"
#include "com/RefCounted.h"

namespace kalvex::fake {

namespace {

constexpr wchar_t kWindowClass[] = L"KalvexFakeCad";
constexpr UINT kRunWork = WM_APP + 1; // lParam: the work, a std::function<void()>
// The type library that describes the application interface, so that COM can carry it from
// one apartment to another; the CAD's installation registers one of its own.
constexpr GUID kFakeTypeLibrary = {
    0x6B3C2E51, 0x0D8A, 0x4E7F, {0x9C, 0x41, 0x2F, 0x5D, 0x13, 0x70, 0xA8, 0x64}};

std::mutex g_unservedMutex;
std::set<std::string> g_unserved;

LRESULT CALLBACK fakeWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* cad = reinterpret_cast<Cad*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE && cad)
        ++cad->escapes;
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerWindowClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = fakeWindowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}

// The application interface as a dispinterface that derives from IDispatch.
HRESULT describeInterface(ICreateTypeLib2& library) {
    ICreateTypeInfo* info = nullptr;
    ITypeLib* standard = nullptr;
    ITypeInfo* dispatch = nullptr;
    HREFTYPE dispatchReference = 0;
    HRESULT result =
        library.CreateTypeInfo(const_cast<LPOLESTR>(L"IFakeApplication"), TKIND_DISPATCH, &info);
    if (SUCCEEDED(result))
        result = info->SetGuid(com::kApplicationInterface);
    if (SUCCEEDED(result))
        result = LoadTypeLib(L"stdole2.tlb", &standard);
    if (SUCCEEDED(result))
        result = standard->GetTypeInfoOfGuid(IID_IDispatch, &dispatch);
    if (SUCCEEDED(result))
        result = info->AddRefTypeInfo(dispatch, &dispatchReference);
    if (SUCCEEDED(result))
        result = info->AddImplType(0, dispatchReference);
    if (SUCCEEDED(result))
        result = info->LayOut();
    for (IUnknown* held : {static_cast<IUnknown*>(dispatch), static_cast<IUnknown*>(standard),
                           static_cast<IUnknown*>(info)})
        if (held)
            held->Release();
    return result;
}

HRESULT describeApplicationInterface(const std::wstring& path) {
    ICreateTypeLib2* library = nullptr;
    HRESULT result = CreateTypeLib2(SYS_WIN64, path.c_str(), &library);
    if (FAILED(result))
        return result;
    library->SetGuid(kFakeTypeLibrary);
    library->SetName(const_cast<LPOLESTR>(L"KalvexFakeCad"));
    library->SetVersion(1, 0);
    result = describeInterface(*library);
    if (SUCCEEDED(result))
        result = library->SaveAllChanges();
    library->Release();
    return result;
}

HRESULT registerApplicationInterface() {
    static const HRESULT once = [] {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        const std::wstring path = std::wstring(folder) + L"kalvex-fake-cad.tlb";
        HRESULT result = describeApplicationInterface(path);
        ITypeLib* library = nullptr;
        if (SUCCEEDED(result))
            result = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
        if (SUCCEEDED(result))
            result = RegisterTypeLib(library, const_cast<LPOLESTR>(path.c_str()), nullptr);
        if (library)
            library->Release();
        return result;
    }();
    return once;
}

class ClassFactory final : public com::RefCounted<IClassFactory> {
public:
    explicit ClassFactory(Cad& cad) : m_cad(cad) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IDispatch* application = newApplication(m_cad);
        const HRESULT result = application->QueryInterface(iid, object);
        application->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    bool offers(REFIID iid) const override { return iid == IID_IClassFactory; }

    Cad& m_cad;
};

HWND createWindow(Cad& cad, const wchar_t* title, DWORD style, RECT at, HWND parent) {
    HWND window =
        CreateWindowExW(0, kWindowClass, title, style, at.left, at.top, at.right - at.left,
                        at.bottom - at.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&cad));
    return window;
}

} // namespace

FakeCadServer::FakeCadServer() {
    m_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, serve, this, 0, &m_threadId);
    WaitForSingleObject(m_ready, INFINITE);
}

FakeCadServer::~FakeCadServer() {
    PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    CloseHandle(m_ready);
    std::lock_guard lock(g_unservedMutex);
    const auto unserved = m_cad->log.unservedMembers();
    g_unserved.insert(unserved.begin(), unserved.end());
}

std::set<std::string> FakeCadServer::unservedMembers() {
    std::lock_guard lock(g_unservedMutex);
    return g_unserved;
}

void FakeCadServer::noteUnserved(const std::set<std::string>& members) {
    std::lock_guard lock(g_unservedMutex);
    g_unserved.insert(members.begin(), members.end());
}

void FakeCadServer::call(const std::function<void()>& work) {
    SendMessageW(m_worker, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

void FakeCadServer::registerMessageFilter(::IMessageFilter* filter) {
    call([filter] {
        ::IMessageFilter* previous = nullptr;
        CoRegisterMessageFilter(filter, &previous);
        if (previous)
            previous->Release();
    });
}

void FakeCadServer::closeMainWindow() {
    // The window belongs to the server's thread, which destroys it on WM_CLOSE.
    SendMessageW(m_cad->mainWindow, WM_CLOSE, 0, 0);
}

void FakeCadServer::createWindows() {
    registerWindowClass();
    Cad& cad = *m_cad;
    cad.mainWindow = createWindow(cad, L"nanoCAD 5", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  {100, 50, 1000, 650}, nullptr);
    const DWORD child = WS_CHILD | WS_VISIBLE;
    cad.documentWindow =
        createWindow(cad, L"Drawing1.dwg", child, {20, 20, 820, 460}, cad.mainWindow);
    layOutDocumentWindow(cad, cad.documentWindow, m_strip, m_area);
    // The second drawing's window lies hidden behind the first, laid out as it is.
    cad.backDocumentWindow =
        createWindow(cad, L"Drawing2.dwg", WS_CHILD, {20, 20, 820, 460}, cad.mainWindow);
    HWND backStrip = nullptr;
    HWND backArea = nullptr;
    layOutDocumentWindow(cad, cad.backDocumentWindow, backStrip, backArea);
    m_worker = createWindow(cad, L"worker", 0, {0, 0, 0, 0}, HWND_MESSAGE);
}

void FakeCadServer::layOutDocumentWindow(Cad& cad, HWND document, HWND& strip, HWND& area) {
    const DWORD child = WS_CHILD | WS_VISIBLE;
    // The drawing area is 800 x 400 pixels: its frame less the 20-pixel strip.
    strip = createWindow(cad, L"strip", child, {0, 420, 800, 440}, document);
    area = createWindow(cad, L"area", child, {0, 0, 800, 420}, document);
    SetWindowPos(strip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(area, strip, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HRESULT FakeCadServer::start() {
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(result))
        result = registerApplicationInterface();
    if (FAILED(result))
        return result;
    createWindows();
    m_factory = new ClassFactory(*m_cad);
    return CoRegisterClassObject(com::kApplicationClass, m_factory, CLSCTX_LOCAL_SERVER,
                                 REGCLS_MULTIPLEUSE, &m_classCookie);
}

DWORD WINAPI FakeCadServer::serve(void* self) {
    auto& server = *static_cast<FakeCadServer*>(self);
    server.m_startResult = server.start();
    SetEvent(server.m_ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (server.m_classCookie)
        CoRevokeClassObject(server.m_classCookie);
    if (server.m_factory)
        server.m_factory->Release();
    if (IsWindow(server.m_cad->mainWindow))
        DestroyWindow(server.m_cad->mainWindow);
    DestroyWindow(server.m_worker);
    CoRegisterMessageFilter(nullptr, nullptr);
    CoUninitialize();
    return 0;
}

} // namespace kalvex::fake
