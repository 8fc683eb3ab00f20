#include <filesystem>
#include <set>
#include <stdexcept>

#include <gtest/gtest.h>

#include "PeerSupport.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"
#include "drawing/dxf/DxfFile.h"

using namespace kalvex;
using namespace kalvex::peer;

namespace {

// Drawings ezdxf writes: R12, R2000 in ANSI_1252 (Japanese as \U+ escapes) and in ANSI_932,
// and R2018 (UTF-8). They hold Japanese and aligned TEXTs, locked layers, a block with
// attribute definitions, INSERTs with ATTRIBs and entities with extended data.
const char* const kDrawings[] = {"peer_r12.dxf", "peer_r2000_ansi1252.dxf",
                                 "peer_r2000_ansi932.dxf", "peer_r2018.dxf"};

template <class Rows> auto& rowWithText(Rows& rows, const std::string& text) {
    for (auto& row : rows) {
        if (row.at("text") == text)
            return row;
    }
    throw std::runtime_error("no row holds " + text);
}

// The INSERT that holds the attribute of this handle, found through the CAD interface.
cad::EntityPtr insertHolding(cad::Document& document, const std::string& attributeHandle) {
    const auto set = document.GetSelectionSets()->Add("PEER");
    set->Select(cad::SelectionSet::Mode::All, cad::SelectionFilter::of({{0, "INSERT"}}));
    for (int i = 0; i < set->Count(); ++i) {
        const auto insert = cad::entityAs<cad::BlockReference>(set->Item(i));
        for (const auto& attribute : insert->GetAttributes()) {
            if (attribute->Handle() == attributeHandle)
                return insert;
        }
    }
    throw std::runtime_error("no INSERT holds " + attributeHandle);
}

class Peer : public ::testing::TestWithParam<const char*> {
protected:
    PeerDrawing m_drawing{GetParam()};
};

} // namespace

TEST_P(Peer, RoundTripIsByteIdentical) {
    const std::string out = m_drawing.pathOf("out.dxf");
    const ProcessResult result = runTool({"roundtrip", m_drawing.path(), out});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(readFile(out) == readFile(m_drawing.path()));
}

TEST_P(Peer, ExportGivesTheRowsEzdxfSees) {
    const ProcessResult result = runTool({"export", m_drawing.path()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(parseExport(result.out), m_drawing.view().rows);
    EXPECT_EQ(m_drawing.view().rows.size(), 14u);
}

TEST_P(Peer, ApplyChangesTheStringsAskedForAndNothingElse) {
    std::vector<Row> rows = m_drawing.view().rows;
    std::vector<Row> expected = rows;
    const std::pair<const char*, const char*> edits[] = {
        {"配電盤 P-1", "新しい配電盤 é€ ①"},         // changed
        {"V-101", "V-201 給水"},                     // changed (ATTRIB)
        {"C:\\work\\pump\tA", "D:\\new\\U+0041\tB"}, // changed; the backslash stays literal
        {"RIGHT", "LEFT"},                           // on the locked layer "Locked"
        {"施錠レイヤ", "解錠"},                      // on "LOCKED": the same layer
    };
    for (const auto& [before, after] : edits) {
        rowWithText(rows, before).at("text") = after;
        Row& row = rowWithText(expected, before);
        if (row.at("layer") != "Locked" && row.at("layer") != "LOCKED")
            row.at("text") = after;
    }
    const std::string table = m_drawing.pathOf("edits.tsv");
    const std::string out = m_drawing.pathOf("out.dxf");
    writeFile(table, formatApplyTable(rows));
    const std::string original = readFile(m_drawing.path());

    const ProcessResult result = runTool({"apply", m_drawing.path(), table, "-o", out});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "changed 3, unchanged 9, locked 2\n");
    EXPECT_TRUE(readFile(m_drawing.path()) == original);
    const PeerView after = readWithPeer(out);
    EXPECT_EQ(after.rows, expected);
    EXPECT_EQ(after.entities, m_drawing.view().entities);
    EXPECT_EQ(after.header, m_drawing.view().header);
    EXPECT_EQ(after.audit, m_drawing.view().audit);
}

TEST_P(Peer, CopiesAndDeletesThroughTheCadInterfaceKeepTheRestIntact) {
    const PeerView before = m_drawing.view();
    const auto drawing = drawing::loadDxf(m_drawing.path());
    const auto document = drawing::CadModel::create(drawing)->application()->ActiveDocument();
    const std::string templateHandle = rowWithText(before.rows, "XDATA付き").at("handle");
    const auto copy = cad::entityAs<cad::Text>(document->HandleToObject(templateHandle)->Copy());
    // A line break cannot be part of a DXF line: it must reach the file as an escape.
    copy->SetTextString("複写\r\n二行目");
    const std::string attributeHandle = rowWithText(before.rows, "V-101").at("handle");
    const cad::EntityPtr insert = insertHolding(*document, attributeHandle);
    const std::string insertHandle = insert->Handle();
    insert->Delete();
    const std::string out = m_drawing.pathOf("out.dxf");
    drawing::saveDxf(*drawing, out);

    const PeerView after = readWithPeer(out);
    EXPECT_EQ(after.audit, before.audit);
    for (const auto& [name, value] : before.header) {
        if (name != "$HANDSEED") {
            EXPECT_EQ(after.header.at(name), value) << name;
        }
    }
    const std::string seed = after.header.at("$HANDSEED"); // "5=HEX;"
    EXPECT_GT(std::stoul(seed.substr(seed.find('=') + 1), nullptr, 16),
              std::stoul(copy->Handle(), nullptr, 16));
    ASSERT_TRUE(after.entities.contains(copy->Handle()));
    EXPECT_EQ(after.entities.at(copy->Handle()), before.entities.at(templateHandle));
    std::set<std::string> removedTypes;
    for (const auto& [handle, entity] : before.entities) {
        if (!after.entities.contains(handle))
            removedTypes.insert(entity.at("<type>") + " " + handle);
        else
            EXPECT_EQ(after.entities.at(handle), entity) << handle;
    }
    EXPECT_EQ(removedTypes.size(), 4u); // the INSERT, its two ATTRIBs and its SEQEND
    EXPECT_TRUE(removedTypes.contains("INSERT " + insertHandle));
    EXPECT_EQ(after.entities.size(), before.entities.size() - 4 + 1);
    EXPECT_FALSE(after.entities.contains(attributeHandle));
    ASSERT_FALSE(after.rows.empty());
    EXPECT_EQ(after.rows.back().at("handle"), copy->Handle());
    EXPECT_EQ(after.rows.back().at("text"), "複写\r\n二行目");
    EXPECT_EQ(after.rows.size(), before.rows.size() - 2 + 1);
}

INSTANTIATE_TEST_SUITE_P(EzdxfDrawings, Peer, ::testing::ValuesIn(kDrawings), [](const auto& info) {
    std::string name = std::filesystem::path(info.param).stem();
    std::erase(name, '_');
    return name;
});

namespace {

// Drawings of other programs that ezdxf reads as they are. Left out: the binary one, those
// ezdxf refuses (empty handles, no HEADER, a layer name it rejects) and the one with duplicate
// handles, where ezdxf renumbers entities and the engine keeps the file's handles.
const char* const kCorpus[] = {
    "acadsharp__samples__sample_R12_ascii.dxf",
    "acadsharp__samples__sample_base__sample_AC1009_ascii.dxf",
    "acadsharp__samples__sample_base__sample_AC1015_ascii.dxf",
    "acadsharp__samples__sample_base__sample_AC1032_ascii.dxf",
    "ezdxf__examples_dxf__multi_insert_with_attribs.dxf",
    "ezdxf__examples_dxf__text.dxf",
    "ezdxf__examples_dxf__text_alignments.dxf",
    "ezdxf__examples_dxf__uncommon.dxf",
};

class Corpus : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!haveSharedCorpus())
            GTEST_SKIP() << "the shared corpus ../shared/dxf-corpus is absent: the peer drawings "
                            "and OwnCorpus test other writers' files instead";
    }
};

} // namespace

TEST_P(Corpus, ExportGivesTheRowsEzdxfSees) {
    const std::string path = sharedCorpusFile(GetParam());
    const ProcessResult result = runTool({"export", path});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<Row> rows = parseExport(result.out);
    EXPECT_FALSE(rows.empty());
    EXPECT_EQ(rows, readWithPeer(path).rows);
}

// Every unlocked text gains a suffix the older code pages lack; ezdxf must read exactly that,
// with every entity and the header as they were.
TEST_P(Corpus, ApplyChangesOnlyTheTexts) {
    const std::string path = sharedCorpusFile(GetParam());
    const QTemporaryDir dir;
    const std::string table = dir.path().toStdString() + "/t.tsv";
    const std::string out = dir.path().toStdString() + "/out.dxf";
    const PeerView before = readWithPeer(path);
    std::vector<Row> rows = before.rows, expected = before.rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].at("text") += " 改";
        if (expected[i].at("locked") == "0")
            expected[i].at("text") += " 改";
    }
    writeFile(table, formatApplyTable(rows));
    const ProcessResult result = runTool({"apply", path, table, "-o", out});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const PeerView after = readWithPeer(out);
    EXPECT_EQ(after.rows, expected);
    EXPECT_EQ(after.entities, before.entities);
    EXPECT_EQ(after.header, before.header);
    EXPECT_EQ(after.audit, before.audit);
}

INSTANTIATE_TEST_SUITE_P(OtherPrograms, Corpus, ::testing::ValuesIn(kCorpus), [](const auto& info) {
    std::string name = std::filesystem::path(info.param).stem();
    std::erase(name, '_');
    return name;
});
