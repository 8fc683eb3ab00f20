#include <iostream>

#include "drawing/dxf/TemporaryFiles.h"
#include "drawing/tags/LargeBuffers.h"
#include "dxftool/Tool.h"

int main(int argc, char** argv) {
    kalvex::dxf::restartWithHugePageHeap(argv);
    std::ios::sync_with_stdio(false);
    kalvex::drawing::removeTemporariesOnSignals();
    return kalvex::dxftool::run(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                std::cerr);
}
