#pragma once

#include <string>
#include <vector>

#include "BackendFixture.h"
#include "OutOfProcessFixture.h"
#include "cadlink/Records.h"
#include "operations/RunWindow.h"

namespace kalvex {

// The window of a tab as the operations see it, taking notes: the messages shown, the last
// progress text, and how the run flag was set and cleared. `abortAfter` items into a run the
// user presses the abort button.
class NotingWindow : public RunWindow {
public:
    void inform(const std::string& text) override { messages.push_back(text); }
    void warn(const std::string& text) override { messages.push_back(text); }
    void showProgress(const std::string& text) override { progress = text; }
    void runStarts() override {
        running = true;
        proceeded = 0;
    }
    void runEnds() override { running = false; }
    bool proceed() override;

    std::vector<std::string> messages;
    std::string progress;
    bool running = false;
    int proceeded = 0;
    int abortAfter = -1;
};

// The tabs' operations run through the COM backend against the fake CAD in its own process, with
// the records they share.
class TabsTest : public OutOfProcessTest {
protected:
    fake::RemoteDrawing& drawing() { return server.drawing(); }
    void lockLayer(const std::string& name) { drawing().setLayerLock(name, true); }
    void unlockLayer(const std::string& name) { drawing().setLayerLock(name, false); }
    // The stored string of an entity, also of one the CAD has erased.
    std::string textOf(const std::string& handle) { return drawing().at(handle).text; }

    NotingWindow window;
    EntityRecords records;
};

// The same operations against the fake CAD in a thread of the test program, for the tests that
// reach into the CAD's own state (its second drawing, what it saw while picking).
class InProcessTabsTest : public BackendTest {
protected:
    fake::Drawing& drawing() { return server.cad().drawing; }
    std::string textOf(const std::string& handle) { return drawing().at(handle).text; }

    NotingWindow window;
    EntityRecords records;
};

} // namespace kalvex
