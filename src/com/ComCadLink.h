#pragma once

#include <objbase.h>

#include <memory>

#include "cadlink/CadLink.h"
#include "com/ComMessageFilter.h"
#include "platform/Win32WindowSystem.h"

namespace kalvex::com {

// COM on the calling thread in a single-threaded apartment, for as long as the object lives.
// A thread that runs COM already keeps it as it is: an apartment of the same kind (the GUI
// toolkit initialises OLE on its thread) is entered once more and left again at the end; a
// multi-threaded one is left alone.
class ComApartment {
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // S_OK, S_FALSE (it ran already) or RPC_E_CHANGED_MODE (a multi-threaded apartment).
    HRESULT result() const { return m_result; }

private:
    HRESULT m_result;
};

// What the program needs to drive the CAD on Windows: COM in the user-interface thread's
// apartment, every message filter the main window installs registered with COM for the
// program's life, and the link every CAD operation goes through, with the system's windows,
// sleeping waits (the CAD works on in a process of its own meanwhile) and the CAD's
// application object created through COM. The tool window is the main window's own handle,
// which the program sets once the window exists. The members go in the reverse order of their
// making, so COM is left last.
class ComCadLink {
public:
    ComCadLink();
    ComCadLink(const ComCadLink&) = delete;
    ComCadLink& operator=(const ComCadLink&) = delete;

    CadLink& link() { return m_link; }
    const ComApartment& apartment() const { return m_apartment; }

private:
    ComApartment m_apartment;
    ComMessageFilterRegistration m_filterRegistration;
    Win32WindowSystem m_windows;
    SleepWaiter m_waiter;
    CadLink m_link;
};

// Made on the user-interface thread before the main window, kept until after it has gone.
std::unique_ptr<ComCadLink> openComCadLink();

} // namespace kalvex::com
