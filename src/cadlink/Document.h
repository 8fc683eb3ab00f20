#pragma once

#include <memory>
#include <string>

#include "cadlink/Block.h"
#include "cadlink/Entity.h"
#include "cadlink/Layer.h"
#include "cadlink/SelectionSet.h"
#include "platform/WindowHandle.h"

namespace kalvex::cad {

// The current drawing.
class Document {
public:
    virtual ~Document() = default;
    virtual std::shared_ptr<Layers> GetLayers() = 0;
    virtual std::shared_ptr<SelectionSets> GetSelectionSets() = 0;
    virtual std::shared_ptr<Blocks> GetBlocks() = 0;
    virtual EntityPtr HandleToObject(const std::string& handle) = 0; // unknown handle throws
    virtual double GetVariable(const std::string& name) = 0;         // "VIEWSIZE"
    virtual WindowHandle Hwnd() = 0;                                 // the document window
    virtual void Regen(int viewports) = 0;                           // 0 = active viewport
    // Called once before a bulk write; starts one undo step for what follows.
    virtual void StartUndoMark() = 0;
    // Tells this drawing apart from the others the CAD holds open, for as long as it stays
    // open; empty where the CAD holds one drawing only.
    virtual std::string Key() { return {}; }
    // Makes this drawing the active one, its window in front of the other drawings' windows;
    // nothing to do where the CAD holds one drawing only.
    virtual void Activate() {}
};

using DocumentPtr = std::shared_ptr<Document>;

} // namespace kalvex::cad
