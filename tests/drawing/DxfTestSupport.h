#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cadlink/Application.h"

namespace kalvex::drawing::test {

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The entities of model space of one type ("*" for all), through a selection set.
inline std::vector<cad::EntityPtr> modelSpace(cad::Document& document, const std::string& type) {
    auto set = document.GetSelectionSets()->Add("CORPUS");
    set->Select(cad::SelectionSet::Mode::All, cad::SelectionFilter::of({{0, type}}));
    std::vector<cad::EntityPtr> entities;
    for (int i = 0; i < set->Count(); ++i)
        entities.push_back(set->Item(i));
    set->Delete();
    return entities;
}

// A DXF text from its pairs, each code right-aligned in three columns as CAD programs write.
inline std::string dxfOf(const std::vector<std::pair<std::string, std::string>>& pairs,
                         const std::string& lineEnd = "\n") {
    std::string text;
    for (const auto& [code, value] : pairs) {
        text += std::string(code.size() < 3 ? 3 - code.size() : 0, ' ') + code + lineEnd;
        text += value + lineEnd;
    }
    return text;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

// A small R2000 drawing in code page 932: a locked layer, a block with one attribute
// definition, two TEXTs (one with reactors, an extension dictionary and xdata) and an INSERT
// with two ATTRIBs (the second on the locked layer, with an embedded object).
// clang-format off
inline Pairs r2000Drawing() {
    return {
        {"0", "SECTION"}, {"2", "HEADER"}, {"9", "$ACADVER"}, {"1", "AC1015"},
        {"9", "$DWGCODEPAGE"}, {"3", "ANSI_932"}, {"9", "$HANDSEED"}, {"5", "30"},
        {"0", "ENDSEC"},
        {"0", "SECTION"}, {"2", "TABLES"}, {"0", "TABLE"}, {"2", "LAYER"}, {"5", "2"},
        {"70", "2"},
        {"0", "LAYER"}, {"5", "10"}, {"2", "0"}, {"70", "0"},
        {"0", "LAYER"}, {"5", "11"}, {"2", "Locked"}, {"70", "4"},
        {"0", "ENDTAB"}, {"0", "ENDSEC"},
        {"0", "SECTION"}, {"2", "BLOCKS"},
        {"0", "BLOCK"}, {"5", "12"}, {"8", "0"}, {"2", "TAGGED"}, {"70", "2"},
        {"0", "ATTDEF"}, {"5", "13"}, {"8", "0"}, {"1", ""}, {"3", "Number?"}, {"2", "NO"},
        {"0", "ENDBLK"}, {"5", "14"}, {"8", "0"},
        {"0", "ENDSEC"},
        {"0", "SECTION"}, {"2", "ENTITIES"},
        {"0", "TEXT"}, {"5", "20"}, {"102", "{ACAD_REACTORS"}, {"330", "25"}, {"102", "}"},
        {"102", "{ACAD_XDICTIONARY"}, {"360", "26"}, {"102", "}"}, {"330", "1F"},
        {"100", "AcDbEntity"}, {"8", "0"}, {"100", "AcDbText"},
        {"10", "1.5"}, {"20", "2"}, {"30", "0.0"}, {"40", "2.5"}, {"1", "\x83\x65\x83\x58\x83\x67"},
        {"72", "     2"}, {"11", "9"}, {"21", "2"}, {"31", "0"}, {"100", "AcDbText"}, {"73", "0"},
        {"1001", "KALVEX"}, {"1000", "extra"},
        {"0", "TEXT"}, {"5", "21"}, {"330", "1F"}, {"100", "AcDbEntity"}, {"8", "0"},
        {"100", "AcDbText"}, {"10", "0"}, {"20", "0"}, {"30", "0"}, {"40", "2.5"},
        {"1", "\\U+914D\\U+7DDA"},
        {"0", "INSERT"}, {"5", "22"}, {"330", "1F"}, {"100", "AcDbEntity"}, {"8", "0"},
        {"100", "AcDbBlockReference"}, {"66", "1"}, {"2", "TAGGED"}, {"10", "5"}, {"20", "6"},
        {"30", "0"},
        {"0", "ATTRIB"}, {"5", "23"}, {"330", "22"}, {"100", "AcDbEntity"}, {"8", "0"},
        {"100", "AcDbText"}, {"10", "5"}, {"20", "6"}, {"30", "0"}, {"40", "2.5"}, {"1", "P-1"},
        {"100", "AcDbAttribute"}, {"280", "0"}, {"2", "NO"}, {"70", "0"}, {"280", "1"},
        {"0", "ATTRIB"}, {"5", "24"}, {"330", "22"}, {"100", "AcDbEntity"}, {"8", "LOCKED"},
        {"100", "AcDbText"}, {"10", "5"}, {"20", "4"}, {"30", "0"}, {"40", "2.5"},
        {"1", "first line"}, {"100", "AcDbAttribute"}, {"2", "NOTE"}, {"70", "0"},
        {"101", "Embedded Object"}, {"10", "99"}, {"20", "99"}, {"1", "embedded"},
        {"0", "SEQEND"}, {"5", "27"}, {"330", "22"}, {"100", "AcDbEntity"}, {"8", "0"},
        {"0", "ENDSEC"}, {"0", "EOF"}};
    // clang-format on
}

} // namespace kalvex::drawing::test
