#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cadlink/CadPoint.h"

namespace kalvex {

// A TEXT entity, or one attribute of a block reference, behind one line of the editor.
struct Orvik {
    std::string sHnd;          // empty: the record has no entity
    std::string text;          // the string as fetched
    cad::CadPoint insPt;       // the point that places the text
    std::int32_t txtAli = 0;   // alignment code, 0 = left
    std::string lay;           // layer name
    std::int32_t index = 0;    // position in the order of fetching
    std::string parentType;    // "INSERT" for an attribute, empty for a TEXT
    std::string parentHnd;     // handle of the owning block reference
    std::int64_t parentId = 0; // object id of the owning block reference
    std::string parentName;
    bool locked = false;
};

// One hit of the drawing-wide search.
struct Orvik2 {
    std::string sHnd;
    std::string text;
    cad::CadPoint insPt;
    std::string lay;
    std::int32_t index = 0;
    bool locked = false; // the TEXT lies on a locked layer
};

// A block reference of the attribute grid.
struct nBlk {
    std::string sHnd;
    cad::CadPoint insPt;
    std::string lay;
    std::int32_t index = 0;
    std::string blkName;
};

// An attribute shown in a grid cell.
struct nAtt {
    std::string sHnd;
    std::string text;
    cad::CadPoint insPt;
    std::string lay;
};

// The record lists the tabs share: one of each kind for the whole program.
struct EntityRecords {
    std::vector<Orvik> textRecords;
    std::vector<Orvik2> searchHits;
    std::vector<nBlk> gridBlocks;
    std::vector<nAtt> gridAttrs;
    // The drawing each kind was fetched from (cad::Document::Key): records are written back
    // into that drawing only, whichever one is active when they are written.
    std::string textSource;
    std::string searchSource;
    std::string gridSource;
};

} // namespace kalvex
