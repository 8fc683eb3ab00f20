#include <filesystem>

#include <gtest/gtest.h>

#include "PeerSupport.h"
#include "drawing/dxf/DxfFile.h"
#include "kit/DrawingBuilder.h"

using namespace kalvex;
using namespace kalvex::peer;

namespace {

namespace fs = std::filesystem;

// A drawing of the given version and code page whose model space holds one TEXT per
// (handle, bytes) pair, written byte for byte.
std::string drawingWith(const std::string& version, const std::string& codePage,
                        const std::vector<std::pair<std::string, std::string>>& texts) {
    std::string dxf = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\n" + version + "\n";
    if (!codePage.empty())
        dxf += "  9\n$DWGCODEPAGE\n  3\n" + codePage + "\n";
    dxf += "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
    for (const auto& [handle, bytes] : texts)
        dxf += "  0\nTEXT\n  5\n" + handle +
               "\n  8\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n2.5\n  1\n" + bytes + "\n";
    return dxf + "  0\nENDSEC\n  0\nEOF\n";
}

} // namespace

// What the reader had to change is said once per drawing: a handle too long to keep (the entity
// is shown, and can be written, under a new one) and strings that are not valid UTF-8 in a
// drawing of R2018.
TEST(OddInput, RenamedHandlesAndInvalidStringsAreWarnedOnce) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/r2018.dxf";
    const std::string longHandle = "0123456789ABCDEF0123456789ABCDEF01234567";
    writeFile(path, drawingWith("AC1032", "",
                                {{longHandle, "bad \xC0\xAF here"},
                                 {"2A", "also \xFF"},
                                 {longHandle + "0", "ok"}}));
    const ProcessResult exported = runInProcess({"export", path});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.err,
              "kalvex-dxf: warning: " + path +
                  ":30: 2 strings hold bytes that are not valid in the drawing's encoding; they "
                  "are shown as U+FFFD and kept as they are unless changed\n"
                  "kalvex-dxf: warning: " +
                  path + ":15: the handle " + longHandle +
                  " cannot be kept as it stands; the entity is shown as 2B (and 1 more such); "
                  "the file keeps its bytes unless the entity is changed\n");
    const std::vector<Row> rows = parseExport(exported.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].at("handle"), "2B");
    EXPECT_EQ(rows[0].at("text"), "bad \xEF\xBF\xBD\xEF\xBF\xBD here");

    writeFile(dir.path().toStdString() + "/t.tsv", "handle\ttext\n2B\tmended\n");
    const ProcessResult applied =
        runInProcess({"apply", path, dir.path().toStdString() + "/t.tsv"});
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_EQ(parseExport(runInProcess({"export", path}).out)[0].at("text"), "mended");
}

// CP932 bytes that would also pass for overlong UTF-8 are read as CP932, the code page the
// drawing names, and are nothing to warn about.
TEST(OddInput, Cp932BytesThatLookLikeOverlongUtf8AreReadAsCp932) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/cp932.dxf";
    writeFile(path, drawingWith("AC1015", "ANSI_932", {{"2A", "\xC0\xAF\xC1\xBF\xE0\x80\xAF"}}));
    const ProcessResult exported = runInProcess({"export", path});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.err, "");
    EXPECT_EQ(parseExport(exported.out).at(0).at("text"), "ﾀｯﾁｿ烙ｯ");
}

// One drawing whose rows are all right and one with a bad row: nothing is written, the good one
// included.
TEST(OddInput, OneCleanAndOneBadDrawingWriteNothing) {
    QTemporaryDir dir;
    std::vector<std::string> paths, handles;
    for (const char* name : {"clean.dxf", "bad.dxf"}) {
        drawing::DrawingBuilder builder;
        builder.block("TERM");
        handles.push_back(
            builder.insert({.block = "TERM", .attributes = {{.tag = "TAG", .text = "X"}}})[0]);
        paths.push_back(dir.path().toStdString() + "/" + name);
        drawing::saveDxf(*builder.drawing(), paths.back());
    }
    const std::string table = dir.path().toStdString() + "/t.tsv";
    writeFile(table, "FILE\tHANDLE\tBLOCKNAME\tTAG\n" + paths[0] + "\t" + handles[0] +
                         "\tTERM\tnew\n" + paths[1] + "\tFFFF\tTERM\tnew\n");
    const std::string before[] = {readFile(paths[0]), readFile(paths[1])};
    const ProcessResult result = runInProcess({"attin", table});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "kalvex-dxf: " + table + ":3: " + paths[1] +
                              ": unknown handle FFFF\nkalvex-dxf: nothing was written\n");
    EXPECT_TRUE(readFile(paths[0]) == before[0]);
    EXPECT_TRUE(readFile(paths[1]) == before[1]);
    EXPECT_FALSE(fs::exists(fs::path(paths[0]).replace_extension(".bak")));
}
