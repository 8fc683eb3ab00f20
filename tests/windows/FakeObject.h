#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "FakeDrawing.h"
#include "com/RefCounted.h"

namespace kalvex::fake {

// What the fake CAD counts and remembers across its objects and threads.
class ServerLog {
public:
    std::atomic<int> liveObjects{0};
    std::atomic<int> applicationsCreated{0};
    std::atomic<int> nameLookups{0};
    std::atomic<int> busyCalls{0};    // the next calls are answered "busy, retry later"
    std::atomic<int> refusedCalls{0}; // the next calls are rejected outright
    std::atomic<int> rejections{0};
    std::atomic<int> nextErrorCode{0}; // the next call fails with this error code of the CAD's

    void called(const std::string& member);
    void unserved(const std::string& member);
    std::vector<std::string> calls() const;
    std::set<std::string> unservedMembers() const;
    // For the test that shows an unserved member is listed: it leaves no entry behind.
    void forgetUnserved();
    void clearCalls();

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
    std::set<std::string> m_unserved;
};

// The fake CAD as its objects see it: the drawing, the log and the windows.
struct Cad {
    Drawing drawing;
    ServerLog log;
    HWND mainWindow = nullptr;
    HWND documentWindow = nullptr;
    // A second open drawing, in the back, with a window of its own; its handles are counted
    // from the same start as the first one's, so the two drawings share handles. Switching
    // brings it to the front: the two trade places, so that `drawing` and `documentWindow`,
    // which the fake's objects serve, are always those of the active drawing.
    Drawing backDrawing;
    HWND backDocumentWindow = nullptr;
    void switchDrawings() {
        std::swap(drawing, backDrawing);
        std::swap(documentWindow, backDocumentWindow);
    }
    // Where the tool's window is, and what the fake saw of it and of the CAD window while the
    // user picked: the hand-off must have minimised the tool and brought the CAD forward.
    HWND toolWindow = nullptr;
    // A tool started apart from the fake is found by its window's title when first needed.
    std::wstring toolTitle;
    HWND tool() {
        if (!toolWindow && !toolTitle.empty())
            toolWindow = FindWindowW(nullptr, toolTitle.c_str());
        return toolWindow;
    }
    // What the fake saw of the tool's window when the tool last connected (it works in its own
    // window until it turns to the CAD) and when a property was last written (always on top).
    bool toolInFrontAtLastConnect = false;
    std::wstring foregroundAtLastConnect; // the foreground window's title
    bool toolTopmostAtLastWrite = false;
    void noteConnect() {
        wchar_t title[256] = L"";
        GetWindowTextW(GetForegroundWindow(), title, 256);
        foregroundAtLastConnect = title;
        toolInFrontAtLastConnect = tool() && GetForegroundWindow() == tool();
    }
    bool toolMinimisedWhilePicking = false;
    bool cadInFrontWhilePicking = false;
    std::atomic<int> escapes{0};
    // How long an on-screen selection with no pick queued waits for one, handling the thread's
    // messages meanwhile, as the user takes a moment to pick (0: it is cancelled at once).
    int pickPatienceMs = 0;
};

using Arguments = std::vector<const VARIANT*>; // first to last
using Getter = std::function<void(VARIANT& result)>;
using Setter = std::function<void(const VARIANT& value)>;
using Method = std::function<void(const Arguments& arguments, VARIANT& result)>;

// An object of the fake CAD's automation server: IDispatch over a table of named members.
// Member ids differ from one interface to the next (an interface's ids start at `firstId`),
// as they may in the CAD, so that a caller mixing up ids of two interfaces calls the wrong
// member. Refusals come back as exceptions with the fake's description.
class Object : public com::RefCounted<IDispatch> {
public:
    Object(Cad& cad, std::string interfaceName, DISPID firstId);
    ~Object() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;
    const std::string& interfaceName() const { return m_interface; }

protected:
    void property(const std::string& name, Getter get, Setter set = nullptr);
    void method(const std::string& name, std::size_t argumentCount, Method call);
    // Count and Item (0-based, checked) of a collection.
    void collection(std::function<std::size_t()> count,
                    std::function<IDispatch*(std::size_t index)> item);
    // Members from here on are numbered from `id`.
    void numberFrom(DISPID id) { m_nextId = id; }
    bool offers(REFIID iid) const override { return iid == IID_IDispatch; }

    Cad& m_cad;

private:
    struct Member {
        std::string name;
        Getter get;
        Setter set;
        Method call;
        std::size_t argumentCount = 0;
    };
    HRESULT run(Member& member, WORD flags, const DISPPARAMS& parameters, VARIANT& result);

    std::string m_interface;
    std::map<DISPID, Member> m_members;
    std::map<std::string, DISPID> m_ids;
    DISPID m_nextId;
};

} // namespace kalvex::fake
