#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cadlink/CadPoint.h"
#include "drawing/cad/CadModel.h"
#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

enum class LayerState { Unlocked, Locked };

struct TextSpec {
    std::string text;
    int alignment = 0; // the CAD's number: 0 left ... 14 bottom right
    cad::CadPoint insertion{0, 0, 0};
    cad::CadPoint alignmentPoint{0, 0, 0}; // written when alignment is not 0
    std::string layer = "0";
    double height = 2.5;
};

struct AttributeSpec {
    std::string tag;
    std::string text;
    int alignment = 0;
    cad::CadPoint insertion{0, 0, 0};
    cad::CadPoint alignmentPoint{0, 0, 0};
    std::string layer = "0";
};

struct InsertSpec {
    std::string block;
    cad::CadPoint insertion{0, 0, 0};
    std::string layer = "0";
    std::vector<AttributeSpec> attributes;
};

struct AttributeDefinitionSpec {
    std::string tag;
    std::string prompt;
    std::string defaultText;
};

// Fills a drawing in code: a new drawing (UTF-8 text, layer "0") to which layers, block
// definitions, TEXTs and INSERTs are added in drawing order. What it adds is not part of any
// undo step. The entity calls return the new entity's handle.
class DrawingBuilder {
public:
    DrawingBuilder();

    DrawingBuilder& layer(const std::string& name, LayerState state = LayerState::Unlocked);
    DrawingBuilder& block(const std::string& name,
                          const std::vector<AttributeDefinitionSpec>& definitions = {});
    std::string text(const TextSpec& given);
    // The handles of the INSERT and then of its attributes, in order.
    std::vector<std::string> insert(const InsertSpec& given);

    std::shared_ptr<Drawing> drawing();
    // The drawing as the CAD interface shows it (no picker yet: see CadModel::setPicker).
    std::shared_ptr<CadModel> model();

private:
    Drawing::NewRecord attributeRecord(const AttributeSpec& given, const std::string& owner);
    Drawing::NewRecord sequenceEnd(const std::string& layer, const std::string& owner);

    std::shared_ptr<Drawing> m_drawing;
};

} // namespace kalvex::drawing
