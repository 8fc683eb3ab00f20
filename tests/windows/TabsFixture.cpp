#include "TabsFixture.h"

#include <stdexcept>

namespace kalvex {

bool NotingWindow::proceed() {
    ++proceeded;
    return abortAfter < 0 || proceeded <= abortAfter;
}

fake::Layer& TabsTest::layer(const std::string& name) {
    for (fake::Layer& layer : server.drawing().layers())
        if (layer.name == name)
            return layer;
    throw std::invalid_argument("no layer " + name);
}

} // namespace kalvex
