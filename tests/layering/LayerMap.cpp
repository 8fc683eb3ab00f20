#include "layering/LayerMap.h"

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace kalvex::layering {

namespace {

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "folder: left | right" split into its three parts; false for a blank or comment line.
struct MapLine {
    std::string folder;
    std::string left;
    std::string right;
};

bool splitLine(const std::string& raw, MapLine& out) {
    const std::string line = trimmed(raw.substr(0, raw.find('#')));
    if (line.empty())
        return false;
    const auto colon = line.find(':');
    if (colon == std::string::npos || trimmed(line.substr(0, colon)).empty())
        throw std::runtime_error("no \"folder:\" at the start");
    out.folder = trimmed(line.substr(0, colon));
    const std::string rest = line.substr(colon + 1);
    const auto bar = rest.find('|');
    out.left = rest.substr(0, bar);
    out.right = bar == std::string::npos ? std::string() : rest.substr(bar + 1);
    return true;
}

template <typename Handle> void readLines(const std::filesystem::path& path, Handle handle) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error(path.string() + ": cannot be read");
    int number = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++number;
        try {
            MapLine line;
            if (splitLine(raw, line))
                handle(line);
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(path.string() + ":" + std::to_string(number) + ": " +
                                     e.what());
        }
    }
}

std::string joined(const std::set<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : " ") + item;
    return text.empty() ? "nothing of src/" : text;
}

bool isSource(const std::filesystem::path& path) {
    const std::string ext = path.extension().string();
    return ext == ".h" || ext == ".cpp";
}

std::string topLevelOf(const std::string& folder) {
    return folder.substr(0, folder.find('/'));
}

bool isInnerFolder(const std::string& folder) {
    return folder.find('/') != std::string::npos;
}

bool isQtHeader(const Include& include) {
    return !include.quoted && include.target.rfind('Q', 0) == 0;
}

bool isModuleHeader(const Include& include, const std::string& module,
                    const std::set<std::string>& moduleHeaders) {
    if (include.quoted)
        return false;
    if (include.target.rfind(module + "/", 0) == 0 || include.target == module)
        return true;
    return moduleHeaders.count(include.target) > 0;
}

// What a folder may not include of Qt, as the message says it; empty when the include is fine.
std::string qtBreach(QtUse qt, const Include& include, const QtHeaders& headers) {
    if (qt == QtUse::WithoutQt && isQtHeader(include))
        return "stays clear of Qt";
    const bool widget = isModuleHeader(include, "QtWidgets", headers.widgets);
    if (qt == QtUse::WithoutWidgets && widget)
        return "stays clear of Qt Widgets";
    if (qt == QtUse::WithoutGui && (widget || isModuleHeader(include, "QtGui", headers.gui)))
        return "uses nothing of Qt but Qt Core";
    return {};
}

// An include from one folder of the map into another is allowed when the first uses the second,
// or, across libraries, the library that holds the second.
bool mayInclude(const FolderRule& rule, const std::string& from, const std::string& to) {
    if (to == from || rule.uses.count(to))
        return true;
    return topLevelOf(to) != topLevelOf(from) && rule.uses.count(topLevelOf(to));
}

using IncludesOf = std::map<std::string, std::vector<const Include*>>;

// The first Qt header reached from `file` through the quoted includes of src/, or empty.
std::string qtReachedFrom(const std::string& file, const IncludesOf& includesOf,
                          std::set<std::string>& seen) {
    if (!seen.insert(file).second)
        return {};
    const auto found = includesOf.find(file);
    if (found == includesOf.end())
        return {};
    for (const Include* include : found->second) {
        if (isQtHeader(*include))
            return include->target;
        if (!include->quoted)
            continue;
        if (std::string reached = qtReachedFrom(include->target, includesOf, seen);
            !reached.empty())
            return reached;
    }
    return {};
}

// A folder without Qt must not reach Qt through another folder's header either.
void addQtReachedIndirectly(const LayerMap& map, const std::vector<Include>& includes,
                            std::vector<std::string>& violations) {
    IncludesOf includesOf;
    for (const Include& include : includes)
        includesOf[include.file].push_back(&include);
    for (const Include& include : includes) {
        const std::string from = folderOf(map, include.file);
        const auto rule = map.find(from);
        if (rule == map.end() || rule->second.qt != QtUse::WithoutQt || !include.quoted ||
            folderOf(map, include.target) == from)
            continue;
        std::set<std::string> seen;
        const std::string qt = qtReachedFrom(include.target, includesOf, seen);
        if (!qt.empty())
            violations.push_back(include.file + ":" + std::to_string(include.line) + " includes " +
                                 include.target + ", which brings in " + qt + ": " + from +
                                 " stays clear of Qt");
    }
}

} // namespace

LayerMap readLayerMap(const std::filesystem::path& path) {
    LayerMap map;
    readLines(path, [&map](const MapLine& line) {
        if (map.count(line.folder))
            throw std::runtime_error("the folder " + line.folder + " is named twice");
        FolderRule rule;
        for (const std::string& used : words(line.left))
            rule.uses.insert(used);
        const std::string condition = trimmed(line.right);
        if (condition == "without QtWidgets")
            rule.qt = QtUse::WithoutWidgets;
        else if (condition == "without QtGui")
            rule.qt = QtUse::WithoutGui;
        else if (condition == "without Qt")
            rule.qt = QtUse::WithoutQt;
        else if (!condition.empty())
            throw std::runtime_error("unknown condition \"" + condition + "\"");
        map[line.folder] = rule;
    });
    for (const auto& [folder, rule] : map)
        for (const std::string& used : rule.uses) {
            if (!map.count(used))
                throw std::runtime_error(path.string() + ": " + folder + " uses " + used +
                                         ", which the map does not list");
            const std::string library = topLevelOf(folder);
            if (isInnerFolder(folder) && topLevelOf(used) != library &&
                (!map.count(library) || !map.at(library).uses.count(topLevelOf(used))))
                throw std::runtime_error(path.string() + ": " + folder + " uses " + used +
                                         ", which its library " + library + " does not use");
        }
    return map;
}

std::map<std::string, LinkedFolder> readLinkGraph(const std::filesystem::path& path) {
    std::map<std::string, LinkedFolder> graph;
    readLines(path, [&graph](const MapLine& line) {
        LinkedFolder& folder = graph[line.folder];
        for (const std::string& used : words(line.left))
            folder.uses.insert(used);
        for (const std::string& module : words(line.right))
            folder.qtModules.insert(module);
    });
    return graph;
}

std::vector<Include> collectIncludes(const std::filesystem::path& srcRoot) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> includes;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(srcRoot)) {
        if (!entry.is_regular_file() || !isSource(entry.path()))
            continue;
        const std::string file = std::filesystem::relative(entry.path(), srcRoot).generic_string();
        std::ifstream in(entry.path());
        int number = 0;
        for (std::string raw; std::getline(in, raw);) {
            ++number;
            std::smatch match;
            if (std::regex_search(raw, match, includeLine))
                includes.push_back({file, number, match[2].str(), match[1].str() == "\""});
        }
    }
    return includes;
}

std::string folderOf(const LayerMap& map, const std::string& relativeFile) {
    for (auto slash = relativeFile.rfind('/'); slash != std::string::npos && slash > 0;
         slash = relativeFile.rfind('/', slash - 1)) {
        const std::string folder = relativeFile.substr(0, slash);
        if (map.count(folder) || !isInnerFolder(folder))
            return folder;
    }
    return topLevelOf(relativeFile);
}

std::vector<std::string> includeViolations(const LayerMap& map,
                                           const std::vector<Include>& includes,
                                           const QtHeaders& qtHeaders) {
    std::vector<std::string> violations;
    for (const Include& include : includes) {
        const std::string from = folderOf(map, include.file);
        const std::string where = include.file + ":" + std::to_string(include.line) + " includes " +
                                  include.target + ": ";
        const auto rule = map.find(from);
        if (rule == map.end()) {
            violations.push_back(where + "the folder " + from + " is not on the map");
            continue;
        }
        if (const std::string breach = qtBreach(rule->second.qt, include, qtHeaders);
            !breach.empty()) {
            violations.push_back(where + from + " " + breach);
            continue;
        }
        if (!include.quoted)
            continue;
        if (include.target.find('/') == std::string::npos) {
            violations.push_back(where + "name the folder, as in \"" + from + "/" + include.target +
                                 "\"");
            continue;
        }
        const std::string to = folderOf(map, include.target);
        if (!mayInclude(rule->second, from, to))
            violations.push_back(where + from + " may include " + joined(rule->second.uses));
    }
    addQtReachedIndirectly(map, includes, violations);
    return violations;
}

std::vector<std::string> linkViolations(const LayerMap& map,
                                        const std::map<std::string, LinkedFolder>& links) {
    std::vector<std::string> violations;
    for (const auto& [folder, linked] : links) {
        if (linked.qtModules.count("Test"))
            violations.push_back("kalvex_" + folder +
                                 " links Qt6::Test, which only tests may link");
        const auto rule = map.find(folder);
        if (rule == map.end()) {
            violations.push_back("kalvex_" + folder + " is built but not on the map");
            continue;
        }
        if (rule->second.qt == QtUse::WithoutQt && !linked.qtModules.empty())
            violations.push_back("kalvex_" + folder + " links Qt but the map keeps it clear of Qt");
        if (rule->second.qt == QtUse::WithoutGui &&
            (linked.qtModules.count("Gui") || linked.qtModules.count("Widgets")))
            violations.push_back("kalvex_" + folder +
                                 " links Qt Gui or Widgets but the map keeps it to Qt Core");
        if (linked.uses != rule->second.uses)
            violations.push_back("kalvex_" + folder + " links " + joined(linked.uses) +
                                 " but the map lets it use " + joined(rule->second.uses));
    }
    for (const auto& [folder, rule] : map)
        if (!isInnerFolder(folder) && !links.count(folder))
            violations.push_back("the map lists " + folder + ", which CMake does not build");
    return violations;
}

} // namespace kalvex::layering
