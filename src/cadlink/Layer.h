#pragma once

#include <memory>
#include <string>

namespace kalvex::cad {

class Layer {
public:
    virtual ~Layer() = default;
    virtual std::string Name() const = 0;
    virtual bool Lock() const = 0;
};

class Layers {
public:
    virtual ~Layers() = default;
    virtual int Count() const = 0;
    virtual std::shared_ptr<Layer> Item(int index) const = 0; // 0-based
};

} // namespace kalvex::cad
