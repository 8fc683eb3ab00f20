#pragma once

#include <cstdint>
#include <map>
#include <set>
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

// What the tool last knew of one entity behind records: its string and the point that places it.
struct EntityImage {
    std::string text;
    cad::CadPoint point;
    friend bool operator==(const EntityImage&, const EntityImage&) = default;
};

// Handles ordered as the numbers they spell when written without leading zeros: shorter first,
// then by their characters. Entities come in the order they were made, so a map in this order
// takes each next handle at its end.
struct HandleOrder {
    bool operator()(const std::string& a, const std::string& b) const {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
};

using EntityImages = std::map<std::string, EntityImage, HandleOrder>;

// The entities behind one list of records as the tool last saw them, taken when the records
// are fetched and after every write of the tool: the entities they name and what each held,
// those the tool wrote or created, and those it deleted while the records were current. A
// drawing that no longer matches was changed outside the tool (an undo or redo in the drawing
// window, a reload); writing the records into it then could duplicate or lose texts.
struct RecordSeal {
    EntityImages held;             // by handle
    std::set<std::string> written; // handles of entities the tool wrote or created
    std::set<std::string> erased;  // handles of entities the tool deleted
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
    // What the drawing held behind each list when the tool last fetched or wrote it.
    RecordSeal textSeal;
    RecordSeal searchSeal;
    RecordSeal gridSeal;
};

} // namespace kalvex
