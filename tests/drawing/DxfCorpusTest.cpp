#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "DxfTestSupport.h"
#include "cadlink/Application.h"
#include "cadlink/BlockReference.h"
#include "cadlink/Text.h"
#include "drawing/cad/CadModel.h"
#include "drawing/dxf/DxfFile.h"

namespace kalvex::drawing {
namespace {

namespace fs = std::filesystem;
using test::modelSpace;
using test::readBytes;

fs::path corpusDir() {
    return fs::path(KALVEX_SOURCE_DIR) / ".." / "shared" / "dxf-corpus";
}

// Drawings of other programs that lie beside the repository on the developers' machines only;
// a plain clone tests the same quirks with its own corpus (OwnCorpus).
class DxfCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(corpusDir()))
            GTEST_SKIP() << "the shared corpus " << corpusDir()
                         << " is absent: OwnCorpus reads drawings of the same kinds instead";
    }
};

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(corpusDir()))
        if (entry.path().extension() == ".dxf" &&
            entry.path().filename().string().find("binary") == std::string::npos)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST_F(DxfCorpus, EveryAsciiDrawingRoundTripsByteForByte) {
    const auto files = corpusFiles();
    ASSERT_GE(files.size(), 13u) << corpusDir();
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::shared_ptr<Drawing> drawing;
        ASSERT_NO_THROW(drawing = loadDxf(file.string()));
        const std::string original = readBytes(file.string());
        const std::string saved = drawing->serialize();
        if (file.filename().string().find("recover01") != std::string::npos)
            EXPECT_EQ(saved, original + "  0\nEOF\n"); // the one file without EOF gains it
        else
            EXPECT_TRUE(saved == original)
                << "saved " << saved.size() << " bytes of " << original.size();
    }
}

TEST_F(DxfCorpus, TheBinaryDrawingIsRefusedWithAClearMessage) {
    const fs::path binary =
        corpusDir() / "acadsharp__samples__sample_base__sample_AC1015_binary.dxf";
    try {
        loadDxf(binary.string());
        FAIL() << "a binary DXF was read";
    } catch (const dxf::DxfError& error) {
        EXPECT_NE(std::string(error.what()).find("binary DXF"), std::string::npos) << error.what();
        EXPECT_EQ(std::string(error.what()).rfind(binary.string(), 0), 0u) << error.what();
    }
}

struct Content {
    const char* file;
    int texts;
    int inserts;
    int attributes;
    const char* lockedLayer; // empty: none
};

// What another DXF reader finds in model space of each drawing. That reader drops the four
// TEXTs whose handles repeat earlier ones; here they stay, with handles given in memory.
const Content kContents[] = {
    {"acadsharp__samples__sample_R12_ascii.dxf", 4, 16, 1, "LAYER_LOCK"},
    {"acadsharp__samples__sample_base__sample_AC1009_ascii.dxf", 8, 20, 4, "LAYER_LOCK"},
    {"acadsharp__samples__sample_base__sample_AC1015_ascii.dxf", 8, 3, 4, "Layer_Lock"},
    {"acadsharp__samples__sample_base__sample_AC1032_ascii.dxf", 8, 3, 4, "Layer_Lock"},
    {"ezdxf__examples_dxf__multi_insert_with_attribs.dxf", 0, 1, 3, ""},
    {"ezdxf__examples_dxf__text.dxf", 62, 1, 4, ""},
    {"ezdxf__examples_dxf__text_alignments.dxf", 16, 0, 0, ""},
    {"ezdxf__examples_dxf__uncommon.dxf", 0, 1, 1, ""},
    {"ezdxf__integration_tests__data__duplicate_handles.dxf", 15 + 4, 0, 0, ""},
    {"ezdxf__integration_tests__data__recover01.dxf", 63, 0, 0, ""},
};

std::shared_ptr<CadModel> openCorpus(const std::string& name) {
    return CadModel::create(loadDxf((corpusDir() / name).string()));
}

TEST_F(DxfCorpus, ModelSpaceHoldsWhatAnotherReaderFinds) {
    for (const Content& content : kContents) {
        SCOPED_TRACE(content.file);
        auto document = openCorpus(content.file)->application()->ActiveDocument();
        EXPECT_EQ(modelSpace(*document, "TEXT").size(), static_cast<std::size_t>(content.texts));
        const auto inserts = modelSpace(*document, "INSERT");
        EXPECT_EQ(inserts.size(), static_cast<std::size_t>(content.inserts));
        std::size_t attributes = 0;
        for (const auto& insert : inserts)
            attributes += cad::entityAs<cad::BlockReference>(insert)->GetAttributes().size();
        EXPECT_EQ(attributes, static_cast<std::size_t>(content.attributes));
        std::string locked;
        auto layers = document->GetLayers();
        for (int i = 0; i < layers->Count(); ++i)
            if (layers->Item(i)->Lock())
                locked += layers->Item(i)->Name();
        EXPECT_EQ(locked, content.lockedLayer);
    }
}

TEST_F(DxfCorpus, AlignmentsCombineTheHorizontalAndVerticalCodes) {
    auto document =
        openCorpus("ezdxf__examples_dxf__text_alignments.dxf")->application()->ActiveDocument();
    const std::pair<const char*, int> expected[] = {
        {"34", 0},  {"35", 1}, {"36", 2}, {"38", 12}, {"39", 13}, {"3A", 14}, {"3C", 9}, {"3D", 10},
        {"3E", 11}, {"40", 6}, {"41", 7}, {"42", 8},  {"43", 3},  {"45", 5},  {"47", 4}};
    for (const auto& [handle, alignment] : expected) {
        auto text = cad::entityAs<cad::Text>(document->HandleToObject(handle));
        EXPECT_EQ(text->Alignment(), alignment) << handle << " " << text->TextString();
    }
    auto centre = cad::entityAs<cad::Text>(document->HandleToObject("35"));
    EXPECT_EQ(centre->TextString(), "CENTER");
    EXPECT_EQ(centre->TextAlignmentPoint(), cad::CadPoint(5, -1, 0));
}

TEST_F(DxfCorpus, TextsOfMessyFilesReadAsTheyShould) {
    auto r2000 = openCorpus("acadsharp__samples__sample_base__sample_AC1015_ascii.dxf");
    auto document = r2000->application()->ActiveDocument();
    auto multiLine = cad::entityAs<cad::AttributeReference>(document->HandleToObject("79D"));
    EXPECT_EQ(multiLine->TextString(), "my multi line text for the attrrib");
    EXPECT_EQ(cad::entityAs<cad::Text>(document->HandleToObject("757"))->Layer(),
              "Layer_color_80 @ 1");

    // In the R2018 copy of that drawing the attribute's text lives in its embedded MTEXT.
    auto r2018 = openCorpus("acadsharp__samples__sample_base__sample_AC1032_ascii.dxf");
    auto multiLine2018 = cad::entityAs<cad::AttributeReference>(
        r2018->application()->ActiveDocument()->HandleToObject("79D"));
    EXPECT_EQ(multiLine2018->TextString(), "my multi line text for the attrrib");
    multiLine2018->SetTextString("rewritten");
    auto reread = CadModel::create(parseDxf(r2018->drawing().serialize(), "again.dxf"));
    EXPECT_EQ(cad::entityAs<cad::AttributeReference>(
                  reread->application()->ActiveDocument()->HandleToObject("79D"))
                  ->TextString(),
              "rewritten");

    auto uncommon =
        openCorpus("ezdxf__examples_dxf__uncommon.dxf")->application()->ActiveDocument();
    EXPECT_EQ(cad::entityAs<cad::AttributeReference>(uncommon->HandleToObject("5FC"))->TextString(),
              "21/04/2020");

    auto duplicates =
        loadDxf((corpusDir() / "ezdxf__integration_tests__data__duplicate_handles.dxf").string());
    ASSERT_FALSE(duplicates->warnings().empty());
    EXPECT_NE(duplicates->warnings().front().find("duplicate handle"), std::string::npos);

    // Entities with empty handles are found again by the handles they get in memory.
    auto empty = openCorpus("ezdxf__integration_tests__data__empty_handles.dxf");
    auto emptyDocument = empty->application()->ActiveDocument();
    std::set<std::string> handles;
    for (const auto& entity : modelSpace(*emptyDocument, "*")) {
        handles.insert(entity->Handle());
        EXPECT_EQ(emptyDocument->HandleToObject(entity->Handle())->ObjectID(), entity->ObjectID());
    }
    EXPECT_GE(handles.size(), 8u);
}

} // namespace
} // namespace kalvex::drawing
