#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "PeerSupport.h"

using namespace kalvex;
using namespace kalvex::peer;

namespace {

using Outcome = ProcessResult;

const std::string kSample = std::string(KALVEX_SOURCE_DIR) + "/samples/plant.dxf";

std::string backupOf(const std::string& path) {
    return std::filesystem::path(path).replace_extension(".bak");
}

} // namespace

TEST(Tool, ExitStatusSaysWhetherUsageOrInputWasWrong) {
    struct Row {
        std::vector<std::string> arguments;
        int status;
        std::string errStart;
    };
    std::vector<Row> rows = {
        {{}, 1, "kalvex-dxf: no command given\nusage: kalvex-dxf export"},
        {{"export"}, 1, "kalvex-dxf: export takes at least 1 file name, 0 given\nusage:"},
        {{"--help"}, 0, ""},
        {{"export", "/nonexistent/a.dxf"}, 2, "kalvex-dxf: /nonexistent/a.dxf"},
        {{"roundtrip", kSample, "/nonexistent/b.dxf"}, 2, "kalvex-dxf: "},
        {{"apply", kSample, "/nonexistent/t.tsv"},
         2,
         "kalvex-dxf: /nonexistent/t.tsv: cannot be read"},
    };
    if (haveSharedCorpus())
        rows.push_back(
            {{"export",
              sharedCorpusFile("acadsharp__samples__sample_base__sample_AC1015_binary.dxf")},
             2,
             "kalvex-dxf: " +
                 sharedCorpusFile("acadsharp__samples__sample_base__sample_AC1015_binary.dxf")});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.empty() ? "(none)" : row.arguments.back());
        const Outcome outcome = runInProcess(row.arguments);
        EXPECT_EQ(outcome.exitCode, row.status);
        EXPECT_EQ(outcome.err.substr(0, row.errStart.size()), row.errStart) << outcome.err;
        if (row.status != 0) {
            EXPECT_EQ(outcome.out, "");
        }
    }
    EXPECT_NE(runInProcess({"--help"}).out.find("kalvex-dxf roundtrip IN OUT"), std::string::npos);
}

TEST(Tool, ADamagedOrForeignDrawingEndsWithStatus2AndNothingIsWritten) {
    PeerDrawing drawing("peer_r12.dxf");
    const std::string whole = readFile(drawing.path());
    const std::string cut = whole.substr(0, whole.find("  0\nTEXT\n", whole.find("ENTITIES")));
    const std::size_t cutLines = static_cast<std::size_t>(std::count(cut.begin(), cut.end(), '\n'));
    const std::pair<std::string, std::string> cases[] = {
        {cut, ":" + std::to_string(cutLines) + ": the file ends inside the ENTITIES section"},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18),
         ": not a DXF file (it is a PNG image)\n"},
    };
    const std::string in = drawing.pathOf("in.dxf");
    const std::string out = drawing.pathOf("out.dxf");
    for (const auto& [bytes, message] : cases) {
        writeFile(in, bytes);
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"roundtrip", in, out}, {"export", in}}) {
            const Outcome outcome = runInProcess(arguments);
            EXPECT_EQ(outcome.exitCode, 2);
            EXPECT_EQ(outcome.err.rfind("kalvex-dxf: " + in + message, 0), 0u) << outcome.err;
            EXPECT_TRUE(std::all_of(outcome.err.begin(), outcome.err.end(),
                                    [](char c) { return c == '\n' || (c >= 0x20 && c < 0x7F); }))
                << "raw bytes echoed: " << outcome.err;
            EXPECT_EQ(outcome.out, "");
            EXPECT_FALSE(std::filesystem::exists(out));
        }
    }
    // Without EOF after its last section a drawing is whole: it is read with a warning.
    writeFile(in, whole.substr(0, whole.rfind("  0\nEOF")));
    const Outcome outcome = runInProcess({"roundtrip", in, out});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err,
              "kalvex-dxf: warning: " + in + ": the file ends without EOF; saving it adds EOF\n");
    EXPECT_TRUE(readFile(out) == whole);
}

TEST(Tool, BadTableIsRefusedAndNothingIsWritten) {
    PeerDrawing drawing("peer_r2000_ansi932.dxf");
    const std::vector<Row>& rows = drawing.view().rows;
    std::string insertHandle;
    for (const auto& [handle, entity] : drawing.view().entities) {
        if (entity.at("<type>") == "INSERT")
            insertHandle = handle;
    }
    const std::string good = "handle\ttext\n" + rows[0].at("handle") + "\tnew\n";
    const std::string in = "t.tsv:3: " + drawing.path() + ": ";
    const std::pair<std::string, std::string> cases[] = {
        {good + "FFFFFF\tx\n", in + "unknown handle FFFFFF"},
        {good + rows[0].at("handle") + "\ty\n",
         in + "the handle " + rows[0].at("handle") + " is given again (first on line 2)"},
        {good + insertHandle + "\tx\n",
         in + "the handle " + insertHandle + " is a AcDbBlockReference, not a TEXT or ATTRIB"},
        {good + rows[1].at("handle") + "\tline\\nbreak\n",
         in + "the text of " + rows[1].at("handle") +
             " holds a line break, which a DXF text cannot"},
        {good + rows[1].at("handle") + "\tend\\r\n",
         in + "the text of " + rows[1].at("handle") +
             " holds a line break, which a DXF text cannot"},
        {good + "2B\n", "t.tsv:3: expected 2 fields, found 1"},
        {good + "2B\ta\\b\n", "t.tsv:3: a backslash must be followed by t, r, n or \\"},
    };
    const std::string original = readFile(drawing.path());
    const std::string table = drawing.pathOf("t.tsv");
    for (const auto& [content, message] : cases) {
        writeFile(table, content);
        const Outcome outcome = runInProcess({"apply", drawing.path(), table});
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.err, "kalvex-dxf: " + table.substr(0, table.size() - 5) + message +
                                   "\nkalvex-dxf: nothing was written\n");
        EXPECT_TRUE(readFile(drawing.path()) == original);
        EXPECT_FALSE(std::filesystem::exists(backupOf(drawing.path())));
    }
}

TEST(Tool, ApplyInPlaceKeepsThePreviousFileAsBak) {
    PeerDrawing drawing("peer_r2018.dxf");
    const std::string original = readFile(drawing.path());
    const std::string table = drawing.pathOf("t.tsv");
    std::string handle = drawing.view().rows[0].at("handle");
    std::transform(handle.begin(), handle.end(), handle.begin(),
                   ::tolower); // case carries no meaning
    writeFile(table, "handle\ttext\n" + handle + "\tPUMP-02\n");
    const Outcome outcome = runInProcess({"apply", drawing.path(), table});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "changed 1, unchanged 0, locked 0\n");
    EXPECT_TRUE(readFile(backupOf(drawing.path())) == original);
    EXPECT_EQ(readWithPeer(drawing.path()).rows[0].at("text"), "PUMP-02");
}

TEST(Tool, ExportWithBomStartsWithTheMarkThenTheSameTable) {
    const std::string file = kSample;
    const Outcome plain = runInProcess({"export", file});
    const Outcome marked = runInProcess({"export", "--bom", file});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    ASSERT_EQ(marked.exitCode, 0) << marked.err;
    EXPECT_EQ(plain.out.substr(0, 10), "handle\tkin");
    EXPECT_EQ(marked.out, "\xEF\xBB\xBF" + plain.out);
}
