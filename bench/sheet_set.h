#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A project's set of drawings as the multi-drawing benchmarks use it, generated when they run.
namespace kalvex::bench {

namespace fs = std::filesystem;

// One sheet: a title block, `texts` TEXTs, `terminals` references of a block with four
// attributes, and LINEs up to about `bytes` bytes, as CAD programs write them (R2000, ANSI_932).
struct SheetShape {
    int texts = 500;
    int terminals = 100;
    std::size_t bytes = 2'000'000;
    // Every other TEXT ends in a word of half-width katakana (ﾎﾟﾝﾌﾟ ｶﾞｽ), for the kana conversions.
    bool halfWidthKana = false;
};

namespace sheet {

inline void append(std::string& out, const char* format, auto... values) {
    char buffer[1024];
    const int length = std::snprintf(buffer, sizeof buffer, format, values...);
    out.append(buffer, static_cast<std::size_t>(length));
}

inline void attributeDefinition(std::string& out, int handle, int owner, const char* tag,
                                double y) {
    append(out,
           "  0\nATTDEF\n  5\n%X\n330\n%X\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n0.0\n"
           " 20\n%.1f\n 30\n0.0\n 40\n2.5\n  1\n\n100\nAcDbAttributeDefinition\n  3\n%s\n"
           "  2\n%s\n 70\n0\n",
           handle, owner, y, tag, tag);
}

inline void block(std::string& out, int handle, const char* name,
                  const std::vector<const char*>& tags) {
    append(out,
           "  0\nBLOCK\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockBegin\n  2\n%s\n"
           " 70\n2\n 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\n%s\n  1\n\n",
           handle, name, name);
    for (std::size_t i = 0; i < tags.size(); ++i)
        attributeDefinition(out, handle + 1 + static_cast<int>(i), handle, tags[i], -5.0 * i);
    append(out, "  0\nENDBLK\n  5\n%X\n330\n%X\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockEnd\n",
           handle + 1 + static_cast<int>(tags.size()), handle);
}

inline void header(std::string& out) {
    out += "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n"
           "  3\nANSI_932\n  9\n$HANDSEED\n  5\nFFFFFF\n  0\nENDSEC\n"
           "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  5\n2\n 70\n2\n"
           "  0\nLAYER\n  5\n10\n  2\n0\n 70\n0\n  0\nLAYER\n  5\n11\n  2\nWIRES\n 70\n0\n"
           "  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nBLOCKS\n";
    block(out, 0x20, "TITLE", {"DWGNO", "TITLE", "REV", "DATE", "DRAWN"});
    block(out, 0x30, "TERM", {"TAG", "WIRE", "FROM", "TO"});
    out += "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
}

inline void attribute(std::string& out, int handle, int owner, const char* tag, const char* text,
                      double x, double y) {
    append(out,
           "  0\nATTRIB\n  5\n%X\n330\n%X\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n%.3f\n"
           " 20\n%.3f\n 30\n0.0\n 40\n2.5\n  1\n%s\n100\nAcDbAttribute\n  2\n%s\n 70\n0\n",
           handle, owner, x, y, text, tag);
}

// An INSERT with its ATTRIBs and SEQEND, handles from `handle` on.
inline void insert(std::string& out, int handle, const char* name,
                   const std::vector<std::pair<const char*, std::string>>& values, double x,
                   double y) {
    append(out,
           "  0\nINSERT\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockReference\n"
           " 66\n1\n  2\n%s\n 10\n%.3f\n 20\n%.3f\n 30\n0.0\n",
           handle, name, x, y);
    for (std::size_t i = 0; i < values.size(); ++i)
        attribute(out, handle + 1 + static_cast<int>(i), handle, values[i].first,
                  values[i].second.c_str(), x, y - 5.0 * i);
    append(out, "  0\nSEQEND\n  5\n%X\n330\n%X\n100\nAcDbEntity\n  8\n0\n",
           handle + 1 + static_cast<int>(values.size()), handle);
}

inline std::string numbered(const char* prefix, int number) {
    return std::string(prefix).append(std::to_string(number));
}

} // namespace sheet

// Sheet `number` of a set; the Japanese strings are CP932 bytes (配電盤, 端子).
inline std::string generateSheet(int number, const SheetShape& shape) {
    using namespace sheet;
    std::string out;
    out.reserve(shape.bytes + 4096);
    header(out);
    const std::string sheetNumber = numbered("E-", 1000 + number);
    insert(out, 0x100, "TITLE",
           {{"DWGNO", sheetNumber},
            {"TITLE", std::string("\x94\x7a\x93\x64\x94\xd5 ").append(sheetNumber)},
            {"REV", "A"},
            {"DATE", "2024-04-01"},
            {"DRAWN", "KALVEX"}},
           400.0, 10.0);
    int handle = 0x200;
    for (int i = 0; i < shape.texts; ++i, ++handle) {
        const char* kana =
            shape.halfWidthKana && i % 2 == 0 ? " \xce\xdf\xdd\xcc\xdf \xb6\xde\xbd" : "";
        append(out,
               "  0\nTEXT\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n%.3f\n"
               " 20\n%.3f\n 30\n0.0\n 40\n2.5\n  1\nLABEL-%04d \x92\x5b\x8e\x71%s\n100\nAcDbText\n",
               handle, 10.0 + i % 20 * 20.0, 10.0 + i / 20 * 8.0, i, kana);
    }
    for (int i = 0; i < shape.terminals; ++i, handle += 6)
        insert(out, handle, "TERM",
               {{"TAG", numbered("X", i)},
                {"WIRE", numbered("W", number * 1000 + i)},
                {"FROM", numbered("TB1-", i)},
                {"TO", numbered("TB2-", i)}},
               10.0 + i % 10 * 30.0, 300.0 + i / 10 * 25.0);
    for (int i = 0; out.size() + 200 < shape.bytes; ++i, ++handle)
        append(out,
               "  0\nLINE\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\nWIRES\n100\nAcDbLine\n"
               " 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 11\n%.6f\n 21\n%.6f\n 31\n0.0\n",
               handle, i * 0.25, 100.0 + i % 50, i * 0.25 + 10.0, 100.0 + i % 50);
    out += "  0\nENDSEC\n  0\nEOF\n";
    return out;
}

// Writes `count` sheets into `dir` (emptied first) and returns their paths.
inline std::vector<std::string> writeSheetSet(const fs::path& dir, int count,
                                              const SheetShape& shape = {}) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "E-%04d.dxf", i + 1);
        paths.push_back((dir / name).string());
        std::ofstream(paths.back(), std::ios::binary) << generateSheet(i, shape);
    }
    return paths;
}

} // namespace kalvex::bench
