#include <gtest/gtest.h>

#include <thread>

#include "TabsFixture.h"
#include "cadlink/HandOff.h"
#include "cadlink/MessageFilter.h"
#include "com/ComCadLink.h"
#include "operations/SourceDrawing.h"
#include "operations/texttab/TextFetch.h"
#include "operations/texttab/TextUpdate.h"

namespace kalvex {
namespace {

// The program's own link to the CAD, as main makes it on Windows, with the main window's
// message filter installed as the window installs it, against the fake CAD.
class ProgramCad : public InProcessTabsTest {
protected:
    void SetUp() override {
        InProcessTabsTest::SetUp();
        program = com::openComCadLink();
        program->link().toolWindow = reinterpret_cast<WindowHandle>(tool);
        filter.RegisterFilter();
    }
    void TearDown() override {
        filter.RevokeFilter();
        program.reset();
        InProcessTabsTest::TearDown();
    }
    CadLink& programLink() { return program->link(); }

    std::unique_ptr<com::ComCadLink> program;
    TMessageFilter filter;
};

// The filter COM asks about calls into a busy CAD, put back at once.
bool comHasAFilter() {
    ::IMessageFilter* registered = nullptr;
    if (FAILED(CoRegisterMessageFilter(nullptr, &registered)))
        return false;
    ::IMessageFilter* none = nullptr;
    CoRegisterMessageFilter(registered, &none);
    if (registered)
        registered->Release();
    return registered != nullptr;
}

TEST_F(ProgramCad, FindsTheCadHandsTheForegroundOverAndBackAndFetchesAndUpdates) {
    EXPECT_TRUE(comHasAFilter()) << "the main window's filter is registered with COM";
    ShowWindow(server.mainWindow(), SW_MINIMIZE);
    const std::string a = drawing().addText("A", {0, 20, 0});
    const std::string b = drawing().addText("B", {0, 10, 0});
    drawing().queuePick({b, a});
    {
        CadSession session(programLink(), CadOperation::Fetch);
        ASSERT_TRUE(session.connected()) << "the window titled \"nanoCAD 5\" is found";
        EXPECT_FALSE(IsIconic(server.mainWindow()));
        EXPECT_TRUE(waitFor([this] { return server.cad().escapes > 0; }));
        EXPECT_EQ(FetchTexts(*session.document(), programLink().waiter, FetchOrder::ByPosition,
                             window, records),
                  FetchResult::Fetched);
        session.finish();
    }
    EXPECT_TRUE(server.cad().toolMinimisedWhilePicking);
    EXPECT_TRUE(server.cad().cadInFrontWhilePicking);
    EXPECT_FALSE(IsIconic(tool));
    expectToolInFront();
    ASSERT_EQ(records.textRecords.size(), 2u);
    EXPECT_EQ(records.textRecords[0].sHnd, a);

    const TextLines lines{{"A2", "B2"}, 0.0, -10.0, EditorContent::Texts};
    EXPECT_EQ(writeToSourceDrawing(programLink(), CadOperation::TextUpdate, records.textSource,
                                   window,
                                   [&](cad::Document& document) {
                                       UpdateTexts(document, records.textRecords, lines, window);
                                   }),
              WriteBack::Done);
    EXPECT_EQ(textOf(a), "A2");
    EXPECT_EQ(textOf(b), "B2");
    EXPECT_EQ(drawing().undoMarks, 1);
    EXPECT_TRUE(window.messages.empty());
}

// COM on a thread of its own: what the apartment answers while the link lives and after.
struct Apartments {
    HRESULT made = E_FAIL;
    HRESULT multiThreadedWhileHeld = E_FAIL;
    HRESULT multiThreadedAfter = E_FAIL;
};

enum class ComBefore { None, MultiThreaded };

Apartments apartmentsOnThread(ComBefore before) {
    Apartments seen;
    std::thread([&] {
        if (before == ComBefore::MultiThreaded)
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        auto program = com::openComCadLink();
        seen.made = program->apartment().result();
        seen.multiThreadedWhileHeld = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(seen.multiThreadedWhileHeld))
            CoUninitialize();
        program.reset();
        seen.multiThreadedAfter = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(seen.multiThreadedAfter))
            CoUninitialize();
        if (before == ComBefore::MultiThreaded)
            CoUninitialize();
    }).join();
    return seen;
}

TEST(ProgramApartment, TheLinkRunsComSingleThreadedAndLeavesItAsItFoundIt) {
    const Apartments fresh = apartmentsOnThread(ComBefore::None);
    EXPECT_EQ(fresh.made, S_OK);
    EXPECT_EQ(fresh.multiThreadedWhileHeld, RPC_E_CHANGED_MODE) << "a single-threaded apartment";
    EXPECT_EQ(fresh.multiThreadedAfter, S_OK) << "COM was left with the link";

    const Apartments multi = apartmentsOnThread(ComBefore::MultiThreaded);
    EXPECT_EQ(multi.made, RPC_E_CHANGED_MODE);
    EXPECT_EQ(multi.multiThreadedAfter, S_FALSE) << "the thread's own COM stays";

    // The tests' thread runs COM single-threaded already, as a GUI toolkit's thread may.
    {
        auto program = com::openComCadLink();
        EXPECT_EQ(program->apartment().result(), S_FALSE);
    }
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE)
        << "the thread's own apartment stays";
}

} // namespace
} // namespace kalvex
