#include <gtest/gtest.h>

#include "dxftool/CommandLine.h"

using namespace kalvex::dxftool;

TEST(CommandLine, ReadsTheThreeCommands) {
    struct Row {
        std::vector<std::string> arguments;
        CommandKind kind;
        std::string drawing, table, output;
        ByteOrderMark bom;
    };
    const Row rows[] = {
        {{"export", "a.dxf"}, CommandKind::Export, "a.dxf", "", "", ByteOrderMark::Omit},
        {{"export", "--bom", "a.dxf"}, CommandKind::Export, "a.dxf", "", "", ByteOrderMark::Write},
        {{"export", "a.dxf", "--bom"}, CommandKind::Export, "a.dxf", "", "", ByteOrderMark::Write},
        {{"export", "--", "-a.dxf"}, CommandKind::Export, "-a.dxf", "", "", ByteOrderMark::Omit},
        {{"apply", "a.dxf", "t.tsv"},
         CommandKind::Apply,
         "a.dxf",
         "t.tsv",
         "",
         ByteOrderMark::Omit},
        {{"apply", "-o", "b.dxf", "a.dxf", "t.tsv"},
         CommandKind::Apply,
         "a.dxf",
         "t.tsv",
         "b.dxf",
         ByteOrderMark::Omit},
        {{"apply", "a.dxf", "-", "-o", "b.dxf"},
         CommandKind::Apply,
         "a.dxf",
         "-",
         "b.dxf",
         ByteOrderMark::Omit},
        {{"roundtrip", "a.dxf", "b.dxf"},
         CommandKind::Roundtrip,
         "a.dxf",
         "",
         "b.dxf",
         ByteOrderMark::Omit},
        {{"--help"}, CommandKind::Help, "", "", "", ByteOrderMark::Omit},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.front() + " ... " + row.arguments.back());
        const Command command = parseCommandLine(row.arguments);
        EXPECT_EQ(command.kind, row.kind);
        EXPECT_EQ(command.drawing, row.drawing);
        EXPECT_EQ(command.table, row.table);
        EXPECT_EQ(command.output, row.output);
        EXPECT_EQ(command.bom, row.bom);
    }
}

TEST(CommandLine, WrongUsageSaysWhatIsWrong) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "no command given"},
        {{"import", "a.dxf"}, "unknown command import"},
        {{"export"}, "export takes 1 file name, 0 given"},
        {{"export", "a.dxf", "b.dxf"}, "export takes 1 file name, 2 given"},
        {{"export", "-o", "x", "a.dxf"}, "unknown option -o for export"},
        {{"apply", "a.dxf"}, "apply takes 2 file names, 1 given"},
        {{"apply", "--bom", "a.dxf", "t"}, "unknown option --bom for apply"},
        {{"apply", "a.dxf", "t", "-o"}, "-o needs a file name"},
        {{"apply", "a.dxf", "t", "-o", ""}, "-o needs a file name"},
        {{"apply", "-o", "x", "a.dxf", "t", "-o", "y"}, "-o given twice"},
        {{"roundtrip", "a.dxf"}, "roundtrip takes 2 file names, 1 given"},
    };
    for (const auto& [arguments, message] : cases) {
        try {
            parseCommandLine(arguments);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const UsageError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}
