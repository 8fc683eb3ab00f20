#include "drawing/cad/ModelCollections.h"

#include "drawing/entities/SimpleEntities.h"
#include "drawing/entities/TextEntity.h"

namespace kalvex::drawing {

void requireIndex(int index, std::size_t count, const char* collection) {
    if (index < 0 || static_cast<std::size_t>(index) >= count)
        throw cad::CadError("Index " + std::to_string(index) + " is outside the " + collection +
                            " (" + std::to_string(count) + " items).");
}

std::string ModelLayer::Name() const {
    return LayerEntry::name(m_model->drawing(), m_id);
}

bool ModelLayer::Lock() const {
    return LayerEntry::isLocked(m_model->drawing(), m_id);
}

int ModelLayers::Count() const {
    return static_cast<int>(m_model->drawing().layers().size());
}

std::shared_ptr<cad::Layer> ModelLayers::Item(int index) const {
    const auto& layers = m_model->drawing().layers();
    requireIndex(index, layers.size(), "layers");
    return std::make_shared<ModelLayer>(m_model, layers[static_cast<std::size_t>(index)]);
}

std::string ModelBlockItem::EntityName() const {
    return cadEntityName(m_model->drawing().typeName(m_id));
}

void ModelBlockItem::requireAttributeDefinition() const {
    if (m_model->drawing().slot(m_id).kind != RecordKind::Attdef)
        throw cad::CadError("The block item is no attribute definition.");
}

std::string ModelBlockItem::TagString() const {
    requireAttributeDefinition();
    return TextEntity(m_model->drawing(), m_id).tagString();
}

std::string ModelBlockItem::PromptString() const {
    requireAttributeDefinition();
    return TextEntity(m_model->drawing(), m_id).promptString();
}

std::vector<RecordId> ModelBlock::liveItems() const {
    std::vector<RecordId> items;
    for (RecordId id : m_model->drawing().blocks()[m_index].items)
        if (!m_model->drawing().slot(id).erased)
            items.push_back(id);
    return items;
}

std::string ModelBlock::Name() const {
    return BlockEntry::name(m_model->drawing(), m_model->drawing().blocks()[m_index].block);
}

int ModelBlock::Count() const {
    return static_cast<int>(liveItems().size());
}

std::shared_ptr<cad::BlockItem> ModelBlock::Item(int index) const {
    const auto items = liveItems();
    requireIndex(index, items.size(), "block");
    return std::make_shared<ModelBlockItem>(m_model, items[static_cast<std::size_t>(index)]);
}

int ModelBlocks::Count() const {
    return static_cast<int>(m_model->drawing().blocks().size());
}

std::shared_ptr<cad::Block> ModelBlocks::Item(int index) const {
    requireIndex(index, m_model->drawing().blocks().size(), "blocks");
    return std::make_shared<ModelBlock>(m_model, static_cast<std::size_t>(index));
}

} // namespace kalvex::drawing
