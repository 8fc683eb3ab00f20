#include "operations/attrgrid/AttrGridUpdate.h"

#include "cadlink/AttributeReference.h"
#include "cadlink/CadError.h"
#include "operations/TextLineWriter.h"

namespace kalvex {

namespace {

void writeCells(cad::Document& document, const std::vector<GridEdit>& edits) {
    for (const GridEdit& edit : edits) {
        try {
            writeEntityText<cad::AttributeReference>(document, edit.record->sHnd, edit.text);
            edit.record->text = edit.text;
        } catch (const cad::CadError&) {
        }
    }
}

} // namespace

void WriteGridCells(CadLink& link, const std::string& source, const std::vector<GridEdit>& edits,
                    RunWindow& window, const SealedRecords* sealed) {
    try {
        writeToSourceDrawing(
            link, CadOperation::GridUpdateOrAlign, source, window,
            [&edits](cad::Document& document) { writeCells(document, edits); }, sealed);
    } catch (const cad::CadError&) {
        // The drawing the grid came from could not be asked for: nothing is written.
    }
}

WriteBack WriteGridCell(CadLink& link, const std::string& source, nAtt& record,
                        const std::string& text, RunWindow& window, RecordSeal* seal) {
    return writeValueBack<cad::AttributeReference>(link, source, record, text, LayerLock::Free,
                                                   window, seal);
}

} // namespace kalvex
