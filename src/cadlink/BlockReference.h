#pragma once

#include <vector>

#include "cadlink/AttributeReference.h"
#include "cadlink/CadPoint.h"
#include "cadlink/Entity.h"

namespace kalvex::cad {

// A block reference (INSERT).
class BlockReference : public virtual Entity {
public:
    virtual bool HasAttributes() const = 0;
    virtual std::vector<AttributeReferencePtr> GetAttributes() const = 0; // in drawing order
    virtual CadPoint InsertionPoint() const = 0;
    virtual std::string Name() const = 0; // block name
};

} // namespace kalvex::cad
