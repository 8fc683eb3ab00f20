// Wrappers of the entities, one per kind the CAD interface knows.
#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "kit/FaultyObjects.h"

namespace kalvex::testing {
namespace {

// What every entity offers, on top of the interface of its kind.
template <class Kind> class FaultyEntityOf : public Faulty<Kind> {
public:
    using Faulty<Kind>::Faulty;
    using E = cad::Entity;
    std::string Handle() const override { return this->pass("Handle", &E::Handle); }
    std::string Layer() const override { return this->pass("Layer", &E::Layer); }
    std::int64_t ObjectID() const override { return this->pass("ObjectID", &E::ObjectID); }
    std::string EntityName() const override { return this->pass("EntityName", &E::EntityName); }
    cad::EntityPtr Copy() override { return this->pass("Copy", &E::Copy); }
    void Delete() override { this->pass("Delete", &E::Delete); }
    void Update() override { this->pass("Update", &E::Update); }
};

using FaultyEntity = FaultyEntityOf<cad::Entity>;

class FaultyText final : public FaultyEntityOf<cad::Text> {
public:
    using FaultyEntityOf::FaultyEntityOf;
    using T = cad::Text;
    std::string TextString() const override { return pass("TextString", &T::TextString); }
    void SetTextString(const std::string& text) override {
        pass("SetTextString", &T::SetTextString, text);
    }
    int Alignment() const override { return pass("Alignment", &T::Alignment); }
    void SetAlignment(int alignment) override { pass("SetAlignment", &T::SetAlignment, alignment); }
    cad::CadPoint InsertionPoint() const override {
        return pass("InsertionPoint", &T::InsertionPoint);
    }
    void SetInsertionPoint(const cad::CadPoint& point) override {
        pass("SetInsertionPoint", &T::SetInsertionPoint, point);
    }
    cad::CadPoint TextAlignmentPoint() const override {
        return pass("TextAlignmentPoint", &T::TextAlignmentPoint);
    }
    void SetTextAlignmentPoint(const cad::CadPoint& point) override {
        pass("SetTextAlignmentPoint", &T::SetTextAlignmentPoint, point);
    }
};

class FaultyAttribute final : public FaultyEntityOf<cad::AttributeReference> {
public:
    using FaultyEntityOf::FaultyEntityOf;
    using A = cad::AttributeReference;
    std::string TagString() const override { return pass("TagString", &A::TagString); }
    std::string TextString() const override { return pass("TextString", &A::TextString); }
    void SetTextString(const std::string& text) override {
        pass("SetTextString", &A::SetTextString, text);
    }
    int Alignment() const override { return pass("Alignment", &A::Alignment); }
    cad::CadPoint InsertionPoint() const override {
        return pass("InsertionPoint", &A::InsertionPoint);
    }
    cad::CadPoint TextAlignmentPoint() const override {
        return pass("TextAlignmentPoint", &A::TextAlignmentPoint);
    }
};

class FaultyBlockReference final : public FaultyEntityOf<cad::BlockReference> {
public:
    using FaultyEntityOf::FaultyEntityOf;
    using B = cad::BlockReference;
    bool HasAttributes() const override { return pass("HasAttributes", &B::HasAttributes); }
    std::vector<cad::AttributeReferencePtr> GetAttributes() const override {
        return pass("GetAttributes", &B::GetAttributes);
    }
    cad::CadPoint InsertionPoint() const override {
        return pass("InsertionPoint", &B::InsertionPoint);
    }
    std::string Name() const override { return pass("Name", &B::Name); }
};

} // namespace

// Every entity of the CAD offers at most one kind besides Entity (the kinds' interfaces share
// member names, so one object could not offer two); the wrapper offers the same one.
cad::EntityPtr wrapped(cad::EntityPtr entity, const FaultsPtr& faults) {
    if (auto text = std::dynamic_pointer_cast<cad::Text>(entity))
        return wrapIn<FaultyText>(std::move(text), faults);
    if (auto attribute = std::dynamic_pointer_cast<cad::AttributeReference>(entity))
        return wrapIn<FaultyAttribute>(std::move(attribute), faults);
    if (auto insert = std::dynamic_pointer_cast<cad::BlockReference>(entity))
        return wrapIn<FaultyBlockReference>(std::move(insert), faults);
    return wrapIn<FaultyEntity>(std::move(entity), faults);
}

cad::AttributeReferencePtr wrapped(cad::AttributeReferencePtr attribute, const FaultsPtr& faults) {
    return wrapIn<FaultyAttribute>(std::move(attribute), faults);
}

std::vector<cad::AttributeReferencePtr> wrapped(std::vector<cad::AttributeReferencePtr> attributes,
                                                const FaultsPtr& faults) {
    for (auto& attribute : attributes)
        attribute = wrapped(std::move(attribute), faults);
    return attributes;
}

} // namespace kalvex::testing
