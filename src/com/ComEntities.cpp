#include "com/ComEntities.h"

#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "com/Dispatch.h"

namespace kalvex::com {

namespace {

// What every entity offers, on top of the interface of its kind.
template <class Kind> class ComEntity : public Kind {
public:
    explicit ComEntity(ComRef<IDispatch> object) : m_entity(std::move(object), Interface::Entity) {}

    std::string Handle() const override { return stringOf(m_entity.get("Handle").get()); }
    std::string Layer() const override { return stringOf(m_entity.get("Layer").get()); }
    std::int64_t ObjectID() const override { return integerOf(m_entity.get("ObjectID").get()); }
    std::string EntityName() const override { return stringOf(m_entity.get("EntityName").get()); }
    cad::EntityPtr Copy() override { return entityOf(objectOf(m_entity.call("Copy").get())); }
    void Delete() override { m_entity.call("Delete"); }
    void Update() override { m_entity.call("Update"); }

protected:
    DispatchObject m_entity;
};

class ComText final : public ComEntity<cad::Text> {
public:
    explicit ComText(ComRef<IDispatch> object)
        : ComEntity(std::move(object)), m_text(m_entity.as(Interface::Text)) {}

    std::string TextString() const override { return stringOf(m_text.get("TextString").get()); }
    void SetTextString(const std::string& text) override {
        m_text.put("TextString", variantOf(text));
    }
    int Alignment() const override {
        return static_cast<int>(integerOf(m_text.get("Alignment").get()));
    }
    void SetAlignment(int alignment) override { m_text.put("Alignment", variantOf(alignment)); }
    cad::CadPoint InsertionPoint() const override {
        return pointOf(m_text.get("InsertionPoint").get());
    }
    void SetInsertionPoint(const cad::CadPoint& point) override {
        m_text.put("InsertionPoint", variantOf(point));
    }
    cad::CadPoint TextAlignmentPoint() const override {
        return pointOf(m_text.get("TextAlignmentPoint").get());
    }
    void SetTextAlignmentPoint(const cad::CadPoint& point) override {
        m_text.put("TextAlignmentPoint", variantOf(point));
    }

private:
    DispatchObject m_text;
};

class ComAttribute final : public ComEntity<cad::AttributeReference> {
public:
    explicit ComAttribute(ComRef<IDispatch> object)
        : ComEntity(std::move(object)), m_attribute(m_entity.as(Interface::AttributeReference)) {}

    std::string TagString() const override { return stringOf(m_attribute.get("TagString").get()); }
    std::string TextString() const override {
        return stringOf(m_attribute.get("TextString").get());
    }
    void SetTextString(const std::string& text) override {
        m_attribute.put("TextString", variantOf(text));
    }
    int Alignment() const override {
        return static_cast<int>(integerOf(m_attribute.get("Alignment").get()));
    }
    cad::CadPoint InsertionPoint() const override {
        return pointOf(m_attribute.get("InsertionPoint").get());
    }
    cad::CadPoint TextAlignmentPoint() const override {
        return pointOf(m_attribute.get("TextAlignmentPoint").get());
    }

private:
    DispatchObject m_attribute;
};

class ComBlockReference final : public ComEntity<cad::BlockReference> {
public:
    explicit ComBlockReference(ComRef<IDispatch> object)
        : ComEntity(std::move(object)), m_reference(m_entity.as(Interface::BlockReference)) {}

    bool HasAttributes() const override { return boolOf(m_reference.get("HasAttributes").get()); }
    std::vector<cad::AttributeReferencePtr> GetAttributes() const override {
        std::vector<cad::AttributeReferencePtr> attributes;
        for (auto& object : objectsOf(m_reference.call("GetAttributes").get()))
            attributes.push_back(attributeOf(std::move(object)));
        return attributes;
    }
    cad::CadPoint InsertionPoint() const override {
        return pointOf(m_reference.get("InsertionPoint").get());
    }
    std::string Name() const override { return stringOf(m_reference.get("Name").get()); }

private:
    DispatchObject m_reference;
};

} // namespace

cad::EntityPtr entityOf(ComRef<IDispatch> object) {
    const std::string kind =
        stringOf(DispatchObject(object, Interface::Entity).get("EntityName").get());
    if (kind == "AcDbText")
        return std::make_shared<ComText>(std::move(object));
    if (kind == "AcDbBlockReference")
        return std::make_shared<ComBlockReference>(std::move(object));
    if (kind == "AcDbAttribute")
        return std::make_shared<ComAttribute>(std::move(object));
    return std::make_shared<ComEntity<cad::Entity>>(std::move(object));
}

cad::AttributeReferencePtr attributeOf(ComRef<IDispatch> object) {
    return std::make_shared<ComAttribute>(std::move(object));
}

} // namespace kalvex::com
