#pragma once

#include "cadlink/Block.h"
#include "cadlink/Layer.h"
#include "drawing/cad/CadModel.h"

namespace kalvex::drawing {

class ModelLayer : public cad::Layer {
public:
    ModelLayer(std::shared_ptr<CadModel> model, RecordId id)
        : m_model(std::move(model)), m_id(id) {}
    std::string Name() const override;
    bool Lock() const override;

private:
    std::shared_ptr<CadModel> m_model;
    RecordId m_id;
};

class ModelLayers : public cad::Layers {
public:
    explicit ModelLayers(std::shared_ptr<CadModel> model) : m_model(std::move(model)) {}
    int Count() const override;
    std::shared_ptr<cad::Layer> Item(int index) const override;

private:
    std::shared_ptr<CadModel> m_model;
};

class ModelBlockItem : public cad::BlockItem {
public:
    ModelBlockItem(std::shared_ptr<CadModel> model, RecordId id)
        : m_model(std::move(model)), m_id(id) {}
    std::string EntityName() const override;
    std::string TagString() const override;
    std::string PromptString() const override;

private:
    void requireAttributeDefinition() const;
    std::shared_ptr<CadModel> m_model;
    RecordId m_id;
};

class ModelBlock : public cad::Block {
public:
    ModelBlock(std::shared_ptr<CadModel> model, std::size_t index)
        : m_model(std::move(model)), m_index(index) {}
    std::string Name() const override;
    int Count() const override;
    std::shared_ptr<cad::BlockItem> Item(int index) const override;

private:
    std::vector<RecordId> liveItems() const;
    std::shared_ptr<CadModel> m_model;
    std::size_t m_index;
};

class ModelBlocks : public cad::Blocks {
public:
    explicit ModelBlocks(std::shared_ptr<CadModel> model) : m_model(std::move(model)) {}
    int Count() const override;
    std::shared_ptr<cad::Block> Item(int index) const override;

private:
    std::shared_ptr<CadModel> m_model;
};

// Throws CadError unless 0 <= index < count.
void requireIndex(int index, std::size_t count, const char* collection);

} // namespace kalvex::drawing
