#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sstream>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "PeerSupport.h"
#include "drawing/dxf/DxfFile.h"
#include "dxftool/TableApplier.h"
#include "dxftool/WriteBack.h"
#include "kit/DrawingBuilder.h"

using namespace kalvex;
using namespace kalvex::dxftool;

namespace {

namespace fs = std::filesystem;

// Another program's save: new bytes of the same length; with `TimeSetBack`, the time of
// modification put back as it was, as some copying tools do.
enum class Stamp { Renewed, TimeSetBack };

void saveByAnotherProgram(const std::string& path, Stamp stamp) {
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    std::string bytes = peer::readFile(path);
    bytes.replace(bytes.find("old"), 3, "new");
    peer::writeFile(path, bytes);
    if (stamp == Stamp::TimeSetBack) {
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
}

} // namespace

// The edit stands for the time between reading a drawing and putting the new one in place.
TEST(WriteBack, ADrawingChangedOnDiskAfterItWasReadIsLeftAsTheOtherProgramSavedIt) {
    for (const auto interference : {std::optional<Stamp>(), std::optional(Stamp::Renewed),
                                    std::optional(Stamp::TimeSetBack)}) {
        const QTemporaryDir dir;
        const std::string path = dir.path().toStdString() + "/a.dxf";
        drawing::DrawingBuilder builder;
        const std::string handle = builder.text({.text = "old"});
        drawing::saveDxf(*builder.drawing(), path);
        const std::vector<TableEntry> entries = {{2, "", handle, "mine"}};
        const FileJob job{path, path, 0, {0}};
        const EditDrawing edit = [&](cad::Document& document, const FileJob& edited,
                                     Problems& found) {
            if (interference)
                saveByAnotherProgram(path, *interference);
            return applyTable(document, rowsOf(entries, edited), Staleness::Refuse, found);
        };
        Problems problems;
        std::ostringstream err;
        const std::vector<FileSummary> summaries = writeBack({job}, edit, problems, err);
        if (!interference) {
            ASSERT_EQ(summaries.size(), 1u);
            EXPECT_EQ(summaryLine(summaries[0].summary), "changed 1, unchanged 0, locked 0");
            EXPECT_NE(peer::readFile(path).find("mine"), std::string::npos);
            continue;
        }
        EXPECT_TRUE(summaries.empty());
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].message, path + ": the file changed on disk after it was read");
        const std::string onDisk = peer::readFile(path);
        EXPECT_NE(onDisk.find("new"), std::string::npos);
        EXPECT_EQ(onDisk.find("mine"), std::string::npos);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), {}), 1);
    }
}
