#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "FakeControl.h"
#include "FakeDrawing.h"

namespace kalvex::fake {

// Sends a command to the fake CAD's process and hands back the rows of its reply; an error
// reply throws std::runtime_error with the fake's words.
std::vector<Words> command(const Words& words);

// The drawing of the fake CAD in its own process, read and changed through its control channel.
// What the in-process fake offers as fields comes back here as values read at the call.
class RemoteDrawing {
public:
    std::string addText(const std::string& text, const Point& at, const std::string& layer = "0");
    std::string addInsert(const std::string& block, const Point& at,
                          const std::vector<std::pair<std::string, std::string>>& attributes,
                          const std::string& layer = "0");
    void addLayer(const std::string& name, bool locked) { setLayerLock(name, locked); }
    void setLayerLock(const std::string& name, bool locked);
    void addBlock(const Block& block);
    void queuePick(const std::vector<std::string>& handles);
    void erase(const std::string& handle);

    bool has(const std::string& handle);
    Entity at(const std::string& handle);
    std::vector<SelectionSet> selectionSets();
    Filter lastFilter();
    double viewHeight() { return numberOf(viewRow("viewHeight")[1]); }
    Point zoomLowerLeft() { return pointOf(viewRow("zoomLowerLeft")); }
    Point zoomUpperRight() { return pointOf(viewRow("zoomUpperRight")); }
    int zooms() { return std::stoi(viewRow("zooms")[1]); }
    int regens() { return std::stoi(viewRow("regens")[1]); }
    int undoMarks() { return std::stoi(viewRow("undoMarks")[1]); }

private:
    static double numberOf(const std::string& text) { return std::stod(text); }
    static Point pointOf(const Words& row);
    static Words viewRow(const std::string& name);
};

class RemoteLog {
public:
    std::vector<std::string> calls();
    void clearCalls() { command({"calls", "clear"}); }
    std::set<std::string> unservedMembers();
    void forgetUnserved() { command({"unserved", "forget"}); }
    int liveObjects() { return counter("liveObjects"); }
    int applicationsCreated() { return counter("applicationsCreated"); }

private:
    static int counter(const std::string& name);
};

// fake_nanocad.exe, started beside the test program with its class registered as a local
// server for as long as this lives; the fake ends when this goes.
class RemoteCad {
public:
    RemoteCad();
    ~RemoteCad();
    RemoteCad(const RemoteCad&) = delete;
    RemoteCad& operator=(const RemoteCad&) = delete;

    // Empty when the fake runs and answers, or why not.
    const std::string& startError() const { return m_startError; }
    RemoteDrawing& drawing() { return m_drawing; }
    RemoteLog& log() { return m_log; }
    HWND mainWindow() const;
    void closeMainWindow() { command({"close"}); }
    void setToolWindow(HWND tool);
    DWORD processId() const { return m_process.dwProcessId; }
    // Ends the fake and waits for its process; the class stays registered.
    void stop();
    bool running() const { return m_process.hProcess != nullptr; }

    // The fake's program, in the test program's folder.
    static std::wstring programPath();

private:
    RemoteDrawing m_drawing;
    RemoteLog m_log;
    PROCESS_INFORMATION m_process{};
    std::string m_startError;
};

// Runs fake_nanocad.exe with these arguments as a script does, and waits for it to end; its
// exit code.
DWORD runFakeProgram(const std::wstring& arguments);

} // namespace kalvex::fake
