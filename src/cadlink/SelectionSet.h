#pragma once

#include <memory>
#include <string>

#include "cadlink/Entity.h"
#include "cadlink/SelectionFilter.h"

namespace kalvex::cad {

// A named selection set of the drawing.
class SelectionSet {
public:
    virtual ~SelectionSet() = default;
    virtual std::string Name() const = 0;
    virtual int Count() const = 0;
    virtual EntityPtr Item(int index) const = 0; // 0-based
    virtual void Clear() = 0;                    // empties the set; the entities stay
    virtual void Delete() = 0;                   // removes the set from the drawing
    // Lets the user pick on screen; returns when picking ends. A cancelled selection throws.
    virtual void SelectOnScreen(const SelectionFilter& filter) = 0;
    enum class Mode { All = 5 };
    virtual void Select(Mode mode, const SelectionFilter& filter) = 0;
};

using SelectionSetPtr = std::shared_ptr<SelectionSet>;

class SelectionSets {
public:
    virtual ~SelectionSets() = default;
    virtual int Count() const = 0;
    virtual SelectionSetPtr Item(int index) const = 0;
    virtual SelectionSetPtr Add(const std::string& name) = 0;
};

} // namespace kalvex::cad
