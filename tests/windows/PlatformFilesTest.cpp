#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

#include "drawing/dxf/DxfFile.h"
#include "drawing/dxf/FilePort.h"
#include "drawing/dxf/TemporaryFiles.h"
#include "drawing/tags/CodePage.h"

namespace kalvex::drawing {
namespace {

namespace fs = std::filesystem;

const char* const kDrawing = "0\nSECTION\n2\nENTITIES\n0\nTEXT\n5\n2A\n8\n0\n10\n1.0\n20\n2.0\n"
                             "30\n0.0\n40\n2.5\n1\nnew\n0\nENDSEC\n0\nEOF\n";

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kalvex_files_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        for (const auto& entry : fs::directory_iterator(dir))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(dir);
    }
    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir;
};

TEST_F(PlatformFiles, SavingReplacesTheDrawingAndKeepsThePreviousVersionAsBak) {
    const fs::path target = dir / "plant.dxf";
    writeBytes(target, "old bytes");
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    const auto drawing = parseDxf(kDrawing, "plant.dxf");
    saveDxf(*drawing, target.string());
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"plant.bak", "plant.dxf"}));
    EXPECT_EQ(readBytes(target), drawing->serialize());
    EXPECT_EQ(readBytes(dir / "plant.bak"), "old bytes");
    EXPECT_EQ(loadDxf(target.string())->serialize(), drawing->serialize());
}

TEST_F(PlatformFiles, AReadOnlyDrawingIsNotReplacedAndNoTemporaryFileStays) {
    const fs::path target = dir / "locked.dxf";
    writeBytes(target, "old bytes");
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        saveDxf(*parseDxf(kDrawing, "locked.dxf"), target.string());
        FAIL() << "a read-only drawing was replaced";
    } catch (const dxf::DxfError& error) {
        EXPECT_EQ(std::string(error.what()).rfind(target.string() + ": cannot save: ", 0), 0u)
            << error.what();
    }
    EXPECT_EQ(readBytes(target), "old bytes");
    for (const std::string& name : filesInDir())
        EXPECT_EQ(name.find(".kalvex-tmp-"), std::string::npos) << name;
}

// A file another program holds open without sharing cannot be replaced: the rename fails as a
// whole, the old bytes stay under the name and the new ones under the temporary name.
TEST_F(PlatformFiles, AFailedReplaceLeavesBothFilesAsTheyWere) {
    const fs::path target = dir / "held.dxf", fresh = dir / "held.new";
    writeBytes(target, "old bytes");
    writeBytes(fresh, "new bytes");
    const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files::replaceFile(fresh.string(), target.string()));
    EXPECT_FALSE(files::lastError().empty());
    CloseHandle(held);
    EXPECT_EQ(readBytes(target), "old bytes");
    EXPECT_EQ(readBytes(fresh), "new bytes");

    EXPECT_TRUE(files::replaceFile(fresh.string(), target.string())) << files::lastError();
    EXPECT_EQ(readBytes(target), "new bytes");
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"held.dxf"});
}

TEST_F(PlatformFiles, OnlyTemporaryFilesOfEndedProcessesAreRemoved) {
    const std::string own = std::to_string(GetCurrentProcessId());
    const std::vector<std::string> names = {
        ".a.dxf.kalvex-tmp-2147483600-a1B2c3",  // no such process
        ".b.dxf.kalvex-tmp-" + own + "-a1B2c3", // this one
        "c.dxf.kalvex-tmp-2147483600-a1B2c3",   // not hidden: not a temporary file of a save
    };
    for (const std::string& name : names)
        writeBytes(dir / name, "x");
    const std::vector<std::string> removed = removeLeftoverTemporaries(dir.string());
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(fs::path(removed[0]).filename().string(), names[0]);
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{names[1], names[2]}));
}

TEST(PlatformCodePage, ConvertsThroughTheSystemAsGlibcDoes) {
    const CodePage japanese = CodePage::fromName("ANSI_932");
    ASSERT_TRUE(japanese.isKnown());
    EXPECT_EQ(japanese.decode("\x93\xFA\x96\x7B"), "\xE6\x97\xA5\xE6\x9C\xAC"); // 日本
    EXPECT_EQ(japanese.decode("\x95\x5C\\U+0041"), "\xE8\xA1\xA8"
                                                   "A"); // 表: its trail byte is a backslash
    EXPECT_EQ(japanese.decode("\xB1"), "\xEF\xBD\xB1");  // half-width katakana
    EXPECT_EQ(japanese.decode("\x87\x90\x81\xE0"), "\xE2\x89\x92\xE2\x89\x92"); // ≒ held twice
    EXPECT_EQ(japanese.encode("\xE2\x89\x92"), "\x81\xE0");
    EXPECT_EQ(japanese.encode("\xC3\xA9"), "\\U+00E9");
    // Bytes Windows fills with characters of its own are undefined, as they are for glibc.
    EXPECT_FALSE(japanese.isValid("\xA0"));
    EXPECT_FALSE(japanese.isValid("\x80"));
    EXPECT_FALSE(CodePage::fromName("ANSI_1252").isValid("\x81"));
    EXPECT_EQ(CodePage::fromName("ANSI_1252").decode("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(CodePage::fromName("dos850").decode("\x82"), "\xC3\xA9");
    EXPECT_EQ(CodePage::fromName("ANSI_1251").encode("\xD0\x94\xD0\xB0"), "\xC4\xE0");
    for (const char* name : {"ANSI_936", "ANSI_949", "ANSI_950", "dos437", "iso8859-2"})
        EXPECT_TRUE(CodePage::fromName(name).isKnown()) << name;
}

} // namespace
} // namespace kalvex::drawing
