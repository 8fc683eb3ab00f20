#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "TabsFixture.h"
#include "cadlink/HandOff.h"
#include "com/ComRef.h"
#include "operations/SourceDrawing.h"
#include "operations/texttab/TextFetch.h"
#include "operations/texttab/TextUpdate.h"

namespace kalvex {
namespace {

std::string temporaryFile(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::wstring wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string contentsOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The fake CAD as the tool meets the real one: a local server in a process of its own, found
// through the class registration, and driven from outside through its control program.
using OutOfProcess = TabsTest;

TEST_F(OutOfProcess, TheApplicationObjectLivesInTheFakesProcessBehindAProxy) {
    DWORD windowProcess = 0;
    GetWindowThreadProcessId(server.mainWindow(), &windowProcess);
    EXPECT_EQ(windowProcess, server.processId());
    EXPECT_NE(windowProcess, GetCurrentProcessId());

    com::ComRef<IUnknown> application;
    ASSERT_EQ(CoCreateInstance(
                  com::kApplicationClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                  com::kApplicationInterface, reinterpret_cast<void**>(application.put())),
              S_OK);
    com::ComRef<IClientSecurity> proxy;
    EXPECT_EQ(
        application->QueryInterface(IID_IClientSecurity, reinterpret_cast<void**>(proxy.put())),
        S_OK)
        << "only a proxy to another apartment offers IClientSecurity";
    EXPECT_EQ(server.log().applicationsCreated(), 1);
    EXPECT_EQ(server.log().liveObjects(), 1);
}

TEST_F(OutOfProcess, TheControlProgramLoadsADrawingPlaysAPickAndDumpsTheStrings) {
    const std::string drawingFile = temporaryFile("kalvex-fake-drawing.txt");
    const std::string dumpFile = temporaryFile("kalvex-fake-dump.txt");
    std::remove(dumpFile.c_str());
    std::ofstream(drawingFile, std::ios::binary) << "# two TEXTs and a locked layer\n"
                                                    "layer\t旧\t1\n"
                                                    "text\t配管 A\t0\t20\n"
                                                    "text\tB\\tC\t0\t10\t旧\n";
    ASSERT_EQ(fake::runFakeProgram(L"--ctl load " + wide(drawingFile)), 0u);
    EXPECT_EQ(fake::runFakeProgram(L"--ctl no-such-command"), 1u) << "an error ends with 1";
    const std::vector<fake::Words> loaded = fake::command({"dump"});
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[1], (fake::Words{loaded[1][0], "text", "旧", "B\tC"}));
    ASSERT_EQ(fake::runFakeProgram(L"--ctl pick " + wide(loaded[1][0]) + L" " + wide(loaded[0][0])),
              0u);

    {
        CadSession session(link, CadOperation::Fetch);
        ASSERT_TRUE(session.connected());
        FetchTexts(*session.document(), waiter, FetchOrder::AsPicked, window, records);
        session.finish();
    }
    ASSERT_EQ(records.textRecords.size(), 1u) << "the TEXT on the locked layer is left out";
    const TextLines lines{{"配管 B"}, 0.0, -10.0, EditorContent::Texts};
    writeToSourceDrawing(link, CadOperation::TextUpdate, records.textSource, window,
                         [&](cad::Document& document) {
                             UpdateTexts(document, records.textRecords, lines, window);
                         });

    ASSERT_EQ(fake::runFakeProgram(L"--ctl dump " + wide(dumpFile)), 0u);
    EXPECT_EQ(contentsOf(dumpFile),
              loaded[0][0] + "\ttext\t0\t配管 B\n" + loaded[1][0] + "\ttext\t旧\tB\\tC\n");
    std::remove(drawingFile.c_str());
    std::remove(dumpFile.c_str());
}

TEST_F(OutOfProcess, APickPlayedWhileTheCadWaitsForTheUserEndsTheSelection) {
    const std::string a = drawing().addText("A", {0, 10, 0});
    const std::string b = drawing().addText("B", {0, 0, 0});
    fake::command({"pick-wait", "10000"});
    // The user picks half a second after the selection started, through the control channel.
    std::thread user([b, a] {
        Sleep(500);
        fake::sendRequest({"pick", b, a});
    });
    FetchResult fetched = FetchResult::NothingPicked;
    {
        CadSession session(link, CadOperation::Fetch);
        EXPECT_TRUE(session.connected());
        if (session.connected())
            fetched =
                FetchTexts(*session.document(), waiter, FetchOrder::AsPicked, window, records);
        session.finish();
    }
    user.join();
    EXPECT_EQ(fetched, FetchResult::Fetched);
    ASSERT_EQ(records.textRecords.size(), 2u);
    EXPECT_EQ(records.textRecords[0].sHnd, b);
}

TEST_F(OutOfProcess, ComStartsTheFakeFromItsRegistrationWhenNoneRuns) {
    const DWORD first = server.processId();
    server.stop();
    ASSERT_EQ(FindWindowW(nullptr, L"nanoCAD 5"), nullptr);
    HANDLE started = nullptr;
    {
        com::ComRef<IDispatch> application;
        ASSERT_EQ(CoCreateInstance(com::kApplicationClass, nullptr, CLSCTX_LOCAL_SERVER,
                                   IID_IDispatch, reinterpret_cast<void**>(application.put())),
                  S_OK);
        HWND window = FindWindowW(nullptr, L"nanoCAD 5");
        ASSERT_NE(window, nullptr) << "COM started the registered program";
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        EXPECT_NE(process, first);
        started = OpenProcess(SYNCHRONIZE, FALSE, process);
        EXPECT_EQ(server.log().applicationsCreated(), 1) << "the new fake answers its channel";
    }
    fake::sendRequest({"quit"});
    EXPECT_EQ(WaitForSingleObject(started, 10000), WAIT_OBJECT_0);
    CloseHandle(started);
}

} // namespace
} // namespace kalvex
