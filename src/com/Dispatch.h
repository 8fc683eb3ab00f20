#pragma once

#include <oaidl.h>

#include <string>
#include <vector>

#include "com/ComRef.h"
#include "com/Variant.h"

namespace kalvex::com {

// The interfaces of the CAD's automation server, each with its own member names.
enum class Interface {
    Application,
    Document,
    Layers,
    Layer,
    SelectionSets,
    SelectionSet,
    Blocks,
    Block,
    BlockItem,
    Entity,
    Text,
    BlockReference,
    AttributeReference,
};

// One object of the CAD reached by late binding through IDispatch. A member's id is looked up
// by name with the first object of its interface that is asked for it and kept for every later
// object of that interface, over every connection of the program's run. Every call that fails
// throws CadError; a call a busy CAD rejects is tried again for as long as the thread's message
// filter asks for it. User-interface thread only.
class DispatchObject {
public:
    DispatchObject(ComRef<IDispatch> object, Interface names);

    // The same object seen through another of its interfaces.
    DispatchObject as(Interface names) const { return {m_object, names}; }

    Variant get(const std::string& member, std::vector<Variant> arguments = {}) const;
    void put(const std::string& member, Variant value) const;
    Variant call(const std::string& member, std::vector<Variant> arguments = {}) const;

private:
    Variant invoke(const std::string& member, WORD flags, std::vector<Variant>& arguments) const;
    DISPID idOf(const std::string& member) const;

    ComRef<IDispatch> m_object;
    Interface m_names;
};

} // namespace kalvex::com
