#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cadlink/Application.h"
#include "cadlink/Text.h"
#include "drawing/DxfFile.h"
#include "drawing/cad/CadModel.h"

namespace kalvex::drawing {
namespace {

namespace fs = std::filesystem;

fs::path corpusDir() {
    return fs::path(KALVEX_SOURCE_DIR) / ".." / "shared" / "dxf-corpus";
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(corpusDir()))
        if (entry.path().extension() == ".dxf" &&
            entry.path().filename().string().find("binary") == std::string::npos)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(DxfCorpus, EveryAsciiDrawingRoundTripsByteForByte) {
    const auto files = corpusFiles();
    ASSERT_GE(files.size(), 13u) << corpusDir();
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::shared_ptr<Drawing> drawing;
        ASSERT_NO_THROW(drawing = loadDxf(file.string()));
        const std::string original = readBytes(file);
        const std::string saved = drawing->serialize();
        if (file.filename().string().find("recover01") != std::string::npos)
            EXPECT_EQ(saved, original + "  0\nEOF\n"); // the one file without EOF gains it
        else
            EXPECT_TRUE(saved == original)
                << "saved " << saved.size() << " bytes of " << original.size();
    }
}

TEST(DxfCorpus, TheBinaryDrawingIsRefusedWithAClearMessage) {
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

} // namespace
} // namespace kalvex::drawing
