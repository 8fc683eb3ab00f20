#include "dxftool/Tool.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "drawing/DxfFile.h"
#include "drawing/cad/CadModel.h"
#include "dxftool/CommandLine.h"
#include "dxftool/TableApplier.h"
#include "dxftool/TextRows.h"

namespace kalvex::dxftool {

namespace {

constexpr const char* kProgram = "kalvex-dxf: ";

// A loaded drawing and the CAD document that shows it.
struct OpenDrawing {
    std::shared_ptr<drawing::Drawing> drawing;
    std::shared_ptr<drawing::CadModel> model;
    cad::DocumentPtr document;
};

OpenDrawing open(const std::string& path, std::ostream& err) {
    OpenDrawing open;
    open.drawing = drawing::loadDxf(path);
    for (const std::string& warning : open.drawing->warnings())
        err << kProgram << "warning: " << warning << '\n';
    open.model = drawing::CadModel::create(open.drawing);
    open.document = open.model->application()->ActiveDocument();
    return open;
}

// Each top-level TEXT and INSERT of model space, in drawing order, as the CAD selects them.
void forEachTextOrInsert(cad::Document& document,
                         const std::function<void(const cad::EntityPtr&)>& visit) {
    const auto set = document.GetSelectionSets()->Add("KALVEX_DXF_EXPORT");
    set->Select(cad::SelectionSet::Mode::All,
                cad::SelectionFilter::of({{cad::SelectionFilter::EntityType, "TEXT,INSERT"}}));
    for (int i = 0; i < set->Count(); ++i)
        visit(set->Item(i));
    set->Delete();
}

std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw TableError(path + ": cannot be read: " + std::strerror(errno));
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void exportTable(const Command& command, std::ostream& out, std::ostream& err) {
    const OpenDrawing drawing = open(command.drawing, err);
    const LayerLocks locks(*drawing.document);
    out << formatHeader(command.bom);
    const RowSink write = [&](const TextRow& row) { out << formatRow(row); };
    forEachTextOrInsert(*drawing.document,
                        [&](const cad::EntityPtr& entity) { emitRows(entity, locks, write); });
}

void applyTable(const Command& command, std::ostream& out, std::ostream& err) {
    // The table is read first: a bad one fails fast, before a large drawing is loaded.
    const auto entries = parseTable(readWholeFile(command.table), command.table);
    const OpenDrawing drawing = open(command.drawing, err);
    const ApplySummary summary = applyTable(*drawing.document, entries, command.table);
    drawing::saveDxf(*drawing.drawing, command.output.empty() ? command.drawing : command.output);
    out << summaryLine(summary) << '\n';
}

void roundTrip(const Command& command, std::ostream& err) {
    const OpenDrawing drawing = open(command.drawing, err);
    drawing::saveDxf(*drawing.drawing, command.output);
}

void execute(const Command& command, std::ostream& out, std::ostream& err) {
    switch (command.kind) {
    case CommandKind::Help:
        out << usageText();
        break;
    case CommandKind::Export:
        exportTable(command, out, err);
        break;
    case CommandKind::Apply:
        applyTable(command, out, err);
        break;
    case CommandKind::Roundtrip:
        roundTrip(command, err);
        break;
    }
}

} // namespace

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    Command command;
    try {
        command = parseCommandLine(arguments);
    } catch (const UsageError& error) {
        err << kProgram << error.what() << '\n' << usageText();
        return kWrongUsage;
    }
    try {
        execute(command, out, err);
        if (!out.flush())
            throw std::runtime_error("the standard output cannot be written");
        return kDone;
    } catch (const std::exception& error) {
        err << kProgram << error.what() << '\n';
        return kBadInput;
    }
}

} // namespace kalvex::dxftool
