#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "PeerSupport.h"
#include "drawing/dxf/DxfFile.h"
#include "kit/DrawingBuilder.h"

using namespace kalvex;
using namespace kalvex::peer;
using drawing::AttributeSpec;
using drawing::DrawingBuilder;

namespace {

namespace fs = std::filesystem;

// The handles of what a sheet holds.
struct Sheet {
    std::string path, text, terminal, lockedTerminal, title, other;
};

// Two sheets and a third file: A has a TEXT, two TERM references (the second's attributes on a
// locked layer) and a "title" reference with the tag NO twice; B has a "TITLE" reference and an
// OTHER one.
class ManyDrawings : public ::testing::Test {
protected:
    void SetUp() override {
        DrawingBuilder a;
        a.layer("LOCKED", drawing::LayerState::Locked).block("TERM").block("title");
        m_a.path = pathOf("a.dxf");
        m_a.text = a.text({.text = "T-a"});
        m_a.terminal = a.insert(
            {.block = "TERM",
             .attributes = {{.tag = "TAG", .text = "X1"}, {.tag = "WIRE", .text = "W1"}}})[0];
        m_a.lockedTerminal =
            a.insert({.block = "TERM",
                      .attributes = {{.tag = "TAG", .text = "X2", .layer = "LOCKED"},
                                     {.tag = "WIRE", .text = "W2", .layer = "LOCKED"}}})[0];
        m_a.title = a.insert({.block = "title",
                              .attributes = {{.tag = "NO", .text = "1"},
                                             {.tag = "NO", .text = "2"},
                                             {.tag = "REV", .text = "A"}}})[0];
        drawing::saveDxf(*a.drawing(), m_a.path);
        DrawingBuilder b;
        b.block("TITLE").block("OTHER");
        m_b.path = pathOf("b.dxf");
        m_b.title =
            b.insert({.block = "TITLE",
                      .attributes = {{.tag = "NO", .text = "7"}, {.tag = "REV", .text = "C"}}})[0];
        m_b.other = b.insert({.block = "OTHER", .attributes = {{.tag = "TAG", .text = "O1"}}})[0];
        m_b.text = b.text({.text = "T-b"});
        drawing::saveDxf(*b.drawing(), m_b.path);
    }

    std::string pathOf(const std::string& name) const {
        return m_dir.path().toStdString() + "/" + name;
    }

    // The export rows of a drawing: handle → text.
    std::map<std::string, std::string> textsOf(const std::string& path) const {
        const ProcessResult result = runInProcess({"export", path});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::map<std::string, std::string> texts;
        for (const Row& row : parseExport(result.out))
            texts[row.at("handle")] = row.at("text");
        return texts;
    }

    // The texts of a drawing's export rows, in the order of their handles.
    std::vector<std::string> valuesOf(const std::string& path) const {
        std::vector<std::string> values;
        for (const auto& [handle, text] : textsOf(path))
            values.push_back(text);
        return values;
    }

    std::string attout(const std::vector<std::string>& arguments) const {
        const ProcessResult result = runInProcess(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.out;
    }

    QTemporaryDir m_dir;
    Sheet m_a, m_b;
};

std::string backupOf(const std::string& path) {
    return fs::path(path).replace_extension(".bak").string();
}

} // namespace

TEST_F(ManyDrawings, AttoutHasARowPerReferenceAndAColumnPerTag) {
    const std::string a = m_a.path, b = m_b.path;
    EXPECT_EQ(attout({"attout", a, b}),
              "FILE\tHANDLE\tBLOCKNAME\tFINGERPRINT\tTAG\tWIRE\tNO\tNO(1)\tREV\n" + a + "\t'" +
                  m_a.terminal + "\tTERM\t'87451b46e8c6bfdf6998\tX1\tW1\t<>\t<>\t<>\n" + a + "\t'" +
                  m_a.lockedTerminal + "\tTERM\t'87451b46e8c6b7966b35\tX2\tW2\t<>\t<>\t<>\n" + a +
                  "\t'" + m_a.title + "\ttitle\t'fc6c9a4d6d5f1834fff2\t<>\t<>\t1\t2\tA\n" + b +
                  "\t'" + m_b.title + "\tTITLE\t'e8fe1b4692791834fff2\t<>\t<>\t7\t<>\tC\n" + b +
                  "\t'" + m_b.other + "\tOTHER\t'87451b46e8c6c807fff2\tO1\t<>\t<>\t<>\t<>\n");
    // Block names match without regard to case; the tags keep the order asked for.
    EXPECT_EQ(attout({"attout", "--blocks", "TIT*", "--tags", "REV,NO", a, b}),
              "FILE\tHANDLE\tBLOCKNAME\tFINGERPRINT\tREV\tNO\tNO(1)\n" + a + "\t'" + m_a.title +
                  "\ttitle\t'fc6c9a4d6d5f\tA\t1\t2\n" + b + "\t'" + m_b.title +
                  "\tTITLE\t'e8fe1b469279\tC\t7\t<>\n");
    const ProcessResult twice =
        runInProcess({"attout", a, b, m_dir.path().toStdString() + "/./a.dxf"});
    EXPECT_EQ(twice.exitCode, 2);
    EXPECT_EQ(twice.err, "kalvex-dxf: " + a + " and " + m_dir.path().toStdString() +
                             "/./a.dxf are the same drawing; name each drawing once\n");
    EXPECT_EQ(attout({"attout", "--tags", "TAG", "--bom", b}),
              "\xEF\xBB\xBFHANDLE\tBLOCKNAME\tFINGERPRINT\tTAG\n'" + m_b.other +
                  "\tOTHER\t'c807\tO1\n");
}

// The table comes back as a spreadsheet saves it: CP932, CR LF, the apostrophes gone.
TEST_F(ManyDrawings, AttinWritesTheChangedCellsOfEveryDrawing) {
    const std::string table = pathOf("t.tsv");
    writeFile(table, "FILE\tHANDLE\tBLOCKNAME\tWIRE\tNO(1)\tREV\r\n" + m_a.path + "\t" +
                         m_a.terminal + "\tTERM\t\x8B\x8B\x90\x85\t<>\t<>\r\n" + m_a.path + "\t'" +
                         m_a.lockedTerminal + "\tTERM\tW9\t<>\t<>\r\n" + m_a.path + "\t" +
                         m_a.title + "\tTITLE\t<>\t2b\tB\r\n" + m_b.path + "\t" + m_b.title +
                         "\ttitle\t<>\t\tD\r\n");
    const std::string untouched = readFile(pathOf("b.dxf"));
    const ProcessResult result = runInProcess({"attin", table});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, m_a.path + ": changed 3, unchanged 0, locked 1\n" + m_b.path +
                              ": changed 1, unchanged 0, locked 0\n"
                              "total: changed 4, unchanged 0, locked 1 in 2 drawings\n");
    EXPECT_EQ(valuesOf(m_a.path),
              (std::vector<std::string>{"T-a", "X1", "給水", "X2", "W2", "1", "2b", "B"}));
    EXPECT_EQ(valuesOf(m_b.path), (std::vector<std::string>{"7", "D", "O1", "T-b"}));
    EXPECT_TRUE(readFile(backupOf(m_b.path)) == untouched);
}

TEST_F(ManyDrawings, AttinRefusesEveryBadRowAndWritesNothing) {
    const char binary[] = "AutoCAD Binary DXF\r\n\x1a\0\0\x05\0";
    writeFile(pathOf("binary.dxf"), std::string(binary, sizeof binary - 1));
    writeFile(pathOf("damaged.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\n  5\n");
    const std::string a = m_a.path, b = m_b.path, again = m_dir.path().toStdString() + "/./a.dxf";
    const std::string table = pathOf("t.tsv");
    writeFile(table, "FILE\tHANDLE\tBLOCKNAME\tWIRE\tREV\n" +                     // 1
                         a + "\t" + m_a.terminal + "\tTERM\tnew\t<>\n" +          // 2 fine
                         a + "\tFFFF\tTERM\tx\t<>\n" +                            // 3
                         a + "\t" + m_a.text + "\tTERM\tx\t<>\n" +                // 4
                         b + "\t" + m_b.title + "\tPUMP\t<>\tx\n" +               // 5
                         b + "\t" + m_b.other + "\tOTHER\t<>\tx\n" +              // 6
                         a + "\t" + m_a.title + "\ttitle\t<>\t\"two\nlines\"\n" + // 7-8
                         again + "\t" + m_a.terminal + "\tTERM\tagain\t<>\n" +    // 9
                         pathOf("missing.dxf") + "\t1\tB\tx\t<>\n" +              // 10
                         pathOf("binary.dxf") + "\t1\tB\tx\t<>\n" +               // 11
                         pathOf("damaged.dxf") + "\t1\tB\tx\t<>\n" +              // 12
                         a + "\t1\n");                                            // 13
    const std::string before[] = {readFile(a), readFile(b)};
    const ProcessResult result = runInProcess({"attin", table});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    const std::pair<int, std::string> expected[] = {
        {3, a + ": unknown handle FFFF"},
        {4, a + ": the handle " + m_a.text + " is a AcDbText, not a block reference"},
        {5, b + ": the block reference " + m_b.title + " is of the block TITLE, not PUMP"},
        {6, b + ": the block reference " + m_b.other + " has no attribute REV"},
        {7, a + ": the value of REV of " + m_a.title + " holds a line break"},
        {9, again + ": the handle " + m_a.terminal + " is given again (first on line 2)"},
        {10, pathOf("missing.dxf") + ": cannot be read"},
        {11, pathOf("binary.dxf")},
        {12, pathOf("damaged.dxf")},
        {13, "expected 5 fields, found 2"},
    };
    std::size_t at = 0;
    for (const auto& [line, start] : expected) {
        const std::string prefix =
            "kalvex-dxf: " + table + ":" + std::to_string(line) + ": " + start;
        const std::size_t found = result.err.find(prefix, at);
        EXPECT_NE(found, std::string::npos) << prefix << "\nin\n" << result.err;
        at = found == std::string::npos ? at : found;
    }
    EXPECT_TRUE(result.err.ends_with("\nkalvex-dxf: nothing was written\n")) << result.err;
    EXPECT_TRUE(readFile(a) == before[0]);
    EXPECT_TRUE(readFile(b) == before[1]);
    EXPECT_FALSE(fs::exists(backupOf(a)));
    EXPECT_FALSE(fs::exists(backupOf(b)));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.path().toStdString()), {}), 5);
}

TEST_F(ManyDrawings, AttinTakesTheDrawingsNamedAfterTheTable) {
    const std::string single = attout({"attout", "--tags", "REV", m_b.path});
    const std::string table = pathOf("t.tsv");
    writeFile(table, single.substr(0, single.rfind('C')) + "E\n");
    const ProcessResult withoutFile = runInProcess({"attin", table});
    EXPECT_EQ(withoutFile.exitCode, 2);
    EXPECT_EQ(withoutFile.err, "kalvex-dxf: " + table +
                                   ":1: the table has no FILE column; name the one drawing it is "
                                   "for: attin TABLE FILE\n");
    const ProcessResult done = runInProcess({"attin", table, m_b.path});
    ASSERT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(valuesOf(m_b.path), (std::vector<std::string>{"7", "E", "O1", "T-b"}));

    // A table of several drawings may be held to some of them; a drawing without rows is listed.
    writeFile(table, attout({"attout", m_a.path, m_b.path}));
    const ProcessResult held = runInProcess({"attin", table, m_a.path});
    EXPECT_EQ(held.exitCode, 2);
    EXPECT_NE(held.err.find(":5: " + m_b.path + " is not among the drawings named"),
              std::string::npos)
        << held.err;
    const ProcessResult listed =
        runInProcess({"attin", table, m_a.path, m_b.path, pathOf("c.dxf")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find(pathOf("c.dxf") + ": changed 0, unchanged 0, locked 0\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(backupOf(m_a.path))); // nothing changed, nothing saved
}

TEST_F(ManyDrawings, ExportAndApplyCoverSeveralDrawings) {
    const ProcessResult exported = runInProcess({"export", m_a.path, m_b.path});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    std::vector<Row> rows = parseExport(exported.out);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows.front().at("file"), m_a.path);
    EXPECT_EQ(rows.back().at("file"), m_b.path);
    std::string table = "text\thandle\tfile\n";
    for (const Row& row : rows) {
        const bool edit = row.at("text") == "T-a" || row.at("text") == "X2";
        table += (edit ? row.at("text") + "!" : row.at("text")) + "\t" + row.at("handle") + "\t" +
                 row.at("file") + "\n";
    }
    writeFile(pathOf("t.tsv"), table);
    const ProcessResult applied = runInProcess({"apply", pathOf("t.tsv")});
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_EQ(applied.out, m_a.path + ": changed 1, unchanged 6, locked 1\n" + m_b.path +
                               ": changed 0, unchanged 4, locked 0\n"
                               "total: changed 1, unchanged 10, locked 1 in 2 drawings\n");
    EXPECT_EQ(textsOf(m_a.path).at(m_a.text), "T-a!");
    EXPECT_TRUE(fs::exists(backupOf(m_a.path)));
    EXPECT_FALSE(fs::exists(backupOf(m_b.path)));

    // Rows for another drawing are no rows for the one named.
    const ProcessResult wrong = runInProcess({"apply", m_b.path, pathOf("t.tsv")});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.err.find(":2: the row is for " + m_a.path + ", not " + m_b.path),
              std::string::npos)
        << wrong.err;
}
