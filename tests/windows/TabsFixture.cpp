#include "TabsFixture.h"

namespace kalvex {

bool NotingWindow::proceed() {
    ++proceeded;
    return abortAfter < 0 || proceeded <= abortAfter;
}

} // namespace kalvex
