#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "PeerSupport.h"
#include "cadlink/Application.h"
#include "cadlink/AttributeReference.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"
#include "drawing/dxf/DxfFile.h"
#include "dxftool/TextRecords.h"
#include "dxftool/TextRows.h"
#include "dxftool/WriteBack.h"

using namespace kalvex;
using namespace kalvex::dxftool;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

std::string dxfOf(const Pairs& pairs) {
    std::string text;
    for (const auto& [code, value] : pairs)
        text +=
            std::string(code.size() < 3 ? 3 - code.size() : 0, ' ') + code + "\n" + value + "\n";
    return text;
}

// Records that read wrongly when a value is looked for in the wrong place: codes inside an
// application group and after the extended data, the vertical code of the other record type, a
// repeated text, numbers with blanks, signs, exponents and many decimals, an aligned text without
// its alignment point, a text without layer, one in paper space, an attribute whose text is in an
// embedded object, and a reference without attributes.
// clang-format off
const Pairs kDrawing = {
    {"0", "SECTION"}, {"2", "HEADER"}, {"9", "$ACADVER"}, {"1", "AC1032"}, {"0", "ENDSEC"},
    {"0", "SECTION"}, {"2", "TABLES"}, {"0", "TABLE"}, {"2", "LAYER"}, {"5", "2"}, {"70", "2"},
    {"0", "LAYER"}, {"5", "10"}, {"2", "0"}, {"70", "0"},
    {"0", "LAYER"}, {"5", "11"}, {"2", "Locked"}, {"70", "4"},
    {"0", "ENDTAB"}, {"0", "ENDSEC"},
    {"0", "SECTION"}, {"2", "BLOCKS"},
    {"0", "BLOCK"}, {"5", "12"}, {"8", "0"}, {"2", "VALVE"}, {"70", "2"},
    {"0", "ENDBLK"}, {"5", "14"}, {"8", "0"},
    {"0", "ENDSEC"},
    {"0", "SECTION"}, {"2", "ENTITIES"},
    {"0", "TEXT"}, {"5", "2A"}, {"102", "{KALVEX"}, {"8", "Wrong"}, {"10", "99"}, {"1", "wrong"},
    {"102", "}"}, {"8", "locked"}, {"10", " 1.5 "}, {"20", "-2.25"}, {"40", "2.5"},
    {"1", "配電盤 P-1"}, {"1", "second"}, {"72", "+1"}, {"11", "7.00049"}, {"21", "-3.9995001"},
    {"74", "3"}, {"73", "2"}, {"1001", "APP"}, {"1000", "x"}, {"1010", "5"},
    {"0", "TEXT"}, {"5", "2B"}, {"10", "1e3"}, {"20", "-0.0001"}, {"1", "no layer"}, {"72", "4"},
    {"0", "TEXT"}, {"5", "2C"}, {"67", "1"}, {"8", "0"}, {"1", "paper space"},
    {"0", "INSERT"}, {"5", "30"}, {"8", "0"}, {"66", "1"}, {"2", "VALVE"}, {"10", "5"}, {"20", "6"},
    {"0", "ATTRIB"}, {"5", "31"}, {"8", "0"}, {"10", "5"}, {"20", "6"}, {"1", "V-1"}, {"72", "1"},
    {"11", "4.1234567"}, {"21", "123456789.0005"}, {"2", "TAG"}, {"73", "9"}, {"74", "0"},
    {"0", "ATTRIB"}, {"5", "32"}, {"8", "LOCKED"}, {"10", "5"}, {"20", "4"}, {"1", "first line"},
    {"2", "NOTE"}, {"101", "Embedded Object"}, {"10", "99"}, {"3", "part one, "},
    {"1", "part two"},
    {"0", "SEQEND"}, {"5", "33"}, {"8", "0"},
    {"0", "INSERT"}, {"5", "40"}, {"8", "0"}, {"2", "VALVE"}, {"10", "0"}, {"20", "0"},
    {"0", "ENDSEC"}, {"0", "EOF"}};
// clang-format on

// The export rows as the CAD interface shows the entities, one call per value.
std::string rowsThroughTheInterface(cad::Document& document) {
    const LayerLocks locks(document);
    std::string rows;
    const auto add = [&](const auto& entity, const char* kind, const std::string& block,
                         const std::string& tag) {
        const cad::CadPoint point =
            entity.Alignment() == 0 ? entity.InsertionPoint() : entity.TextAlignmentPoint();
        appendRow(rows, TextRow{entity.Handle(), kind, block, tag, entity.Layer(),
                                locks.isLocked(entity.Layer()), point.x(), point.y(),
                                entity.TextString()});
    };
    forEachSelected(
        document, cad::SelectionFilter::of({{cad::SelectionFilter::EntityType, "TEXT,INSERT"}}),
        [&](const cad::EntityPtr& entity) {
            if (const auto text = std::dynamic_pointer_cast<cad::Text>(entity))
                add(*text, "TEXT", "", "");
            else if (const auto insert = std::dynamic_pointer_cast<cad::BlockReference>(entity))
                for (const auto& attribute : insert->GetAttributes())
                    add(*attribute, "ATTRIB", insert->Name(), attribute->TagString());
        });
    return rows;
}

} // namespace

// The export reads the records directly; each value is the one the CAD interface shows.
TEST(TextRecords, ExportRowsAreWhatTheCadInterfaceShows) {
    const auto model = drawing::CadModel::create(drawing::parseDxf(dxfOf(kDrawing), "t.dxf"));
    const cad::DocumentPtr document = model->application()->ActiveDocument();
    std::string rows;
    appendTextRows(rows, "", *document);
    EXPECT_EQ(rows, rowsThroughTheInterface(*document));
    const std::vector<peer::Row> read = peer::parseExport(formatHeader(ByteOrderMark::Omit) + rows);
    ASSERT_EQ(read.size(),
              4u); // the paper-space TEXT and the reference without attributes give none
    EXPECT_EQ(read[0].at("text"), "配電盤 P-1");
    EXPECT_EQ(read[0].at("layer"), "locked");
    EXPECT_EQ(read[0].at("locked"), "1");
    EXPECT_EQ(read[0].at("x") + " " + read[0].at("y"), "7.000 -4.000");
    EXPECT_EQ(read[1].at("layer") + " " + read[1].at("x") + " " + read[1].at("y"),
              "0 1000.000 -0.000");
    EXPECT_EQ(read[2].at("block") + " " + read[2].at("tag") + " " + read[2].at("x"),
              "VALVE TAG 4.123");
    EXPECT_EQ(read[3].at("text"), "part one, part two");
}

// A layer the CAD sees as locked under another letter case of a non-ASCII name refuses the
// change as it does for a text set through the interface: nothing is written.
TEST(TextRecords, ApplyKeepsTheCadsRefusalOfALockedLayer) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/a.dxf";
    Pairs pairs = kDrawing;
    for (auto& [code, value] : pairs) {
        if (value == "Locked")
            value = "Ä";
        if (value == "locked")
            value = "ä";
    }
    peer::writeFile(path, dxfOf(pairs));
    const std::string table = dir.path().toStdString() + "/t.tsv";
    peer::writeFile(table, "handle\ttext\n2B\tchanged\n2A\tchanged too\n");
    const peer::ProcessResult outcome = peer::runInProcess({"apply", path, table});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.err.find("The entity 2A is on the locked layer \"ä\"."), std::string::npos)
        << outcome.err;
    EXPECT_TRUE(peer::readFile(path) == dxfOf(pairs));
}

// Rows group by the file they name, however it is spelled; a handle given twice for one drawing,
// in any letter case, is a problem naming the first line that gave it.
TEST(TextRecords, RowsGroupByDrawingAndRepeatedHandlesAreFound) {
    const std::vector<RowKey> rows = {{2, "a.dxf", "2a"},    {3, "a.dxf", "2A"},
                                      {4, "b.dxf", "2A"},    {5, "./a.dxf", "2A"},
                                      {6, "./a.dxf", "2AB"}, {7, "b.dxf", "2b"}};
    Problems problems;
    const std::vector<FileJob> jobs = groupRows(rows, problems);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].path, "a.dxf");
    EXPECT_EQ(jobs[0].rows, (std::vector<std::size_t>{0, 4}));
    EXPECT_EQ(jobs[1].path, "b.dxf");
    EXPECT_EQ(jobs[1].rows, (std::vector<std::size_t>{2, 5}));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].line, 3);
    EXPECT_EQ(problems[0].message, "a.dxf: the handle 2A is given again (first on line 2)");
    EXPECT_EQ(problems[1].line, 5);
    EXPECT_EQ(problems[1].message, "./a.dxf: the handle 2A is given again (first on line 2)");
}

// Two spellings of one handle name one record: the rows are written one after the other, and the
// second sees what the first wrote (a reference's values are compared with what it holds then).
TEST(TextRecords, TwoSpellingsOfOneHandleAreWrittenOneAfterTheOther) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/a.dxf";
    peer::writeFile(path, dxfOf(kDrawing));
    const std::string table = dir.path().toStdString() + "/t.tsv";
    peer::writeFile(table, "handle\ttext\n2B\tone\n02B\tone\n");
    const peer::ProcessResult applied = peer::runInProcess({"apply", path, table});
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_EQ(applied.out, "changed 2, unchanged 0, locked 0\n");
    EXPECT_EQ(peer::parseExport(peer::runInProcess({"export", path}).out)[1].at("text"), "one");

    const std::string rows = peer::runInProcess({"attout", path}).out;
    const std::size_t row = rows.find("\n'30\t") + 1;
    std::string line = rows.substr(row);
    line.replace(line.find("\tV-1\t"), 5, "\tV-2\t");
    const std::string respelled = "'030" + line.substr(3);
    peer::writeFile(table, rows.substr(0, row) + line + respelled);
    const peer::ProcessResult written = peer::runInProcess({"attin", table, path});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    EXPECT_NE(written.out.find(": changed 1, unchanged 3, locked 0\n"), std::string::npos)
        << written.out;
    EXPECT_NE(peer::runInProcess({"attout", path}).out.find("\tV-2\t"), std::string::npos);
}
