#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "layering/LayerMap.h"

namespace kalvex::layering {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = fs::path(KALVEX_SOURCE_DIR) / "src";
const fs::path kMapFile = fs::path(KALVEX_SOURCE_DIR) / "tests/layering/layers.txt";
const fs::path kLinkGraph = fs::path(KALVEX_BINARY_DIR) / "link-graph.txt";

std::set<std::string> widgetHeaders() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(KALVEX_QT_WIDGETS_INCLUDE))
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
    const std::set<std::string> widgets = widgetHeaders();
    ASSERT_TRUE(widgets.count("QWidget"))
        << "no Qt Widgets headers at " << KALVEX_QT_WIDGETS_INCLUDE;

    const auto violations = includeViolations(map, includes, widgets);
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
    std::set<std::string> widgets{"QWidget", "QDialog"};
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

} // namespace
} // namespace kalvex::layering
