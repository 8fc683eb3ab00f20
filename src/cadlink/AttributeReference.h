#pragma once

#include "cadlink/CadPoint.h"
#include "cadlink/Entity.h"

namespace kalvex::cad {

// One attribute of a block reference.
class AttributeReference : public virtual Entity {
public:
    virtual std::string TagString() const = 0;
    virtual std::string TextString() const = 0;
    virtual void SetTextString(const std::string& text) = 0;
    virtual int Alignment() const = 0;
    virtual CadPoint InsertionPoint() const = 0;
    virtual CadPoint TextAlignmentPoint() const = 0;
};

using AttributeReferencePtr = std::shared_ptr<AttributeReference>;

} // namespace kalvex::cad
