#include <gtest/gtest.h>

#include "dxftool/CommandLine.h"

using namespace kalvex::dxftool;

TEST(CommandLine, ReadsTheCommands) {
    using Files = std::vector<std::string>;
    struct Row {
        std::vector<std::string> arguments;
        CommandKind kind;
        Files drawings;
        std::string table, output;
        ByteOrderMark bom;
    };
    const Row rows[] = {
        {{"export", "a.dxf"}, CommandKind::Export, {"a.dxf"}, "", "", ByteOrderMark::Omit},
        {{"export", "--bom", "a.dxf"},
         CommandKind::Export,
         {"a.dxf"},
         "",
         "",
         ByteOrderMark::Write},
        {{"export", "a.dxf", "--bom", "b.dxf"},
         CommandKind::Export,
         {"a.dxf", "b.dxf"},
         "",
         "",
         ByteOrderMark::Write},
        {{"export", "--", "-a.dxf"}, CommandKind::Export, {"-a.dxf"}, "", "", ByteOrderMark::Omit},
        {{"apply", "a.dxf", "t.tsv"},
         CommandKind::Apply,
         {"a.dxf"},
         "t.tsv",
         "",
         ByteOrderMark::Omit},
        {{"apply", "-o", "b.dxf", "a.dxf", "t.tsv"},
         CommandKind::Apply,
         {"a.dxf"},
         "t.tsv",
         "b.dxf",
         ByteOrderMark::Omit},
        {{"apply", "a.dxf", "-", "-o", "b.dxf"},
         CommandKind::Apply,
         {"a.dxf"},
         "-",
         "b.dxf",
         ByteOrderMark::Omit},
        {{"apply", "t.tsv"}, CommandKind::Apply, {}, "t.tsv", "", ByteOrderMark::Omit},
        {{"attout", "a.dxf", "b.dxf"},
         CommandKind::Attout,
         {"a.dxf", "b.dxf"},
         "",
         "",
         ByteOrderMark::Omit},
        {{"attin", "t.tsv"}, CommandKind::Attin, {}, "t.tsv", "", ByteOrderMark::Omit},
        {{"attin", "t.tsv", "a.dxf", "b.dxf"},
         CommandKind::Attin,
         {"a.dxf", "b.dxf"},
         "t.tsv",
         "",
         ByteOrderMark::Omit},
        {{"roundtrip", "a.dxf", "b.dxf"},
         CommandKind::Roundtrip,
         {"a.dxf"},
         "",
         "b.dxf",
         ByteOrderMark::Omit},
        {{"--help"}, CommandKind::Help, {}, "", "", ByteOrderMark::Omit},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.front() + " ... " + row.arguments.back());
        const Command command = parseCommandLine(row.arguments);
        EXPECT_EQ(command.kind, row.kind);
        EXPECT_EQ(command.drawings, row.drawings);
        EXPECT_EQ(command.table, row.table);
        EXPECT_EQ(command.output, row.output);
        EXPECT_EQ(command.bom, row.bom);
    }
}

TEST(CommandLine, AttoutChoosesBlocksAndTags) {
    const Command plain = parseCommandLine({"attout", "a.dxf"});
    EXPECT_EQ(plain.blocks, "*");
    EXPECT_TRUE(plain.tags.empty());
    const Command chosen = parseCommandLine(
        {"attout", "--tags", "DWGNO,REV,DWGNO(1)", "a.dxf", "--blocks", "title*,`*U*", "--bom"});
    EXPECT_EQ(chosen.blocks, "title*,`*U*");
    EXPECT_EQ(chosen.tags, (std::vector<std::string>{"DWGNO", "REV", "DWGNO(1)"}));
    EXPECT_EQ(chosen.bom, ByteOrderMark::Write);
    EXPECT_EQ(chosen.drawings, std::vector<std::string>{"a.dxf"});
}

TEST(CommandLine, WrongUsageSaysWhatIsWrong) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "no command given"},
        {{"import", "a.dxf"}, "unknown command import"},
        {{"export"}, "export takes at least 1 file name, 0 given"},
        {{"export", "-o", "x", "a.dxf"}, "unknown option -o for export"},
        {{"apply"}, "apply takes 1 or 2 file names, 0 given"},
        {{"apply", "a.dxf", "b.dxf", "t"}, "apply takes 1 or 2 file names, 3 given"},
        {{"apply", "t", "-o", "b.dxf"}, "-o needs the drawing named: apply FILE TABLE -o OUT"},
        {{"apply", "--bom", "a.dxf", "t"}, "unknown option --bom for apply"},
        {{"apply", "a.dxf", "t", "-o"}, "-o needs a file name"},
        {{"apply", "a.dxf", "t", "-o", ""}, "-o needs a file name"},
        {{"apply", "-o", "x", "a.dxf", "t", "-o", "y"}, "-o given twice"},
        {{"roundtrip", "a.dxf"}, "roundtrip takes 2 file names, 1 given"},
        {{"attin"}, "attin takes at least 1 file name, 0 given"},
        {{"attout", "--blocks"}, "--blocks needs a pattern"},
        {{"attout", "--tags", "A,,B", "a.dxf"}, "--tags holds an empty tag"},
        {{"attout", "--tags", "A", "--tags", "B", "a.dxf"}, "--tags given twice"},
        {{"attin", "--blocks", "X", "t"}, "unknown option --blocks for attin"},
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
