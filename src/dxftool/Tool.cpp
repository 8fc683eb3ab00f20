#include "dxftool/Tool.h"

#include "drawing/cad/CadModel.h"
#include "drawing/dxf/DxfFile.h"
#include "dxftool/CommandLine.h"
#include "dxftool/Commands.h"

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
    open.drawing->keepNoHistory(); // nothing is undone here
    for (const std::string& warning : open.drawing->warnings())
        err << kProgram << "warning: " << warning << '\n';
    open.model = drawing::CadModel::create(open.drawing);
    open.document = open.model->application()->ActiveDocument();
    return open;
}

void roundTrip(const Command& command, std::ostream& err) {
    const OpenDrawing drawing = open(command.drawings.front(), err);
    drawing::saveDxf(*drawing.drawing, command.output);
}

void execute(const Command& command, std::ostream& out, std::ostream& err) {
    switch (command.kind) {
    case CommandKind::Help:
        out << usageText();
        break;
    case CommandKind::Export:
        exportTables(command, out, err);
        break;
    case CommandKind::Apply:
        applyTables(command, out, err);
        break;
    case CommandKind::Attout:
        attributesOut(command, out, err);
        break;
    case CommandKind::Attin:
        attributesIn(command, out, err);
        break;
    case CommandKind::Roundtrip:
        roundTrip(command, err);
        break;
    case CommandKind::Convert:
        convertTexts(command, out, err);
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
