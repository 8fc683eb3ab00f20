#pragma once

#include <memory>
#include <string>

namespace kalvex::cad {

// An item of a block definition: the tag list reads attribute definitions from it.
class BlockItem {
public:
    virtual ~BlockItem() = default;
    virtual std::string EntityName() const = 0;
    virtual std::string TagString() const = 0; // throws for an item that is no attribute definition
    virtual std::string PromptString() const = 0; // likewise
};

// A block definition.
class Block {
public:
    virtual ~Block() = default;
    virtual std::string Name() const = 0;
    virtual int Count() const = 0;
    virtual std::shared_ptr<BlockItem> Item(int index) const = 0;
};

// The drawing's block definitions.
class Blocks {
public:
    virtual ~Blocks() = default;
    virtual int Count() const = 0;
    virtual std::shared_ptr<Block> Item(int index) const = 0;
};

} // namespace kalvex::cad
