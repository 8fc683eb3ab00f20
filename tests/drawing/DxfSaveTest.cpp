#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "drawing/dxf/DxfFile.h"
#include "kit/DrawingBuilder.h"

namespace kalvex::drawing {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class DxfSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kalvex_save_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::vector<std::string> filesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir;
};

TEST_F(DxfSaveTest, SavingKeepsThePreviousVersionAsBak) {
    DrawingBuilder builder;
    builder.text({.text = "first"});
    auto drawing = builder.drawing();
    const fs::path target = dir / "plant.dxf";
    saveDxf(*drawing, target.string());
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"plant.dxf"});
    const std::string firstVersion = readBytes(target);
    EXPECT_EQ(firstVersion, drawing->serialize());

    auto loaded = loadDxf(target.string());
    EXPECT_EQ(loaded->serialize(), firstVersion);
    DrawingBuilder other;
    other.text({.text = "second"});
    saveDxf(*other.drawing(), target.string());
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"plant.bak", "plant.dxf"}));
    EXPECT_EQ(readBytes(dir / "plant.bak"), firstVersion);
    EXPECT_EQ(readBytes(target), other.drawing()->serialize());
}

TEST_F(DxfSaveTest, AFailedSaveLeavesWhatWasThereAndSaysWhy) {
    DrawingBuilder builder;
    auto drawing = builder.drawing();
    const fs::path occupied = dir / "taken.dxf";
    fs::create_directory(occupied); // a directory cannot be replaced by a file
    try {
        saveDxf(*drawing, occupied.string());
        FAIL() << "saving over a directory succeeded";
    } catch (const dxf::DxfError& error) {
        EXPECT_EQ(std::string(error.what()).rfind(occupied.string() + ": ", 0), 0u) << error.what();
    }
    EXPECT_TRUE(fs::is_directory(occupied));
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"taken.dxf"}); // no temporary file left

    const fs::path missingDir = dir / "no" / "such.dxf";
    EXPECT_THROW(saveDxf(*drawing, missingDir.string()), dxf::DxfError);
    EXPECT_THROW(loadDxf(missingDir.string()), dxf::DxfError);
}

TEST_F(DxfSaveTest, APendingSaveTouchesNothingUntilCommitted) {
    DrawingBuilder first, second;
    first.text({.text = "first"});
    second.text({.text = "second"});
    const fs::path target = dir / "plant.dxf";
    saveDxf(*first.drawing(), target.string());
    const std::string firstVersion = readBytes(target);
    {
        PendingSave dropped(*second.drawing(), target.string());
        EXPECT_EQ(filesInDir().size(), 2u); // the file and the temporary one
    }
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"plant.dxf"});
    EXPECT_EQ(readBytes(target), firstVersion);

    PendingSave pending(*second.drawing(), target.string());
    PendingSave moved(std::move(pending)); // the temporary file follows the move
    EXPECT_EQ(readBytes(target), firstVersion);
    moved.commit();
    EXPECT_EQ(filesInDir(), (std::vector<std::string>{"plant.bak", "plant.dxf"}));
    EXPECT_EQ(readBytes(target), second.drawing()->serialize());
    EXPECT_EQ(readBytes(dir / "plant.bak"), firstVersion);
}

} // namespace
} // namespace kalvex::drawing
