#pragma once

#include "cadlink/CadPoint.h"
#include "cadlink/Entity.h"

namespace kalvex::cad {

// A single-line TEXT entity.
class Text : public virtual Entity {
public:
    virtual std::string TextString() const = 0;
    virtual void SetTextString(const std::string& text) = 0;
    virtual int Alignment() const = 0; // 0 = left
    virtual void SetAlignment(int alignment) = 0;
    virtual CadPoint InsertionPoint() const = 0;
    virtual void SetInsertionPoint(const CadPoint& point) = 0;
    virtual CadPoint TextAlignmentPoint() const = 0;
    virtual void SetTextAlignmentPoint(const CadPoint& point) = 0;
};

} // namespace kalvex::cad
