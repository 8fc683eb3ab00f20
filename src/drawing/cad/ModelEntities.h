#pragma once

#include <memory>

#include "cadlink/AttributeReference.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"

namespace kalvex::drawing {

// Any entity of a CadModel. Every call checks that the entity still exists; changes are
// refused on a locked layer.
class ModelEntity : public virtual cad::Entity {
public:
    ModelEntity(std::shared_ptr<CadModel> model, RecordId id)
        : m_model(std::move(model)), m_id(id) {}

    std::string Handle() const override;
    std::string Layer() const override;
    std::int64_t ObjectID() const override;
    std::string EntityName() const override;
    cad::EntityPtr Copy() override;
    void Delete() override;
    void Update() override;

protected:
    // For reading: the entity must exist.
    void enter() const;
    // For changing: the same, and the entity's layer must not be locked.
    void enterForChange() const;
    Drawing& drawing() const { return m_model->drawing(); }

    std::shared_ptr<CadModel> m_model;
    RecordId m_id;
};

class ModelText : public cad::Text, public ModelEntity {
public:
    using ModelEntity::ModelEntity;
    std::string TextString() const override;
    void SetTextString(const std::string& text) override;
    int Alignment() const override;
    void SetAlignment(int alignment) override;
    cad::CadPoint InsertionPoint() const override;
    void SetInsertionPoint(const cad::CadPoint& point) override;
    cad::CadPoint TextAlignmentPoint() const override;
    void SetTextAlignmentPoint(const cad::CadPoint& point) override;
};

class ModelAttribute : public cad::AttributeReference, public ModelEntity {
public:
    using ModelEntity::ModelEntity;
    std::string TagString() const override;
    std::string TextString() const override;
    void SetTextString(const std::string& text) override;
    int Alignment() const override;
    cad::CadPoint InsertionPoint() const override;
    cad::CadPoint TextAlignmentPoint() const override;
};

class ModelBlockReference : public cad::BlockReference, public ModelEntity {
public:
    using ModelEntity::ModelEntity;
    bool HasAttributes() const override;
    std::vector<cad::AttributeReferencePtr> GetAttributes() const override;
    cad::CadPoint InsertionPoint() const override;
    std::string Name() const override;

private:
    std::vector<RecordId> attributes() const;
};

} // namespace kalvex::drawing
