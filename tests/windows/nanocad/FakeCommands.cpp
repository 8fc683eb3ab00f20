#include "FakeCommands.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "platform/Utf16.h"

namespace kalvex::fake {

namespace {

struct Context {
    FakeCadServer& server;
    BusyFilter& filter;
    const Words& words;

    Drawing& drawing() const { return server.drawing(); }
    const std::string& word(std::size_t i) const {
        if (i >= words.size())
            throw Refusal(words[0] + ": too few words");
        return words[i];
    }
    double number(std::size_t i) const { return std::stod(word(i)); }
};

using Command = std::function<Reply(const Context&)>;

Reply ok(std::vector<Words> rows = {}) {
    return {true, "", std::move(rows)};
}

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

Words pointRow(const std::string& name, const Point& point) {
    return {name, numberText(point.x), numberText(point.y), numberText(point.z)};
}

std::string kindName(Kind kind) {
    switch (kind) {
    case Kind::Text:
        return "text";
    case Kind::Insert:
        return "insert";
    case Kind::Attribute:
        return "attribute";
    case Kind::Line:
        return "line";
    }
    return "";
}

std::vector<Words> entityRows(const Entity& entity) {
    Words attributes{"attributes"};
    attributes.insert(attributes.end(), entity.attributes.begin(), entity.attributes.end());
    return {{"handle", entity.handle},
            {"kind", kindName(entity.kind)},
            {"layer", entity.layer},
            {"text", entity.text},
            {"tag", entity.tag},
            {"alignment", std::to_string(entity.alignment)},
            pointRow("insertion", entity.insertion),
            pointRow("alignmentPoint", entity.alignmentPoint),
            {"pointIsArray", entity.pointIsArray ? "1" : "0"},
            {"block", entity.blockName},
            attributes,
            {"objectId", std::to_string(entity.objectId)},
            {"erased", entity.erased ? "1" : "0"},
            {"updates", std::to_string(entity.updates)}};
}

Reply addText(const Context& c) {
    const std::string layer = c.words.size() > 4 ? c.word(4) : "0";
    return ok({{c.drawing().addText(c.word(1), {c.number(2), c.number(3), 0}, layer)}});
}

Reply addInsert(const Context& c) {
    std::vector<std::pair<std::string, std::string>> attributes;
    for (std::size_t i = 5; i + 1 < c.words.size(); i += 2)
        attributes.emplace_back(c.words[i], c.words[i + 1]);
    return ok(
        {{c.drawing().addInsert(c.word(1), {c.number(2), c.number(3), 0}, attributes, c.word(4))}});
}

Reply setLayer(const Context& c) {
    const bool locked = c.word(2) == "1";
    for (Layer& layer : c.drawing().layers())
        if (layer.name == c.word(1)) {
            layer.locked = locked;
            return ok();
        }
    c.drawing().addLayer(c.word(1), locked);
    return ok();
}

Reply addBlock(const Context& c) {
    Block block{c.word(1), {}};
    for (std::size_t i = 2; i + 2 < c.words.size(); i += 3)
        block.items.push_back({c.words[i], c.words[i + 1], c.words[i + 2]});
    c.drawing().addBlock(std::move(block));
    return ok();
}

Reply queuePick(const Context& c) {
    c.drawing().queuePick(Words(c.words.begin() + 1, c.words.end()));
    return ok();
}

Reply erase(const Context& c) {
    c.drawing().entity(c.word(1));
    c.drawing().erase(c.word(1));
    return ok();
}

Reply entity(const Context& c) {
    try {
        return ok(entityRows(c.drawing().at(c.word(1))));
    } catch (const std::out_of_range&) {
        throw Refusal("Unknown handle " + c.word(1) + ".");
    }
}

std::vector<Words> dumpRows(const Drawing& drawing) {
    std::vector<Words> rows;
    for (const std::string& handle : drawing.drawingOrder()) {
        const Entity& entity = drawing.at(handle);
        if (entity.erased)
            continue;
        if (entity.kind == Kind::Text)
            rows.push_back({handle, "text", entity.layer, entity.text});
        for (const std::string& attribute : entity.attributes) {
            const Entity& value = drawing.at(attribute);
            rows.push_back({attribute, "attribute", value.layer, value.text});
        }
    }
    return rows;
}

Reply dump(const Context& c) {
    std::vector<Words> rows = dumpRows(c.drawing());
    if (c.words.size() > 1) {
        std::ofstream file(c.word(1), std::ios::binary);
        for (const Words& row : rows)
            file << joinWords(row) << "\n";
        if (!file)
            throw Refusal("cannot write " + c.word(1));
    }
    return ok(std::move(rows));
}

Reply load(const Context& c) {
    std::ifstream file(c.word(1), std::ios::binary);
    if (!file)
        throw Refusal("cannot read " + c.word(1));
    std::vector<Words> added;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (line.empty() || line[0] == '#' || line == "\r")
            continue;
        const Reply reply = runCommand(c.server, c.filter, splitWords(line));
        if (!reply.ok)
            throw Refusal(c.word(1) + ":" + std::to_string(number) + ": " + reply.message);
        added.insert(added.end(), reply.rows.begin(), reply.rows.end());
    }
    return ok(std::move(added));
}

Reply view(const Context& c) {
    const Drawing& d = c.drawing();
    return ok({{"viewHeight", numberText(d.viewHeight)},
               pointRow("zoomLowerLeft", d.zoomLowerLeft),
               pointRow("zoomUpperRight", d.zoomUpperRight),
               {"zooms", std::to_string(d.zooms)},
               {"regens", std::to_string(d.regens)},
               {"undoMarks", std::to_string(d.undoMarks)}});
}

Reply sets(const Context& c) {
    std::vector<Words> rows;
    for (const SelectionSet& set : c.drawing().selectionSets()) {
        Words row{set.name};
        row.insert(row.end(), set.handles.begin(), set.handles.end());
        rows.push_back(row);
    }
    return ok(std::move(rows));
}

Reply lastFilter(const Context& c) {
    const Filter& filter = c.drawing().lastFilter();
    std::vector<Words> rows;
    for (std::size_t i = 0; i < filter.codes.size(); ++i)
        rows.push_back({std::to_string(filter.codes[i]), filter.values[i]});
    return ok(std::move(rows));
}

Reply log(const Context& c) {
    const ServerLog& log = c.server.log();
    const Cad& cad = c.server.cad();
    return ok(
        {{"liveObjects", std::to_string(log.liveObjects)},
         {"applicationsCreated", std::to_string(log.applicationsCreated)},
         {"nameLookups", std::to_string(log.nameLookups)},
         {"rejections", std::to_string(log.rejections)},
         {"escapes", std::to_string(cad.escapes)},
         {"toolMinimisedWhilePicking", cad.toolMinimisedWhilePicking ? "1" : "0"},
         {"cadInFrontWhilePicking", cad.cadInFrontWhilePicking ? "1" : "0"},
         {"toolInFrontAtLastConnect", cad.toolInFrontAtLastConnect ? "1" : "0"},
         {"foregroundAtLastConnect", toUtf8(std::u16string(cad.foregroundAtLastConnect.begin(),
                                                           cad.foregroundAtLastConnect.end()))},
         {"toolTopmostAtLastWrite", cad.toolTopmostAtLastWrite ? "1" : "0"}});
}

std::vector<Words> rowsOf(const auto& names) {
    std::vector<Words> rows;
    for (const std::string& name : names)
        rows.push_back({name});
    return rows;
}

Reply calls(const Context& c) {
    if (c.words.size() > 1 && c.word(1) == "clear")
        c.server.log().clearCalls();
    return ok(rowsOf(c.server.log().calls()));
}

Reply unserved(const Context& c) {
    if (c.words.size() > 1 && c.word(1) == "forget")
        c.server.log().forgetUnserved();
    return ok(rowsOf(c.server.log().unservedMembers()));
}

Reply tool(const Context& c) {
    c.server.cad().toolWindow = reinterpret_cast<HWND>(std::stoll(c.word(1)));
    return ok();
}

Reply toolTitle(const Context& c) {
    const std::u16string title = toUtf16(c.word(1));
    c.server.cad().toolTitle.assign(title.begin(), title.end());
    c.server.cad().toolWindow = nullptr;
    return ok();
}

Reply window(const Context& c) {
    HWND main = c.server.mainWindow();
    return ok({{std::to_string(IsWindow(main) ? reinterpret_cast<std::intptr_t>(main) : 0)}});
}

Reply close(const Context& c) {
    DestroyWindow(c.server.mainWindow());
    return ok();
}

Reply turnAway(const Context& c) {
    const DWORD answer = c.word(0) == "busy" ? SERVERCALL_RETRYLATER : SERVERCALL_REJECTED;
    c.filter.turnAway(answer, std::stoi(c.word(1)), c.words.size() > 2 ? c.word(2) : "");
    return ok();
}

Reply pickWait(const Context& c) {
    c.server.cad().pickPatienceMs = std::stoi(c.word(1));
    return ok();
}

Reply busyInvoke(const Context& c) {
    c.server.log().busyCalls = std::stoi(c.word(1));
    return ok();
}

Reply questions(const Context& c) {
    return ok(rowsOf(c.filter.questions()));
}

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table{
        {"text", addText},
        {"insert", addInsert},
        {"layer", setLayer},
        {"block", addBlock},
        {"pick", queuePick},
        {"erase", erase},
        {"has", [](const Context& c) { return ok({{c.drawing().has(c.word(1)) ? "1" : "0"}}); }},
        {"entity", entity},
        {"dump", dump},
        {"load", load},
        {"view", view},
        {"sets", sets},
        {"filter", lastFilter},
        {"log", log},
        {"calls", calls},
        {"unserved", unserved},
        {"tool", tool},
        {"tool-title", toolTitle},
        {"window", window},
        {"close", close},
        {"busy", turnAway},
        {"reject", turnAway},
        {"busy-invoke", busyInvoke},
        {"pick-wait", pickWait},
        {"questions", questions}};
    return table;
}

} // namespace

Reply runCommand(FakeCadServer& server, BusyFilter& filter, const Words& words) {
    const auto found = commands().find(words.empty() ? "" : words[0]);
    if (found == commands().end())
        return {false, "unknown command " + (words.empty() ? "" : words[0]), {}};
    try {
        return found->second(Context{server, filter, words});
    } catch (const std::exception& error) {
        return {false, words[0] + ": " + error.what(), {}};
    }
}

} // namespace kalvex::fake
