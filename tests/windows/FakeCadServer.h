#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "FakeObject.h"

namespace kalvex::fake {

// The fake CAD, running in a thread and COM apartment of its own as the real CAD runs in a
// process of its own: beside the tests in the test program, or as the whole of
// fake_nanocad.exe. Calls reach it through COM's proxies, and its windows belong to another
// thread than the tool's. It shows a main window titled "nanoCAD 5" holding a document window,
// whose first child is a strip along the bottom and whose next child is the drawing area above
// it, and serves its application object under the CAD's class.
class FakeCadServer {
public:
    FakeCadServer(); // returns once the class is registered and the windows are shown
    ~FakeCadServer();
    FakeCadServer(const FakeCadServer&) = delete;
    FakeCadServer& operator=(const FakeCadServer&) = delete;

    // S_OK, or why the server could not start.
    HRESULT startResult() const { return m_startResult; }
    Cad& cad() { return *m_cad; }
    Drawing& drawing() { return m_cad->drawing; }
    ServerLog& log() { return m_cad->log; }
    HWND mainWindow() const { return m_cad->mainWindow; }
    HWND stripWindow() const { return m_strip; }
    HWND areaWindow() const { return m_area; }

    // The user closes the CAD: its main window goes, the server stays registered.
    void closeMainWindow();
    // Runs `work` on the server's thread, between the calls it serves, and waits for it.
    void call(const std::function<void()>& work);
    // Registers `filter` with COM as the server thread's message filter (null: none).
    void registerMessageFilter(::IMessageFilter* filter);

    // Every member asked for by name that no fake object served, over all servers of this run.
    static std::set<std::string> unservedMembers();
    // Adds members that a fake CAD in another process did not serve.
    static void noteUnserved(const std::set<std::string>& members);

private:
    static DWORD WINAPI serve(void* self);
    HRESULT start();
    void createWindows();
    // A document window's first child is a strip along the bottom, its next the drawing area.
    static void layOutDocumentWindow(Cad& cad, HWND document, HWND& strip, HWND& area);

    std::unique_ptr<Cad> m_cad = std::make_unique<Cad>();
    HWND m_strip = nullptr;
    HWND m_area = nullptr;
    HWND m_worker = nullptr; // a message-only window that runs the work handed to the thread
    HANDLE m_ready = nullptr;
    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
    DWORD m_classCookie = 0;
    IClassFactory* m_factory = nullptr;
    HRESULT m_startResult = E_FAIL;
};

} // namespace kalvex::fake
