#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "layering/LayerMap.h"

namespace kalvex::layering {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = fs::path(KALVEX_SOURCE_DIR) / "src";
const fs::path kMapFile = fs::path(KALVEX_SOURCE_DIR) / "tests/layering/layers.txt";
const fs::path kLinkGraph = fs::path(KALVEX_BINARY_DIR) / "link-graph.txt";

std::set<std::string> headersIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::string listed(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

TEST(LayeringTest, EveryIncludeOfTheSourceTreeFollowsTheMap) {
    const LayerMap map = readLayerMap(kMapFile);
    const std::vector<Include> includes = collectIncludes(kSourceRoot);
    ASSERT_GT(includes.size(), 100u) << "the source tree was not found at " << kSourceRoot;
    const QtHeaders qt{headersIn(KALVEX_QT_WIDGETS_INCLUDE), headersIn(KALVEX_QT_GUI_INCLUDE)};
    ASSERT_TRUE(qt.widgets.count("QWidget"))
        << "no Qt Widgets headers at " << KALVEX_QT_WIDGETS_INCLUDE;
    ASSERT_TRUE(qt.gui.count("QColor")) << "no Qt Gui headers at " << KALVEX_QT_GUI_INCLUDE;

    const auto violations = includeViolations(map, includes, qt);
    EXPECT_TRUE(violations.empty())
        << "includes the map in " << kMapFile << " forbids:" << listed(violations);
}

TEST(LayeringTest, CMakeLinksEachLibraryToTheFoldersTheMapGivesIt) {
    const auto violations = linkViolations(readLayerMap(kMapFile), readLinkGraph(kLinkGraph));
    EXPECT_TRUE(violations.empty()) << listed(violations);
}

// The checks themselves, on a small map, so that a check that could never fail shows up here.
class LayerMapRulesTest : public ::testing::Test {
protected:
    LayerMapRulesTest() {
        map["platform"] = {};
        map["cadlink"] = {{"platform"}, QtUse::WithoutWidgets};
        map["texttab"] = {{"cadlink", "platform"}, QtUse::Any};
        map["com"] = {{"cadlink", "platform"}, QtUse::WithoutQt};
    }
    LayerMap map;
    QtHeaders widgets{{"QWidget", "QDialog"}, {"QColor", "QPainter"}};
};

TEST_F(LayerMapRulesTest, NamesTheFileLineAndIncludeThatBreakTheMap) {
    const std::vector<Include> includes = {
        {"cadlink/Selection.cpp", 3, "platform/WindowSystem.h"}, // allowed
        {"cadlink/Selection.cpp", 4, "cadlink/Records.h"},       // own folder
        {"cadlink/Selection.cpp", 7, "texttab/TextFetch.h"},     // upwards
        {"cadlink/Selection.h", 5, "QWidget", false},            // widgets in cadlink
        {"texttab/TextFetch.cpp", 2, "QDialog", false},          // widgets allowed here
        {"texttab/TextFetch.cpp", 9, "TextFetch.h"},             // no folder named
        {"shell/Main.cpp", 1, "cadlink/CadError.h"},             // folder not on the map
        {"com/Variant.h", 3, "QString", false},                  // any of Qt in com
        {"com/Variant.h", 4, "string", false},                   // the standard library is fine
        {"com/Variant.h", 5, "oleauto.h", false},                // so is the system's
    };
    const auto violations = includeViolations(map, includes, widgets);
    EXPECT_EQ(
        violations,
        (std::vector<std::string>{
            "cadlink/Selection.cpp:7 includes texttab/TextFetch.h: cadlink may include platform",
            "cadlink/Selection.h:5 includes QWidget: cadlink stays clear of Qt Widgets",
            "texttab/TextFetch.cpp:9 includes TextFetch.h: name the folder, as in "
            "\"texttab/TextFetch.h\"",
            "shell/Main.cpp:1 includes cadlink/CadError.h: the folder shell is not on the map",
            "com/Variant.h:3 includes QString: com stays clear of Qt",
        }));
}

TEST_F(LayerMapRulesTest, AFolderWithoutQtDoesNotReachQtThroughAnotherFoldersHeader) {
    const std::vector<Include> includes = {
        {"com/Backend.cpp", 2, "platform/WindowSystem.h"}, // Qt-free all the way down
        {"com/Backend.cpp", 3, "platform/Ports.h"},        // reaches Qt two levels down
        {"platform/WindowSystem.h", 3, "platform/WindowHandle.h"},
        {"platform/Ports.h", 3, "platform/MessagePort.h"},
        {"platform/MessagePort.h", 3, "QString", false},
        {"texttab/TextFetch.cpp", 4, "platform/Ports.h"}, // texttab may use Qt
    };
    EXPECT_EQ(includeViolations(map, includes, widgets),
              (std::vector<std::string>{"com/Backend.cpp:3 includes platform/Ports.h, which brings "
                                        "in QString: com stays clear of Qt"}));
}

// A library layered inside: its inner folders include only the inner folders and libraries
// their rule names, and keep to the Qt their rule allows.
class InnerFolderRulesTest : public LayerMapRulesTest {
protected:
    InnerFolderRulesTest() {
        map["drawing"] = {{"cadlink", "platform"}, QtUse::WithoutGui};
        map["drawing/tags"] = {{}, QtUse::WithoutQt};
        map["drawing/model"] = {{"drawing/tags"}, QtUse::WithoutQt};
        map["drawing/cad"] = {{"drawing/model", "drawing/tags", "cadlink"}, QtUse::WithoutGui};
        map["drawingwindow"] = {{"drawing", "platform"}, QtUse::Any};
        map["dxftool"] = {{"drawing", "cadlink"}, QtUse::WithoutGui};
    }
};

TEST_F(InnerFolderRulesTest, InnerFoldersFollowTheirOwnRules) {
    const std::vector<Include> includes = {
        {"drawing/model/Drawing.cpp", 2, "drawing/tags/Tag.h"},           // downwards
        {"drawing/model/Drawing.cpp", 3, "drawing/model/UndoLog.h"},      // own inner folder
        {"drawing/tags/TagReader.cpp", 4, "drawing/model/Drawing.h"},     // upwards
        {"drawing/model/Drawing.cpp", 5, "drawing/cad/CadModel.h"},       // upwards
        {"drawing/model/Drawing.cpp", 6, "cadlink/CadError.h"},           // not in its rule
        {"drawing/cad/CadModel.cpp", 7, "cadlink/CadError.h"},            // another library
        {"drawing/cad/Wildcard.cpp", 8, "QChar", false},                  // Qt Core is fine here
        {"drawing/cad/CadModel.cpp", 9, "QColor", false},                 // Qt Gui is not
        {"drawing/tags/CodePage.cpp", 10, "QString", false},              // nor any Qt in tags
        {"drawingwindow/render/Text.cpp", 11, "drawing/model/Drawing.h"}, // a library it uses
        {"drawingwindow/render/Text.cpp", 12, "drawingwindow/Scene.h"},   // its own library
        {"dxftool/Main.cpp", 13, "drawing/cad/CadModel.h"},               // through the library
        {"dxftool/Main.cpp", 14, "QWidget", false},                       // Widgets, too, is Gui
        {"dxftool/Main.cpp", 15, "drawingwindow/Scene.h"},                // upwards
    };
    EXPECT_EQ(includeViolations(map, includes, widgets),
              (std::vector<std::string>{
                  "drawing/tags/TagReader.cpp:4 includes drawing/model/Drawing.h: drawing/tags "
                  "may include nothing of src/",
                  "drawing/model/Drawing.cpp:5 includes drawing/cad/CadModel.h: drawing/model may "
                  "include drawing/tags",
                  "drawing/model/Drawing.cpp:6 includes cadlink/CadError.h: drawing/model may "
                  "include drawing/tags",
                  "drawing/cad/CadModel.cpp:9 includes QColor: drawing/cad uses nothing of Qt but "
                  "Qt Core",
                  "drawing/tags/CodePage.cpp:10 includes QString: drawing/tags stays clear of Qt",
                  "dxftool/Main.cpp:14 includes QWidget: dxftool uses nothing of Qt but Qt Core",
                  "dxftool/Main.cpp:15 includes drawingwindow/Scene.h: dxftool may include cadlink "
                  "drawing",
              }));
}

TEST_F(InnerFolderRulesTest, InnerFoldersAreNoLibrariesButKeepToTheirLibrarysLinks) {
    std::map<std::string, LinkedFolder> links;
    links["platform"] = {{}, {}};
    links["cadlink"] = {{"platform"}, {}};
    links["com"] = {{"cadlink", "platform"}, {}};
    links["texttab"] = {{"cadlink", "platform"}, {"Widgets"}};
    links["drawing"] = {{"cadlink", "platform"}, {"Core", "Gui"}};
    links["drawingwindow"] = {{"drawing", "platform"}, {"Core", "Gui", "Widgets"}};
    links["dxftool"] = {{"drawing", "cadlink"}, {"Core"}};
    EXPECT_EQ(linkViolations(map, links),
              (std::vector<std::string>{
                  "kalvex_drawing links Qt Gui or Widgets but the map keeps it to Qt Core"}));

    const fs::path file = fs::temp_directory_path() / "kalvex-inner-layers-test.txt";
    std::ofstream(file) << "platform:\ncadlink: platform\ndrawing: platform\n"
                           "drawing/cad: cadlink\n";
    try {
        readLayerMap(file);
        FAIL() << "an inner folder used a library its library does not use";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), file.string() + ": drawing/cad uses cadlink, which its "
                                                         "library drawing does not use");
    }
    fs::remove(file);
}

TEST_F(LayerMapRulesTest, LinksMustMatchTheMapAndLeaveQtTestToTests) {
    std::map<std::string, LinkedFolder> links;
    links["platform"] = {{}, {"Widgets", "Test"}};
    links["cadlink"] = {{"platform", "texttab"}, {"Core"}};
    links["com"] = {{"cadlink", "platform"}, {"Core"}};
    const auto violations = linkViolations(map, links);
    EXPECT_EQ(violations,
              (std::vector<std::string>{
                  "kalvex_cadlink links platform texttab but the map lets it use platform",
                  "kalvex_com links Qt but the map keeps it clear of Qt",
                  "kalvex_platform links Qt6::Test, which only tests may link",
                  "the map lists texttab, which CMake does not build",
              }));
}

TEST(LayerMapFileTest, AMalformedLineIsNamed) {
    const fs::path file = fs::temp_directory_path() / "kalvex-layers-test.txt";
    std::ofstream(file) << "# map\nplatform:\ncadlink platform\n";
    try {
        readLayerMap(file);
        FAIL() << "a line without a colon was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), file.string() + ":3: no \"folder:\" at the start");
    }
    std::ofstream(file) << "cadlink: platform\n";
    EXPECT_THROW(readLayerMap(file), std::runtime_error) << "a use of an unlisted folder";
    fs::remove(file);
}

// The program compiles for Windows too (scripts/windows-qt.sh), which nothing on Linux builds:
// the POSIX-only headers stay in the non-Windows halves of the files that have a Win32 half
// (`Name.cpp` beside `Win32Name.cpp`, or `Posix*`/`Iconv*`) or behind a check of the system,
// and `M_PI`, which MinGW's headers do not define in strict C++, is not used at all.
TEST(PortabilityTest, PosixOnlyCodeStaysInTheNonWindowsHalves) {
    const std::regex posixHeader(
        R"(^\s*#\s*include\s*<(unistd|fcntl|iconv|signal|dirent|pwd|sys/\w+)\.h>)");
    const std::regex systemCheck(R"(^\s*#\s*if.*(__linux__|_WIN32|Q_OS_))");
    std::vector<std::string> faults;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSourceRoot)) {
        const fs::path& path = entry.path();
        if (path.extension() != ".cpp" && path.extension() != ".h")
            continue;
        ++files;
        const std::string name = path.filename().string();
        const bool nonWindowsHalf = name.starts_with("Posix") || name.starts_with("Iconv") ||
                                    fs::exists(path.parent_path() / ("Win32" + name));
        std::ifstream in(path);
        int conditionals = 0;
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            const std::string where =
                fs::relative(path, kSourceRoot).string() + ":" + std::to_string(number);
            if (std::regex_search(line, systemCheck))
                ++conditionals;
            if (std::regex_search(line, posixHeader) && !nonWindowsHalf && conditionals == 0)
                faults.push_back(where + ": " + line);
            if (line.find("M_PI") != std::string::npos)
                faults.push_back(where + ": M_PI (use std::numbers::pi)");
        }
    }
    ASSERT_GT(files, 100) << "the source tree was not found at " << kSourceRoot;
    EXPECT_TRUE(faults.empty()) << "code that does not compile for Windows:" << listed(faults);
}

} // namespace
} // namespace kalvex::layering
