#pragma once

#include <memory>

#include "cadlink/CadPoint.h"
#include "cadlink/Document.h"
#include "platform/WindowHandle.h"

namespace kalvex::cad {

// The running CAD application. A reference lives only for the length of one operation.
class Application {
public:
    virtual ~Application() = default;
    virtual WindowHandle Hwnd() = 0; // the CAD main window
    virtual DocumentPtr ActiveDocument() = 0;
    virtual void ZoomWindow(const CadPoint& lowerLeft, const CadPoint& upperRight) = 0;
    // The open drawing with this key, active or not; null when no open drawing has it.
    virtual DocumentPtr DocumentWithKey(const std::string& key) {
        DocumentPtr active = ActiveDocument();
        return active && active->Key() == key ? active : nullptr;
    }
};

using ApplicationPtr = std::shared_ptr<Application>;

} // namespace kalvex::cad
