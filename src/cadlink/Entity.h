#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cadlink/CadError.h"

namespace kalvex::cad {

// Any entity of the drawing. Every call may throw CadError.
class Entity {
public:
    virtual ~Entity() = default;

    virtual std::string Handle() const = 0;
    virtual std::string Layer() const = 0;
    virtual std::int64_t ObjectID() const = 0;
    // The CAD's name of the entity's type: "AcDbText", "AcDbBlockReference", "AcDbAttribute",
    // "AcDbAttributeDefinition", ...
    virtual std::string EntityName() const = 0;
    virtual std::shared_ptr<Entity> Copy() = 0;
    virtual void Delete() = 0;
    virtual void Update() = 0; // redraw
};

using EntityPtr = std::shared_ptr<Entity>;

// Asks an entity for the interface the caller needs; an entity of another kind makes it throw.
template <class T> std::shared_ptr<T> entityAs(const EntityPtr& entity) {
    if (!entity)
        throw CadError("No entity.");
    auto typed = std::dynamic_pointer_cast<T>(entity);
    if (!typed)
        throw CadError("The entity " + entity->Handle() + " (" + entity->EntityName() +
                       ") does not offer the interface asked for.");
    return typed;
}

} // namespace kalvex::cad
