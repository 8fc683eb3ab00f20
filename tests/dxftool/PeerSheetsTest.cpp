#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include "PeerSupport.h"

using namespace kalvex::peer;

namespace {

constexpr int kSheets = 10;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        all.push_back(line);
    return all;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> all;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');)
        all.push_back(field);
    if (line.ends_with('\t'))
        all.emplace_back();
    return all;
}

// The edits of a revision: every title block gets revision B, a new date and a new second note;
// every wire number gets a suffix.
std::string revised(const std::string& tag, int occurrence, const std::string& value) {
    if (tag == "REV")
        return "B";
    if (tag == "DATE")
        return "2025-01-31";
    if (tag == "NOTE" && occurrence == 1)
        return "改訂 注記 ②";
    if (tag == "WIRE")
        return value + " 改";
    return value;
}

// The attout table with the edits made, column by column.
std::string reviseTable(const std::string& table) {
    const std::vector<std::string> all = lines(table);
    const std::vector<std::string> header = fields(all.at(0));
    std::string out = all[0] + '\n';
    for (std::size_t i = 1; i < all.size(); ++i) {
        std::vector<std::string> row = fields(all[i]);
        EXPECT_EQ(row.size(), header.size()) << all[i];
        for (std::size_t c = 3; c < row.size(); ++c) {
            const bool second = header[c].ends_with("(1)");
            const std::string tag = second ? header[c].substr(0, header[c].size() - 3) : header[c];
            if (row[c] != "<>")
                row[c] = revised(tag, second ? 1 : 0, row[c]);
        }
        for (std::size_t c = 0; c < row.size(); ++c)
            out.append(c ? "\t" : "").append(row[c]);
        out += '\n';
    }
    return out;
}

// What ezdxf must read after the revision: the same rows with the edits, locked ones left.
std::vector<Row> revisedRows(std::vector<Row> rows) {
    int noteOfInsert = 0;
    for (Row& row : rows) {
        noteOfInsert = row.at("tag") == "NOTE" ? noteOfInsert + 1 : 0;
        if (row.at("kind") == "ATTRIB" && row.at("locked") == "0")
            row.at("text") = revised(row.at("tag"), noteOfInsert - 1, row.at("text"));
    }
    return rows;
}

// A spreadsheet's "text (tab-separated)" on Japanese Windows: CP932 with CR LF.
void saveAsSpreadsheet(const std::string& from, const std::string& to) {
    const ProcessResult result = runProcess(
        KALVEX_PYTHON,
        {"-c",
         "import sys\n"
         "text = open(sys.argv[1], encoding='utf-8', newline='').read()\n"
         "open(sys.argv[2], 'wb').write(text.replace('\\n', '\\r\\n').encode('cp932'))\n",
         from, to});
    ASSERT_EQ(result.exitCode, 0) << result.err;
}

} // namespace

// Ten drawings written by ezdxf in four versions and code pages: attout, the table revised and
// saved as a spreadsheet saves it, attin; ezdxf then reads every revised value and everything
// else as it was.
TEST(PeerSheets, AttoutAndAttinRoundTripThroughASpreadsheet) {
    const QTemporaryDir dir;
    const ProcessResult made =
        runProcess(KALVEX_PYTHON, {std::string(KALVEX_SOURCE_DIR) + "/tests/peer/make_sheets.py",
                                   dir.path().toStdString(), std::to_string(kSheets)});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const std::vector<std::string> sheets = lines(made.out);
    ASSERT_EQ(sheets.size(), static_cast<std::size_t>(kSheets));
    std::vector<PeerView> before;
    for (const std::string& sheet : sheets)
        before.push_back(readWithPeer(sheet));

    std::vector<std::string> attout = {"attout"};
    attout.insert(attout.end(), sheets.begin(), sheets.end());
    const ProcessResult table = runTool(attout);
    ASSERT_EQ(table.exitCode, 0) << table.err;
    ASSERT_EQ(lines(table.out).size(), 1u + kSheets * 7u);
    const std::string edited = dir.path().toStdString() + "/revision.tsv";
    const std::string saved = dir.path().toStdString() + "/revision-cp932.txt";
    writeFile(edited, reviseTable(table.out));
    saveAsSpreadsheet(edited, saved);
    ASSERT_NE(readFile(saved).find("\x89\xfc\x92\xf9"), std::string::npos); // 改訂 in CP932

    const ProcessResult applied = runTool({"attin", saved});
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    // Per sheet: REV, DATE, the second NOTE and five wires changed, the locked wire left.
    EXPECT_TRUE(
        applied.out.ends_with("total: changed 80, unchanged 210, locked 10 in 10 drawings\n"))
        << applied.out;
    for (int i = 0; i < kSheets; ++i) {
        SCOPED_TRACE(sheets[i]);
        const PeerView after = readWithPeer(sheets[i]);
        EXPECT_EQ(after.rows, revisedRows(before[i].rows));
        EXPECT_EQ(after.entities, before[i].entities);
        EXPECT_EQ(after.header, before[i].header);
        EXPECT_EQ(after.audit, before[i].audit);
    }
}
