#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// The drawings the drawing benchmarks work on: 200 000 TEXTs, about 40 MB, and the drawings of
// the timing table.
namespace kalvex::bench {

namespace fs = std::filesystem;

// An R2000 drawing of `count` TEXTs, each about 200 bytes as CAD programs write them.
inline std::string generateDrawing(int count) {
    std::string out = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n"
                      "  3\nANSI_932\n  9\n$HANDSEED\n  5\nFFFFF\n  0\nENDSEC\n"
                      "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  5\n2\n 70\n1\n"
                      "  0\nLAYER\n  5\n10\n  2\n0\n 70\n0\n  0\nENDTAB\n  0\nENDSEC\n"
                      "  0\nSECTION\n  2\nENTITIES\n";
    char buffer[512];
    for (int i = 0; i < count; ++i) {
        const int length = std::snprintf(
            buffer, sizeof buffer,
            "  0\nTEXT\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n"
            " 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 40\n2.5\n  1\nLINE-%06d \x94\x7a\x90\xfc\n"
            " 50\n0.0\n  7\nSTANDARD\n 72\n0\n 11\n0.0\n 21\n0.0\n 31\n0.0\n100\nAcDbText\n"
            " 73\n0\n",
            0x100 + i, 1000.0 + i * 0.5, 2000.0 - i * 0.25, i);
        out.append(buffer, static_cast<std::size_t>(length));
    }
    out += "  0\nENDSEC\n  0\nEOF\n";
    return out;
}

inline const fs::path& sampleFile() {
    static const fs::path path = [] {
        const fs::path file = fs::temp_directory_path() / "kalvex_bench_drawing.dxf";
        std::ofstream(file, std::ios::binary) << generateDrawing(200000);
        return file;
    }();
    return path;
}

// A drawing of the timing table, written by its generator (scripts/timing_drawings.py) into
// the temporary directory: KIND is "texts" or "refs".
inline fs::path timingDrawing(const std::string& kind, int count) {
    const fs::path file =
        fs::temp_directory_path() / ("kalvex_bench_" + kind + "_" + std::to_string(count) + ".dxf");
    const std::string command = "/usr/bin/python3 '" KALVEX_SOURCE_DIR
                                "/scripts/timing_drawings.py' " +
                                kind + " " + std::to_string(count) + " '" + file.string() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cannot write " + file.string());
    return file;
}

} // namespace kalvex::bench
