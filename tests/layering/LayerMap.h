#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kalvex::layering {

// How much of Qt a folder may use: any of it, all but the Widgets module, or none at all.
enum class QtUse { Any, WithoutWidgets, WithoutQt };

// What one folder of src/ may include, and how much of Qt.
struct FolderRule {
    std::set<std::string> uses;
    QtUse qt = QtUse::Any;
};

using LayerMap = std::map<std::string, FolderRule>;

// One `#include` of a source file: the file, its line and what it names.
struct Include {
    std::string file;
    int line = 0;
    std::string target;
    bool quoted = true; // "…" rather than <…>
};

// Reads the map ("folder: a b c | without QtWidgets" or "| without Qt", # comments). A line it
// cannot read throws std::runtime_error naming the line.
LayerMap readLayerMap(const std::filesystem::path& path);

// Reads the link graph CMake writes ("folder: a b | Qt modules").
struct LinkedFolder {
    std::set<std::string> uses;
    std::set<std::string> qtModules;
};
std::map<std::string, LinkedFolder> readLinkGraph(const std::filesystem::path& path);

// Every #include of every C++ file below `srcRoot`, file names relative to it.
std::vector<Include> collectIncludes(const std::filesystem::path& srcRoot);

// The includes the map forbids, one readable line each ("cadlink/Selection.cpp:7 includes
// widgets/StringGrid.h: cadlink may include platform"). `widgetHeaders` names the headers of the
// Qt Widgets module.
std::vector<std::string> includeViolations(const LayerMap& map,
                                           const std::vector<Include>& includes,
                                           const std::set<std::string>& widgetHeaders);

// Where CMake's links and the map disagree, product libraries that link Qt's test module and
// folders without Qt that link a Qt module.
std::vector<std::string> linkViolations(const LayerMap& map,
                                        const std::map<std::string, LinkedFolder>& links);

} // namespace kalvex::layering
