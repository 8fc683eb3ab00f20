#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cadlink/Document.h"
#include "drawing/cad/CadModel.h"
#include "drawing/model/Drawing.h"
#include "dxftool/TextTable.h"

namespace kalvex::dxftool {

class LayerLocks;

// The built-in drawing behind a document the tool opened. The export and the applier read and
// write TEXT and ATTRIB records through it directly: an interface object per entity, and a walk
// of the record for every value asked of it, cost several times what reading the values does.
// Throws std::logic_error for a document of another CAD.
drawing::CadModel& modelOf(cad::Document& document);

// The values of a TEXT or ATTRIB record the tables show, as the file holds them, found in one
// pass over the record's main part: the first pair of each code, application groups passed
// over, as the CAD interface finds each value on its own.
struct TextFields {
    std::optional<std::string_view> text;       // 1
    std::optional<std::string_view> tag;        // 2
    std::optional<std::string_view> layer;      // 8
    std::optional<std::string_view> point[2];   // 10, 20
    std::optional<std::string_view> align[2];   // 11, 21
    std::optional<std::string_view> horizontal; // 72
    std::optional<std::string_view> vertical;   // 73 for a TEXT, 74 for an ATTRIB
    bool embeddedPart = false; // an ATTRIB whose main part ends at an embedded object (101)

    static TextFields read(const drawing::Drawing& drawing, drawing::RecordId id);
};

// The coordinate as the CAD interface reads it (0 for a missing or unreadable value), with its
// text in the file.
RowCoordinate coordinateOf(const std::optional<std::string_view>& value);

// The point that places a text: its alignment point unless it is aligned left on the baseline.
struct PlacingPoint {
    RowCoordinate x, y;
};
PlacingPoint placingPoint(const TextFields& fields);

// The text of the record in UTF-8, as the CAD interface shows it.
std::string textOf(const drawing::Drawing& drawing, drawing::RecordId id, const TextFields& fields);

// Writes `text` into a TEXT or ATTRIB record whose text, as textOf reads it, is another: the
// value of its first code 1 encoded for the drawing and changed in place (a record without one
// gets one at the end of its main part), as the text entity writes it. An attribute with an
// embedded object is written by the text entity itself.
void writeText(drawing::Drawing& drawing, drawing::RecordId id, const std::string& text);

// The layers of the drawing's entities by the bytes the records hold: each distinct name is
// decoded and looked up once, however many entities lie on it.
class EntityLayers {
public:
    EntityLayers(drawing::CadModel& model, const LayerLocks& locks);

    struct Layer {
        std::string name;    // UTF-8; "0" for an entity that names none
        bool locked = false; // as LayerLocks says
        // Whether the CAD refuses changes of entities on it; it compares names by case folding
        // rather than by ASCII letters, so for a few names it may differ from `locked`.
        std::optional<bool> refusesChanges;
    };
    Layer& of(const std::optional<std::string_view>& raw);
    bool refusesChanges(Layer& layer);

private:
    drawing::CadModel& m_model;
    const LayerLocks& m_locks;
    std::vector<std::pair<std::string, Layer>> m_known; // by the record's bytes
    std::size_t m_last = 0;
};

// The export rows of the model space's TEXTs and ATTRIBs, each line started with `start`, in
// drawing order, appended to `out`.
void appendTextRows(std::string& out, std::string_view start, cad::Document& document);

} // namespace kalvex::dxftool
