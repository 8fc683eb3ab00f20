#include "drawing/cad/ModelEntities.h"

#include "drawing/entities/EntityLifetime.h"
#include "drawing/entities/RecordView.h"
#include "drawing/entities/SimpleEntities.h"
#include "drawing/entities/TextEntity.h"

namespace kalvex::drawing {

void ModelEntity::enter() const {
    m_model->requireLive(m_id);
}

void ModelEntity::enterForChange() const {
    enter();
    m_model->requireUnlocked(m_id);
}

std::string ModelEntity::Handle() const {
    enter();
    return drawing().handleText(m_id);
}

std::string ModelEntity::Layer() const {
    enter();
    return RecordView(drawing(), m_id).layer();
}

std::int64_t ModelEntity::ObjectID() const {
    enter();
    return static_cast<std::int64_t>(m_id) + 1;
}

std::string ModelEntity::EntityName() const {
    enter();
    return cadEntityName(drawing().typeName(m_id));
}

cad::EntityPtr ModelEntity::Copy() {
    enterForChange();
    return m_model->entity(copyEntity(drawing(), m_id));
}

void ModelEntity::Delete() {
    enterForChange();
    eraseEntity(drawing(), m_id);
}

void ModelEntity::Update() {
    enter();
}

std::string ModelText::TextString() const {
    enter();
    return TextEntity(drawing(), m_id).textString();
}

void ModelText::SetTextString(const std::string& text) {
    enterForChange();
    TextEntity(drawing(), m_id).setTextString(text);
}

int ModelText::Alignment() const {
    enter();
    return TextEntity(drawing(), m_id).alignment();
}

void ModelText::SetAlignment(int alignment) {
    enterForChange();
    TextEntity(drawing(), m_id).setAlignment(alignment);
}

cad::CadPoint ModelText::InsertionPoint() const {
    enter();
    return TextEntity(drawing(), m_id).insertionPoint();
}

void ModelText::SetInsertionPoint(const cad::CadPoint& point) {
    enterForChange();
    point.at(0); // a point that is no array throws before anything changes
    TextEntity(drawing(), m_id).setInsertionPoint(point);
}

cad::CadPoint ModelText::TextAlignmentPoint() const {
    enter();
    return TextEntity(drawing(), m_id).alignmentPoint();
}

void ModelText::SetTextAlignmentPoint(const cad::CadPoint& point) {
    enterForChange();
    point.at(0);
    TextEntity(drawing(), m_id).setAlignmentPoint(point);
}

std::string ModelAttribute::TagString() const {
    enter();
    return TextEntity(drawing(), m_id).tagString();
}

std::string ModelAttribute::TextString() const {
    enter();
    return TextEntity(drawing(), m_id).textString();
}

void ModelAttribute::SetTextString(const std::string& text) {
    enterForChange();
    TextEntity(drawing(), m_id).setTextString(text);
}

int ModelAttribute::Alignment() const {
    enter();
    return TextEntity(drawing(), m_id).alignment();
}

cad::CadPoint ModelAttribute::InsertionPoint() const {
    enter();
    return TextEntity(drawing(), m_id).insertionPoint();
}

cad::CadPoint ModelAttribute::TextAlignmentPoint() const {
    enter();
    return TextEntity(drawing(), m_id).alignmentPoint();
}

std::vector<RecordId> ModelBlockReference::attributes() const {
    std::vector<RecordId> result;
    const RecordSlot& insert = drawing().slot(m_id);
    for (RecordId child = m_id + 1; child <= m_id + insert.childCount; ++child) {
        const RecordSlot& slot = drawing().slot(child);
        if (slot.kind == RecordKind::Attrib && !slot.erased)
            result.push_back(child);
    }
    return result;
}

bool ModelBlockReference::HasAttributes() const {
    enter();
    return !attributes().empty();
}

std::vector<cad::AttributeReferencePtr> ModelBlockReference::GetAttributes() const {
    enter();
    std::vector<cad::AttributeReferencePtr> result;
    for (RecordId id : attributes())
        result.push_back(std::make_shared<ModelAttribute>(m_model, id));
    return result;
}

cad::CadPoint ModelBlockReference::InsertionPoint() const {
    enter();
    return InsertEntity::insertionPoint(drawing(), m_id);
}

std::string ModelBlockReference::Name() const {
    enter();
    return InsertEntity::blockName(drawing(), m_id);
}

} // namespace kalvex::drawing
