#pragma once

#include <oaidl.h>

#include "cadlink/AttributeReference.h"
#include "cadlink/Entity.h"
#include "com/ComRef.h"

namespace kalvex::com {

// An entity of the CAD as the interface its kind offers: a TEXT as cad::Text, a block
// reference as cad::BlockReference, an attribute as cad::AttributeReference, anything else as
// a plain cad::Entity. The kind is read from the entity's EntityName.
cad::EntityPtr entityOf(ComRef<IDispatch> object);
// An element of a block reference's attributes, which is an attribute by construction.
cad::AttributeReferencePtr attributeOf(ComRef<IDispatch> object);

} // namespace kalvex::com
