#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kalvex::layering {

// How much of Qt a folder may use: any of it, all but the Widgets module, only Qt Core (neither
// Gui nor Widgets), or none at all.
enum class QtUse { Any, WithoutWidgets, WithoutGui, WithoutQt };

// What one folder of src/ may include, and how much of Qt. A folder is a top-level folder of
// src/ (one library) or an inner folder of one ("drawing/tags"), whose rule layers the library
// inside: its uses name inner folders of its own library and other libraries.
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

// Reads the map ("folder: a b c | without QtWidgets", "| without QtGui" or "| without Qt",
// # comments). A line it cannot read throws std::runtime_error naming the line; so does an inner
// folder that uses a library its own library does not.
LayerMap readLayerMap(const std::filesystem::path& path);

// Reads the link graph CMake writes ("folder: a b | Qt modules").
struct LinkedFolder {
    std::set<std::string> uses;
    std::set<std::string> qtModules;
};
std::map<std::string, LinkedFolder> readLinkGraph(const std::filesystem::path& path);

// Every #include of every C++ file below `srcRoot`, file names relative to it.
std::vector<Include> collectIncludes(const std::filesystem::path& srcRoot);

// The headers of the Qt modules a folder may be kept clear of.
struct QtHeaders {
    std::set<std::string> widgets;
    std::set<std::string> gui;
};

// The folder of the map a file of src/ belongs to: the deepest folder on the map that holds it,
// else its top-level folder.
std::string folderOf(const LayerMap& map, const std::string& relativeFile);

// The includes the map forbids, one readable line each ("cadlink/Selection.cpp:7 includes
// widgets/StringGrid.h: cadlink may include platform").
std::vector<std::string> includeViolations(const LayerMap& map,
                                           const std::vector<Include>& includes,
                                           const QtHeaders& qtHeaders);

// Where CMake's links and the map's top-level folders disagree, product libraries that link Qt's
// test module and folders without Qt that link a Qt module.
std::vector<std::string> linkViolations(const LayerMap& map,
                                        const std::map<std::string, LinkedFolder>& links);

} // namespace kalvex::layering
