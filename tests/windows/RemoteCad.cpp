#include "RemoteCad.h"

#include <cstdio>
#include <map>
#include <stdexcept>

namespace kalvex::fake {

namespace {

std::map<std::string, Words> rowsByName(const std::vector<Words>& rows) {
    std::map<std::string, Words> named;
    for (const Words& row : rows)
        named[row[0]] = row;
    return named;
}

Kind kindOf(const std::string& name) {
    return name == "insert"      ? Kind::Insert
           : name == "attribute" ? Kind::Attribute
           : name == "line"      ? Kind::Line
                                 : Kind::Text;
}

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

PROCESS_INFORMATION startProcess(const std::wstring& arguments) {
    std::wstring line = L"\"" + RemoteCad::programPath() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return {};
    return process;
}

} // namespace

std::vector<Words> command(const Words& words) {
    const Reply reply = sendRequest(words);
    if (!reply.ok)
        throw std::runtime_error("the fake CAD refused \"" + joinWords(words) +
                                 "\": " + reply.message);
    return reply.rows;
}

std::string RemoteDrawing::addText(const std::string& text, const Point& at,
                                   const std::string& layer) {
    return command({"text", text, numberText(at.x), numberText(at.y), layer}).at(0).at(0);
}

std::string
RemoteDrawing::addInsert(const std::string& block, const Point& at,
                         const std::vector<std::pair<std::string, std::string>>& attributes,
                         const std::string& layer) {
    Words words{"insert", block, numberText(at.x), numberText(at.y), layer};
    for (const auto& [tag, value] : attributes) {
        words.push_back(tag);
        words.push_back(value);
    }
    return command(words).at(0).at(0);
}

void RemoteDrawing::setLayerLock(const std::string& name, bool locked) {
    command({"layer", name, locked ? "1" : "0"});
}

void RemoteDrawing::addBlock(const Block& block) {
    Words words{"block", block.name};
    for (const BlockItem& item : block.items)
        words.insert(words.end(), {item.entityName, item.tag, item.prompt});
    command(words);
}

void RemoteDrawing::queuePick(const std::vector<std::string>& handles) {
    Words words{"pick"};
    words.insert(words.end(), handles.begin(), handles.end());
    command(words);
}

void RemoteDrawing::erase(const std::string& handle) {
    command({"erase", handle});
}

bool RemoteDrawing::has(const std::string& handle) {
    return command({"has", handle}).at(0).at(0) == "1";
}

Entity RemoteDrawing::at(const std::string& handle) {
    auto rows = rowsByName(command({"entity", handle}));
    Entity entity;
    entity.handle = rows["handle"].at(1);
    entity.kind = kindOf(rows["kind"].at(1));
    entity.layer = rows["layer"].at(1);
    entity.text = rows["text"].at(1);
    entity.tag = rows["tag"].at(1);
    entity.alignment = std::stoi(rows["alignment"].at(1));
    entity.insertion = pointOf(rows["insertion"]);
    entity.alignmentPoint = pointOf(rows["alignmentPoint"]);
    entity.pointIsArray = rows["pointIsArray"].at(1) == "1";
    entity.blockName = rows["block"].at(1);
    entity.attributes.assign(rows["attributes"].begin() + 1, rows["attributes"].end());
    entity.objectId = std::stoll(rows["objectId"].at(1));
    entity.erased = rows["erased"].at(1) == "1";
    entity.updates = std::stoi(rows["updates"].at(1));
    return entity;
}

std::vector<SelectionSet> RemoteDrawing::selectionSets() {
    std::vector<SelectionSet> sets;
    for (const Words& row : command({"sets"}))
        sets.push_back({row.at(0), Words(row.begin() + 1, row.end())});
    return sets;
}

Filter RemoteDrawing::lastFilter() {
    Filter filter;
    for (const Words& row : command({"filter"})) {
        filter.codes.push_back(static_cast<std::int16_t>(std::stoi(row.at(0))));
        filter.values.push_back(row.at(1));
    }
    return filter;
}

Point RemoteDrawing::pointOf(const Words& row) {
    return {numberOf(row.at(1)), numberOf(row.at(2)), numberOf(row.at(3))};
}

Words RemoteDrawing::viewRow(const std::string& name) {
    return rowsByName(command({"view"})).at(name);
}

std::vector<std::string> RemoteLog::calls() {
    std::vector<std::string> names;
    for (const Words& row : command({"calls"}))
        names.push_back(row.at(0));
    return names;
}

std::set<std::string> RemoteLog::unservedMembers() {
    std::set<std::string> names;
    for (const Words& row : command({"unserved"}))
        names.insert(row.at(0));
    return names;
}

int RemoteLog::counter(const std::string& name) {
    return std::stoi(rowsByName(command({"log"})).at(name).at(1));
}

std::wstring RemoteCad::programPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"fake_nanocad.exe";
}

RemoteCad::RemoteCad() {
    if (!registerLocalServer(programPath())) {
        m_startError = "the class's local server could not be registered";
        return;
    }
    m_process = startProcess(L"");
    if (!m_process.hProcess) {
        m_startError = "fake_nanocad.exe could not be started";
        return;
    }
    const Reply reply = sendRequest({"window"}, 15000);
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0)
        m_startError = "fake_nanocad.exe ended at once (another fake CAD runs?)";
    else if (!reply.ok)
        m_startError = reply.message;
}

RemoteCad::~RemoteCad() {
    stop();
    unregisterLocalServer();
}

void RemoteCad::stop() {
    if (!m_process.hProcess)
        return;
    sendRequest({"quit"}, 2000);
    if (WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(m_process.hProcess, 1);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
    m_process = {};
}

HWND RemoteCad::mainWindow() const {
    return reinterpret_cast<HWND>(std::stoll(command({"window"}).at(0).at(0)));
}

void RemoteCad::setToolWindow(HWND tool) {
    command({"tool", std::to_string(reinterpret_cast<std::intptr_t>(tool))});
}

DWORD runFakeProgram(const std::wstring& arguments) {
    PROCESS_INFORMATION process = startProcess(arguments);
    if (!process.hProcess)
        return DWORD(-1);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

} // namespace kalvex::fake
